// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// The gamble's draws and its explosion point; the expected figures are written
// out here, not taken from the program. The e2e roads play its every step.
#include <gtest/gtest.h>

#include <map>

#include <QList>

#include "game/Explosion.h"

using namespace wd::explosion;

TEST(Explosion, TheSafeButtonTheExplosionPointAndTheWaitAreDrawnEvenly)
{
    std::map<int, int> safe, percent, wait;
    for (int j = 0; j < 300; ++j) {
        const float r = (j + 0.5f) / 300;
        ++safe[SafeIndexFor(r)], ++percent[ExplodePercentFor(r)], ++wait[TickIntervalFor(r)];
    }
    EXPECT_EQ(safe, (std::map<int, int>{{0, 100}, {1, 100}, {2, 100}}));
    EXPECT_EQ(wait, (std::map<int, int>{{1000, 60}, {2000, 60}, {3000, 60}, {4000, 60}, {5000, 60}}));
    EXPECT_EQ(QList<int>({int(percent.size()), percent.begin()->first, percent.rbegin()->first}), QList<int>({60, 40, 99}));
    constexpr float kTop = 0.99999994f; // the largest float below 1
    EXPECT_EQ(QList<int>({SafeIndexFor(0), SafeIndexFor(kTop), ExplodePercentFor(kTop), TickIntervalFor(kTop)}),
              QList<int>({0, 2, 99, 5000}));
}

TEST(Explosion, TheExplosionPointRoundsHalvesToTheEvenNeighbourWithoutOverflow)
{
    EXPECT_EQ(QList<int>({ExplodePoint(50, 5), ExplodePoint(50, 7), ExplodePoint(41, 99), ExplodePoint(99, 2147483647),
                          NeverExplodes(40000)}),
              QList<int>({2, 4, 41, 2126008811, 40001}));
}
