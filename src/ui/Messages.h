// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Every message box of the game, in one table, and the seam that shows them:
// the game shows a modal QMessageBox, tests answer from a script.
#include <memory>
#include <span>
#include <vector>

#include <QPointer>
#include <QString>

class QMessageBox;
class QWidget;

namespace wd {

enum class MessageId {
    LevelCleared = 1,    // quiz screen: a level is cleared
    WrongNoScore = 2,    // quiz screen: wrong answer, no score at all (answer)
    WrongAnswer = 3,     // quiz screen: wrong answer with a score (answer)
    ConfirmLeave = 4,    // quiz screen: quit button
    TimeUpNoScore = 5,   // quiz clock: time out, no score at all (answer)
    TimeUpWithScore = 6, // quiz clock: time out with a score (answer)
    ConfirmQuit = 7,     // score-saving screen: quit
    ConfirmSaved = 8,    // score-saving screen: play again
    EnterUserId = 9,     // start screen: blank user id
    AskWhenExplode = 10, // explosion game: stop (the last: Messages.cpp has a row for each, in order)
};

enum class MessageButtons { Ok, OkCancel };
enum class MessageIcon { None, Information, Exclamation };
enum class Answer { Ok, Cancel };

struct MessageSpec {
    MessageId id;
    const char16_t* before;  // text before the answer (the whole text if none)
    bool withAnswer;         // the correct answer follows `before`
    const char16_t* after;   // text after the answer ("\r" starts a line)
    MessageButtons buttons;
    MessageIcon icon;
    bool confirmation;       // titled with the game's title, else the application's
};

std::span<const MessageSpec> AllMessages();
const MessageSpec& SpecOf(MessageId id);
// The text of a message; answer is inserted where the message takes one.
QString MessageText(MessageId id, const QString& answer = {});
QString MessageTitle(MessageId id);

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // Shows the message modally, over its owner's window when it has one, and
    // returns the button pressed; Escape or closing the box count as Cancel (as
    // OK where there is only OK). A box dismissed before it returns gives Cancel.
    virtual Answer Show(MessageId id, const QString& answer = {}, QWidget* owner = nullptr) = 0;
    // A plain notice outside the game's own messages: something the player must
    // know to go on (a missing question file, a page no browser could open). Its
    // text can be selected and copied. OK only, exclamation icon, application title.
    virtual void Notice(const QString& text, QWidget* owner = nullptr) = 0;
    // Closes the boxes that owner raised and whose Show or Notice has not
    // returned yet (every box for nullptr), as if answered Cancel, even where
    // the player has just pressed OK. Each returns once its own event loop is
    // left, that is after any handler running inside it has finished.
    virtual void Dismiss(const QWidget* owner) = 0;
    // A notice about a page no browser could open. The text shows the address
    // as the player may see it; a button puts the whole address on the
    // clipboard, to paste into a browser by hand.
    virtual void AddressNotice(const QString& text, const QString& address, QWidget* owner = nullptr) = 0;
};

// The game's message boxes: system boxes with the system's button texts,
// modal to the whole program, over their owner's window (or none).
class QtMessageBoxes final : public MessageBoxes {
public:
    Answer Show(MessageId id, const QString& answer = {}, QWidget* owner = nullptr) override;
    void Notice(const QString& text, QWidget* owner = nullptr) override;
    void Dismiss(const QWidget* owner) override;
    void AddressNotice(const QString& text, const QString& address, QWidget* owner = nullptr) override;
    // The box Show runs, ready but not shown.
    static std::unique_ptr<QMessageBox> Build(MessageId id, const QString& answer, QWidget* parent);

private:
    // Runs the box until it is answered or dismissed; the button pressed.
    int Run(std::unique_ptr<QMessageBox> box, const QWidget* owner);

    struct Open {
        QPointer<QMessageBox> box;
        const QWidget* owner;
    };
    std::vector<Open> open_;
};

} // namespace wd
