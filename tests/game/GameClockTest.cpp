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
    EXPECT_EQ(QList<int>({up.value(0), int(up.size()), clock.SecondsLeft()}), QList<int>({240, 1, 0}));
}

TEST(GameClock, WarnsOnceFewerThanThirtySecondsAreLeft)
{
    GameClock clock(31);
    QList<bool> warned;
    for (int i = 0; i < 3; ++i, clock.Tick()) warned << clock.Warning(); // 31, 30, 29
    EXPECT_EQ(warned, (QList<bool>{false, false, true}));
}

TEST(GameClock, OnlyANewRunRefillsTheSeconds)
{
    GameClock clock(25);
    clock.BeginLevel(false);
    EXPECT_EQ(clock.SecondsLeft(), 25);
    clock.BeginLevel(true);
    EXPECT_EQ(QList<int>({clock.SecondsLeft(), clock.Warning()}), QList<int>({240, false}));
}
