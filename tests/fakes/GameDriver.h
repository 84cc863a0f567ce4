// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// A game through the real screens, played as a player plays it, on a copy of a
// question file, with every screen registered as the game registers them. Only
// the edges are the rig's fakes: message boxes answered from a script (or the
// game's own boxes), page requests recorded, the program end counted, random
// numbers pushed by the test and then from a fixed seed. The clock ticks only
// when the test says so, and no message but the quit question may find it running.
//
// It knows the answers only from the question file, looked up by the question
// on screen, never from the game's own state.
//
// Hand-overs. Once a road has reached a window it did not expect, every later
// step fails for that one reason, or waits in a window that is not the one
// meant. So a hand-over that goes wrong (At, OnShown, or a screen that is not
// loaded) is reported as "expected FrmSaveMoney, shown: Frmmain" and ends the
// test program at once, wherever the road is, even inside a modal window's
// loop, which no exception may cross. Each test case runs as a program of its
// own under ctest.
#include <functional>

#include <gtest/gtest.h>

#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>

#include "fakes/ScreenRig.h"
#include "screens/quiz/Frmmain.h"
#include "ui/Controls.h"
#include "ui/Screen.h"

namespace wd::test {

// A copy of a question file in a folder of its own.
struct FileCopy {
    explicit FileCopy(const QString& from);
    QTemporaryDir dir;
    std::filesystem::path file;
};

class GameDriver : private FileCopy, public ScreenRig {
public:
    struct FileRow { QString answer, provider, table; };
    // Plays on a copy of `questionFile`; the start screen is shown.
    explicit GameDriver(const QString& questionFile, bool realBoxes = false);
    ~GameDriver() { EXPECT_TRUE(awaited_.isEmpty()) << "a window the road leads to was never shown"; }

    // What is on screen.
    QString Shown() const; // the windows shown, e.g. "Frmmain FrmExplosion"
    ScreenState State(ScreenId id) const { return screens.State(id); }
    Screen& On(ScreenId id) const; // a loaded screen; the test ends if there is none
    // A control of a loaded screen, by name, as the kind T (QWidget: any kind).
    template <class T> T* Control(ScreenId id, const char* name, int index = kNoIndex) const
    {
        return On(id).controls().Get<T>(name, index);
    }
    // What a control shows: its caption or text, nothing while it is hidden.
    QString Text(ScreenId id, const char* name, int index = kNoIndex) const;
    QStringList Texts(ScreenId id, std::initializer_list<const char*> names) const; // of each control, in order
    bool Enabled(ScreenId id, const char* name) const { return Control<QWidget>(id, name)->isEnabled(); }
    QString Slots() const; // the quiz screen's five slots, a used pass marked "*": "V|*|*||"
    // The slots of a level with so many questions answered right and no pass used: "V|O|O||".
    static QString SlotsAt(int level, int right = 0);
    QString Marks(ScreenId id = ScreenId::Frmmain) const; // easy marks: "X→→"
    // The file name of the movie a screen's panel plays (checked to lie in the
    // game's movie folder); empty for none.
    QString Movie(ScreenId id, const char* panel = "SwfBackground") const;
    QStringList Messages() const { return messages.texts; } // the scripted messages' texts so far
    bool ClockRunning() const // the quiz screen's
    {
        return screens.Loaded(ScreenId::Frmmain) && Control<QTimer>(ScreenId::Frmmain, "Timer1")->isActive();
    }
    // The hand-over: every window awaited by OnShown has come, and the windows
    // shown are exactly `shown` ("Frmmain FrmSaveMoney").
    void At(const QString& shown) const;
    // The start screen alone is shown, nothing else loaded, the program not ended.
    void ExpectAtStartAlone() const;

    // The question file, read with SQL of our own: the row of the question on
    // screen, and how many questions of a table are marked played.
    FileRow OnScreen() const;
    int PlayedMarks(const QString& table = QStringLiteral("question")) const;

    void SignIn(const QString& id = QStringLiteral("glintora"));
    // The quiz screen.
    void PressStart() { Control<Button>(ScreenId::Frmmain, "CmdStart")->click(); }
    void Type(const QString& text); // into the answer box, then Enter
    // The answer from the file, with spaces around it that do not count.
    void AnswerRight();
    // The answer from the file in capitals with a tab after it: neither is forgiven.
    void AnswerWrong() { Type(OnScreen().answer.toUpper() + u'\t'); }
    void Pass() { Control<Button>(ScreenId::Frmmain, "CmdPass")->click(); }
    void Easy() { Control<Button>(ScreenId::Frmmain, "CmdEasy")->click(); }
    void Tick(int seconds = 1) { while (seconds-- > 0) static_cast<Frmmain&>(On(ScreenId::Frmmain)).Timer1_Timer(); }
    // Answers the level's questions; the quiz screen's checks on the way.
    void ClearLevel(int level);
    // The tally.
    void GoOn() { Control<Button>(ScreenId::FrmCountUp, "OKButton")->click(); }
    void StopAtTally() { Control<Button>(ScreenId::FrmCountUp, "CancelButton")->click(); }
    // The gamble: pick a button, safe or exploding at a percentage of the stake;
    // tick until the count shows `until` or ends, waiting 1 to 5 s in turn (the
    // counts shown, from the one before); Stop (answering the question with
    // whenAsked) or "继续".
    void Pick(int index, int explodePercent = 0);
    QString CountTo(const QString& until = {});
    void PressStop(Answer whenAsked = Answer::Cancel);
    // The score-saving screen.
    void Upload(const QString& password);
    // A button that asks first ("退出(&Q)", "再玩一次", "退出游戏"), answered so.
    void Confirm(ScreenId id, const char* button, Answer a) { messages.Script(a); Control<Button>(id, button)->click(); }
    // Runs fn once the screen is shown: the way into a window shown modally,
    // whose loop holds the step that opened it until the window has gone. Another
    // screen shown modally in its place ends the test.
    void OnShown(ScreenId id, std::function<void()> fn);

private:
    // Reports the hand-over that went wrong and ends the test program.
    [[noreturn]] void Stop(const char* expected) const;
    QList<ScreenId> awaited_; // by OnShown
};

} // namespace wd::test
