// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The run's clock: its seconds count down once a second, warn below 30 and
// run out at 0. A level cleared leaves the seconds to the next level; only a
// new run brings back all 240. The quiz screen's timer ticks it and its time
// label shows it.
#include <cstdint>

#include "game/Rules.h"

namespace wd {

class GameClock {
public:
    // The seconds a freshly loaded quiz screen starts from (TimeLeft).
    explicit GameClock(std::int16_t seconds = rules::kClockSeconds) : seconds_(seconds) {}

    std::int16_t SecondsLeft() const { return seconds_; }
    // Fewer than 30 seconds are left: the count is shown in red.
    bool Warning() const { return seconds_ < rules::kRedBelowSeconds; }
    // One second has passed. True on the tick that reaches 0: the time is up.
    // A clock that has run out stays at 0.
    bool Tick()
    {
        if (seconds_ <= 0) return false;
        --seconds_;
        return seconds_ == 0;
    }
    // The next level begins: with the seconds left, or all of them for a new run.
    void BeginLevel(bool newRun)
    {
        if (newRun) seconds_ = rules::kClockSeconds;
    }

private:
    std::int16_t seconds_;
};

} // namespace wd
