// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <QList>

#include "game/GameClock.h"

using namespace wd;

TEST(GameClock, CountsDownASecondATickAndRunsOutOnceAtZero)
{
    GameClock clock;
    QList<int> up; // the ticks that ran out
    for (int tick = 1; tick <= 242; ++tick)
        if (clock.Tick()) up << tick;
    EXPECT_EQ(up << clock.SecondsLeft(), QList<int>({240, 0}));
}

TEST(GameClock, WarnsOnceFewerThanThirtySecondsAreLeft)
{
    GameClock clock(30);
    EXPECT_EQ(QList<bool>({clock.Warning(), (clock.Tick(), clock.Warning())}), QList<bool>({false, true}));
}

TEST(GameClock, OnlyANewRunRefillsTheSeconds)
{
    GameClock clock(25);
    clock.BeginLevel(false);
    EXPECT_EQ(clock.SecondsLeft(), 25);
    clock.BeginLevel(true);
    EXPECT_EQ(clock.SecondsLeft(), 240);
}
