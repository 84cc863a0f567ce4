// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// The gamble's rules; the expected figures are written out here, not taken
// from the program.
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

// 200 a step up to 1000, then 1000.
TEST(Explosion, BehindTheSafeButtonTheCountClimbsToTheStakeWhichThePlayerKeeps)
{
    Gamble g{.StakeScore = 5000, .KeptScore = 5000};
    Pick(g, NeverExplodes(5000));
    QList<int> counts;
    while (Tick(g) == TickEnd::Running) counts << g.count;
    EXPECT_EQ(counts, QList<int>({200, 400, 600, 800, 1000, 2000, 3000, 4000}));
    EXPECT_EQ(QList<int>({g.count, g.StakeScore, g.ProviderScore}), QList<int>({5000, 5000, 0}));
}

// Below the stake, or right on it.
TEST(Explosion, AnExplosionHandsTheWholeStakeToTheProvider)
{
    for (const int at : {2000, 5000}) {
        Gamble b{.count = at - 1000, .StakeScore = 5000, .KeptScore = 5000, .ExplodeAt = at};
        EXPECT_EQ(Tick(b), TickEnd::Exploded);
        EXPECT_EQ(QList<int>({b.StakeScore, b.ProviderScore}), QList<int>({0, 5000})) << at;
    }
}

// Stopped at 15000 and watching.
TEST(Explosion, AfterAStopTheExplosionNoLongerChangesTheSplit)
{
    Gamble w{.count = 17000, .StakeScore = 20000, .ProviderScore = 5000, .KeptScore = 15000, .ExplodeAt = 18000, .Stopped = true};
    EXPECT_EQ(Tick(w), TickEnd::Exploded);
    EXPECT_EQ(QList<int>({w.StakeScore, w.ProviderScore}), QList<int>({15000, 5000}));
}

// Choosing until the pick, counting until the count meets the stake or explodes.
TEST(Explosion, TheGambleEndsWhenTheCountMeetsTheStakeOrExplodes)
{
    for (const std::int32_t explodeAt : {NeverExplodes(1000), 600}) {
        Gamble g{.StakeScore = 1000, .KeptScore = 1000};
        QList<Phase> phases{g.phase};
        Pick(g, explodeAt);
        while (g.phase == Phase::Counting && phases.size() < 10) phases << (Tick(g), g.phase);
        const qsizetype counting = explodeAt == 600 ? 2 : 4; // the counts before 600, or before 1000
        EXPECT_EQ(phases, QList<Phase>{Phase::Choosing} + QList<Phase>(counting, Phase::Counting) + QList<Phase>{Phase::Ended});
    }
}
