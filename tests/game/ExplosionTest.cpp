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

// One step over a stake of 5000 after a pick: 200 a step up to 1000, then
// 1000. The stake test comes first; the explosion's assignments come last;
// once the player has stopped, the split stays.
TEST(Explosion, AStepOntoTheStakeOrTheExplosionPointEndsTheGambleAndSplitsTheStake)
{
    const struct { int count, to, kept, provider, explodeAt; bool stopped; TickEnd end; int player, toProvider; } steps[] = {
        {0, 200, 5000, 0, 5001, false, TickEnd::Running, 5000, 0},      {800, 1000, 5000, 0, 5001, false, TickEnd::Running, 5000, 0},
        {4000, 5000, 5000, 0, 5001, false, TickEnd::Reached, 5000, 0},  {1000, 2000, 5000, 0, 2000, false, TickEnd::Exploded, 0, 5000},
        {4000, 5000, 5000, 0, 4950, false, TickEnd::Exploded, 0, 5000}, {2000, 3000, 2000, 3000, 3000, true, TickEnd::Exploded, 2000, 3000},
        {4000, 5000, 2000, 3000, 5001, true, TickEnd::Reached, 2000, 3000},
    };
    EXPECT_EQ(Gamble{}.phase, Phase::Choosing);
    for (const auto& s : steps) {
        Gamble g{.count = s.count, .StakeScore = 5000, .ProviderScore = s.provider, .KeptScore = s.kept};
        Pick(g, s.explodeAt);
        g.Stopped = s.stopped;
        EXPECT_EQ(int(Tick(g)), int(s.end)) << s.count;
        const Phase phase = s.end == TickEnd::Running ? Phase::Counting : Phase::Ended;
        EXPECT_EQ(QList<int>({g.count, g.StakeScore, g.ProviderScore, int(g.phase)}),
                  QList<int>({s.to, s.player, s.toProvider, int(phase)})) << s.count;
    }
}
