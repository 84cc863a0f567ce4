#pragma once
// Every message box of the game, in one table, and the seam that shows them:
// the game shows a modal QMessageBox, tests answer from a script.
#include <memory>
#include <span>

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
    AskWhenExplode = 10, // explosion game: stop
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
    // Shows the message modally and returns the button pressed; Escape or
    // closing the box count as Cancel (as OK where there is only OK).
    virtual Answer Show(MessageId id, const QString& answer = {}) = 0;
    // A plain notice outside the game's own messages: something the player must
    // know to go on (a missing question file, a page no browser could open). Its
    // text can be selected and copied. OK only, exclamation icon, application title.
    virtual void Notice(const QString& text) = 0;
    // A notice about a page no browser could open. The text shows the address
    // as the player may see it; a button puts the whole address on the
    // clipboard, to paste into a browser by hand.
    virtual void AddressNotice(const QString& text, const QString& address) = 0;
};

// The game's message boxes: system boxes with the system's button texts,
// modal to the whole program, over the active window.
class QtMessageBoxes final : public MessageBoxes {
public:
    Answer Show(MessageId id, const QString& answer = {}) override;
    void Notice(const QString& text) override;
    void AddressNotice(const QString& text, const QString& address) override;
    // The box Show runs, ready but not shown.
    static std::unique_ptr<QMessageBox> Build(MessageId id, const QString& answer, QWidget* parent);
};

} // namespace wd
