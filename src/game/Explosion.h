// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The explosion game's rules: which button is safe, where an exploding button
// goes off, how long the counter waits between steps, how far it steps, what
// one step does to the split between player and provider, and where the gamble
// stands. The screen draws the random numbers and shows the gamble.
#include <cstdint>

namespace wd::explosion {

inline constexpr int kButtons = 3;          // CmdNum(0..2)
inline constexpr int kFirstTickMs = 1000;   // the timer's interval when the player picks
inline constexpr int kLowestPercent = 40;   // an exploding button goes off at 40..99 %
inline constexpr int kPercentSpan = 60;
inline constexpr int kSlowestSeconds = 5;   // later ticks come after 1..5 s
inline constexpr std::int32_t kSmallStep = 200;  // below kSmallStepsEnd
inline constexpr std::int32_t kSmallStepsEnd = 1000;
inline constexpr std::int32_t kLargeStep = 1000;

// floor(3 × r): the index of the safe button, 0..2.
int SafeIndexFor(float r);
// floor(60 × r + 40): the percentage of the stake at which an exploding button goes off, 40..99.
int ExplodePercentFor(float r);
// percent × stake / 100, rounded to the nearest whole number, halves to the even one.
std::int32_t ExplodePoint(int percent, std::int32_t stake);
// The explosion point of the safe button: one above the stake, which the count never reaches.
std::int32_t NeverExplodes(std::int32_t stake);
// 1000 × (floor(5 × r) + 1): the wait before the next tick, 1000..5000 ms.
int TickIntervalFor(float r);
// The count after one step: +200 below 1000, then +1000.
std::int32_t NextCount(std::int32_t count);

// Where the gamble stands: the player has yet to pick; the counter runs (also
// while a player who stopped watches the rest); it has met the stake or
// exploded, and the player may leave.
enum class Phase { Choosing, Counting, Ended };

// Everything the gamble's steps read and write.
struct Gamble {
    std::int32_t count = 0;          // the number on show
    std::int32_t StakeScore = 0;     // the player's share so far
    std::int32_t ProviderScore = 0;  // the provider's share so far
    std::int32_t KeptScore = 0;      // what the player keeps unless the counter takes it
    std::int32_t ExplodeAt = 0;
    bool Stopped = false;            // the player stopped and is watching the rest
    Phase phase = Phase::Choosing;
};

// The player has picked: the counter starts from the count on show and goes
// off at explodeAt.
void Pick(Gamble& g, std::int32_t explodeAt);

enum class TickEnd {
    Running,  // the counter runs on
    Reached,  // the count met the stake; the player keeps KeptScore
    Exploded, // the count passed the explosion point
};

// One step of the counter. The stake test comes before the explosion test and
// both read the same count, so a count that meets the stake and the explosion
// point at once ends exploded, the explosion's assignments last. Either end
// ends the gamble.
TickEnd Tick(Gamble& g);

} // namespace wd::explosion
