// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Frmmain: the quiz screen, where a game is played. It shows the player, the
// score, the seconds left, the level's question and pass slots, the easy-question
// chances and the question with its provider; its one-second clock (Timer1)
// counts the run's 240 seconds down.
#include <array>

#include "game/GameClock.h"
#include "game/QuestionBank.h"
#include "game/Rules.h"
#include "screens/EasyMarks.h"
#include "ui/Screen.h"

namespace wd {

class Frmmain final : public Screen {
    Q_OBJECT
public:
    static constexpr ScreenId kId = ScreenId::Frmmain;
    explicit Frmmain(Screens& screens);

    void CmdStart_Click();
    void CmdOK_Click();
    void CmdPass_Click();
    void CmdEasy_Click();
    void Cmdquit_Click();
    void Timer1_Timer();

    // What the start screen does to a freshly shown quiz screen: the start
    // button is visible.
    void ShowStartButton();
    // What the tally's continue button does once the session holds the next
    // level (newRun: level 1 of a new run): the level's slots, score, marks,
    // question number and heading; the clock runs again, the screen is shown
    // and a question drawn, then the level's movie plays.
    void BeginLevel(bool newRun);

protected:
    void Form_Load() override;
    void Form_CloseBox() override;

private:
    // The controls this screen's code uses, by their names in the layout.
    struct Controls {
        explicit Controls(const ControlSet& set);
        AnimationPanel* SwfBackground;
        Button* CmdStart;
        QTimer* Timer1;
        Button* CmdEasy;
        Button* Cmdquit;
        Button* CmdPass;
        TextBox* Txtanswer;
        Button* CmdOK;
        EasyMarkLabels LblEasy;
        std::array<Label*, rules::kLevels> Lblque;
        Label* LblProvider;
        Frame* Fraquestion;
        Label* Lblquestion;
        Label* LblEasyLable;
        Label* LblTime;
        Label* LblPlayscore;
        Label* LblNo;
        Label* LblPlayer;
        Label* Label3;
    };

    // Puts a drawn question on the screen: provider and question text.
    void ShowQuestion(const QuestionRecord& question);
    // Shows the question a draw delivered; a draw that failed ends the run
    // (QuestionFileFailed). Returns whether a question is on screen.
    bool Draw(std::optional<QuestionRecord> question);
    // LblTime shows the clock, red once it warns; LblNo the question number.
    void ShowClock();
    void ShowQuestionNo();
    void EnableAnswerButtons(bool enabled);
    void RightAnswer();
    void WrongAnswer();
    // A failed run with something to lose: the gamble for a stake, else the
    // score-saving screen; the quiz screen goes once the gamble has gone.
    void LoseStakeOrSave();
    // A failed run with nothing gained: back to the start screen.
    void BackToStart();
    // The question file failed during the run: nothing more can be asked. The
    // clock stops, a notice says so, and the run ends as a stop at the tally
    // does: the score-saving screen with what the player holds, or the start
    // screen when that is nothing.
    void QuestionFileFailed();

    const Controls ui_;
    GameClock clock_;     // the run's seconds, shown in LblTime
    int questionNo_ = 1;  // the question of the level being asked, shown in LblNo
};

} // namespace wd
