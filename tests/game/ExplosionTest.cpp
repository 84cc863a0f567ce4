#include <gtest/gtest.h>

#include <set>

#include "game/Explosion.h"

using namespace wd;
using namespace wd::explosion;

TEST(ExplosionRules, EachButtonIsSafeForOneThirdOfEvenlySpreadDraws)
{
    constexpr int kDraws = 300;
    int safe[kButtons] = {};
    for (int j = 0; j < kDraws; ++j) ++safe[SafeIndexFor((j + 0.5f) / kDraws)];
    for (int pressed = 0; pressed < kButtons; ++pressed) EXPECT_EQ(safe[pressed], kDraws / 3) << pressed;
    EXPECT_EQ(SafeIndexFor(0.0f), 0);
    EXPECT_EQ(SafeIndexFor(0.99999994f), 2); // the largest float below 1
}

TEST(ExplosionRules, ExplosionPercentagesCover40To99EachOnceOverSixtyEvenDraws)
{
    std::multiset<int> seen;
    for (int j = 0; j < 60; ++j) seen.insert(ExplodePercentFor((j + 0.5f) / 60));
    for (int k = 40; k <= 99; ++k) EXPECT_EQ(seen.count(k), 1u) << k;
    EXPECT_EQ(ExplodePercentFor(0.0f), 40);
    EXPECT_EQ(ExplodePercentFor(0.99999994f), 99);
}

TEST(ExplosionRules, ExplosionPointRoundsHalvesToTheEvenNeighbour)
{
    EXPECT_EQ(ExplodePoint(40, 5000), 2000);
    EXPECT_EQ(ExplodePoint(99, 5000), 4950);
    EXPECT_EQ(ExplodePoint(90, 20000), 18000);
    EXPECT_EQ(ExplodePoint(50, 5), 2);   // 2.5
    EXPECT_EQ(ExplodePoint(50, 7), 4);   // 3.5
    EXPECT_EQ(ExplodePoint(41, 99), 41); // 40.59
    EXPECT_EQ(ExplodePoint(99, 2147483647), 2126008811); // .53 rounds up; no overflow on the way
    EXPECT_EQ(NeverExplodes(40000), 40001);
}

TEST(ExplosionRules, TickWaitsAreWholeSecondsFromOneToFive)
{
    EXPECT_EQ(TickIntervalFor(0.0f), 1000);
    EXPECT_EQ(TickIntervalFor(0.19f), 1000);
    EXPECT_EQ(TickIntervalFor(0.2f), 2000);
    EXPECT_EQ(TickIntervalFor(0.5f), 3000);
    EXPECT_EQ(TickIntervalFor(0.99999994f), 5000);
}
