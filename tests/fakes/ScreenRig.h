// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Everything a screen needs, with fakes for every side effect: session state,
// a question bank (never opened unless a screen opens it), scripted random
// numbers, message boxes answered from a script, recorded page requests, and a
// program end that is only counted. Register the screens under test, then
// drive them.
#include <filesystem>
#include <functional>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QStringList>

#include "fakes/ScriptedRandom.h"
#include "game/Module1.h"
#include "game/QuestionBank.h"
#include "platform/UrlOpener.h"
#include "ui/Messages.h"
#include "ui/Screens.h"

namespace wd::test {

// Message boxes that show nothing: each message is recorded with its text and
// answered from a script (OK once the script is used up). `onShow` sees every
// message as it opens; `whileShown` runs as if inside the next box or notice,
// and is then cleared.
class FakeMessageBoxes final : public MessageBoxes {
public:
    Answer Show(MessageId id, const QString& answer = {}, QWidget* = nullptr) override
    {
        texts << MessageText(id, answer);
        if (onShow) onShow(id);
        Inside();
        return script_.isEmpty() ? Answer::Ok : script_.takeFirst();
    }
    void Notice(const QString& text, QWidget* = nullptr) override { notices << text; Inside(); }
    void AddressNotice(const QString& text, const QString& at, QWidget* = nullptr) override { copyable << at; Notice(text); }
    void Dismiss(const QWidget*) override {} // no box stays open
    void Script(Answer answer) { script_ << answer; }

    QStringList texts, notices;
    QStringList copyable; // the address each address notice copies
    std::function<void(MessageId)> onShow;
    std::function<void()> whileShown;

private:
    void Inside() { if (const auto inside = std::exchange(whileShown, nullptr)) inside(); }
    QList<Answer> script_;
};

// Records the addresses a screen asks to open and decides each launch: at once
// as opened, or, while `late` is set, only when the test calls Decide.
class FakeUrlOpener final : public UrlOpener {
public:
    void Open(const QString& address, Decided decided) override
    {
        opened << address;
        late ? waiting.push_back(std::move(decided)) : decided(true);
    }
    void Decide(bool opened) { waiting.takeFirst()(opened); } // the oldest launch still waiting

    QStringList opened;
    bool late = false;
    QList<Decided> waiting;
};

class ScreenRig {
public:
    // real: the game's own message boxes instead of the scripted ones.
    explicit ScreenRig(const std::filesystem::path& questionFile = "no-such-file.bin", bool real = false)
        : bank(session, random, questionFile),
          screens(Services{session, bank, real ? static_cast<MessageBoxes&>(realBoxes) : messages, random, urls},
                  [this] { ++programEnds; }) {}
    // Deletes the windows that unloaded screens left for deferred deletion.
    ~ScreenRig() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    // Runs the event loop until done() holds or ms have passed; returns done().
    static bool WaitUntil(const std::function<bool()>& done, int ms = 5000)
    {
        QDeadlineTimer deadline(ms);
        while (!done() && !deadline.hasExpired()) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        return done();
    }

    Module1 session;
    ScriptedRandom random;
    QuestionBank bank;
    FakeMessageBoxes messages;
    QtMessageBoxes realBoxes;
    FakeUrlOpener urls;
    int programEnds = 0;
    Screens screens;
};

} // namespace wd::test
