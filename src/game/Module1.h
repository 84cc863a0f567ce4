// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Module1: the session state of one game, shared by every screen. The
// application owns one Module1 and hands it to the screens; tests make their own.
// The names are the game's own; widths are those of the original variables
// (counters and ids 16-bit, scores 32-bit) and arithmetic on them never wraps.
#include <cstdint>
#include <QString>

namespace wd {

class Module1 {
public:
    // ---- session variables -------------------------------------------------
    QString PlayerId;            // as typed on the start screen, not trimmed
    QString PlayerPassword;      // typed on the score-saving screen
    std::int32_t StakeScore = 0; // the stake the current run has earned
    QString ProviderName;        // provider of the question on screen; set by the next and easy draws
    std::int32_t ProviderScore = 0;
    std::int16_t TimeLeft = 0;   // snapshot of the seconds left
    std::int16_t Level = 0;      // 1..5
    std::int16_t EasyLeft = 0;   // easy questions left in the run
    std::int16_t ClearCount = 0; // runs of five levels cleared in this game
    std::int16_t QuestionsLeft = 0;
    std::int16_t PassesLeft = 0;
    std::int16_t QuestionCount = 0; // highest id of table question, set by the start screen
    std::int16_t EasyCount = 0;     // highest id of table easy
    std::int16_t QuestionId = 0;    // id of the question on screen (question or easy)
    QString CorrectAnswer;
    // The database connection and the latest query result live in the
    // QuestionBank, which the start screen opens and closes.

    // ---- derived values -----------------------------------------------------
    // ClearCount × 100000; held at the largest 32-bit value if it does not fit.
    std::int32_t BankedScore() const;
    // BankedScore + StakeScore; held at the largest 32-bit value if it does not fit.
    std::int32_t TotalScore() const;
    // A failed run loses nothing and gains nothing: the game ends with no score.
    bool HoldsNoScore() const { return TotalScore() == 0; }

    // ---- the events of a game; screens change the variables through these --
    // Start button with a non-blank id: the variables of a new game.
    void StartGame(const QString& typedId);
    // The quiz screen has loaded: level 1 waits for its one question.
    void QuizLoaded();
    // Right answer: one question fewer to go. Returns true when the level is cleared,
    // in which case StakeScore is set from the ladder (level 5 also banks the run).
    bool RightAnswer();
    // A cleared level stopped the clock with these seconds left, for the tally.
    void KeepTimeLeft(std::int16_t seconds);
    // Wrong answer: the stake in force is the failed-level value of the ladder.
    // What the player loses goes to ProviderName, the provider of the question
    // on screen: a stake is at risk only after a next or easy draw, which set it.
    void WrongAnswer();
    // Pass: one pass fewer. Returns the passes left.
    std::int16_t UsePass();
    // Easy question: one chance fewer. Returns the chances left.
    std::int16_t UseEasy();
    // The tally's continue button: the next level, or level 1 of a new run after
    // level 5 (3 easy questions, stake 0). Returns true when a new run begins.
    bool BeginNextLevel();
    // The explosion game splits the stake: the player's share so far in
    // StakeScore, the provider's in ProviderScore.
    void SplitStake(std::int32_t player, std::int32_t provider);
    // The score upload is under way with the name and password typed on the
    // score-saving screen.
    void UploadAs(const QString& id, const QString& password);
    // The score page is on its way: the stake and the provider's share are
    // spent, so another upload sends the banked runs alone.
    void ScoreUploaded();
    // Play again from the score-saving screen: the stake is spent.
    void PlayAgain();
};

} // namespace wd
