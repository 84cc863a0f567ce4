// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The rules of the game as numbers, in one place, and the pure functions that
// apply them. Nothing here knows of windows or of the question file.
#include <array>
#include <cstdint>
#include <QString>

namespace wd {

namespace rules {
inline constexpr int kLevels = 5;                  // levels per run
inline constexpr int kEasyPerRun = 3;              // easy questions per run
inline constexpr int kPassesAtLevelOne = 4;        // level L grants 5 - L passes
inline constexpr std::int32_t kRunBonus = 100000;  // banked for every cleared run
inline constexpr std::int16_t kClockSeconds = 240; // one clock per run
inline constexpr std::int16_t kRedBelowSeconds = 30;
inline constexpr std::int16_t kQuestionCount = 159; // highest id of table question
inline constexpr std::int16_t kEasyCount = 33;      // highest id of table easy
inline constexpr int kQuestionResetLeft = 10;       // marks cleared when only this many remain
inline constexpr int kEasyResetLeft = 5;

// StakeScore once level L (1..5) is cleared; values replace one another.
inline constexpr std::array<std::int32_t, kLevels> kClearedStake{5000, 10000, 20000, 40000, 100000};
// StakeScore when level L (1..5) is failed: what the last cleared level of the run set.
inline constexpr std::array<std::int32_t, kLevels> kFailedStake{0, 5000, 10000, 20000, 40000};
} // namespace rules

// Right answers needed to clear level L.
constexpr std::int16_t QuestionsForLevel(int level) { return static_cast<std::int16_t>(level); }
// Passes granted at level L (none at level 5).
constexpr std::int16_t PassesForLevel(int level) { return static_cast<std::int16_t>(rules::kLevels - level); }
// Ladder look-ups; a level outside 1..5 has no stake.
std::int32_t StakeForClearedLevel(int level);
std::int32_t StakeForFailedLevel(int level);

// The three easy-question marks, left to right: "X" for each chance used,
// "→" for each chance left.
std::array<QString, 3> EasyMarks(int easyLeft);

// The answer comparison: leading and trailing ASCII spaces and ideographic
// spaces (U+3000) are removed from both sides, then the texts must be equal
// character by character, case-sensitive.
bool AnswerMatches(const QString& correctAnswer, const QString& typed);
QString TrimAnswerSpaces(const QString& text);

} // namespace wd
