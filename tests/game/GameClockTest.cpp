// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// The clock alone; the e2e roads read its seconds, its red below 30 and its
// refill for a new run on the quiz screen.
#include <gtest/gtest.h>

#include <QList>

#include "game/GameClock.h"

TEST(GameClock, CountsDownASecondATickAndRunsOutOnceAtZero)
{
    wd::GameClock clock;
    QList<int> up; // the ticks that ran out
    for (int tick = 1; tick <= 242; ++tick)
        if (clock.Tick()) up << tick;
    EXPECT_EQ(up << clock.SecondsLeft(), QList<int>({240, 0}));
}
