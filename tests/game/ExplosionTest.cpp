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

TEST(ExplosionRules, CountStepsBy200UpTo1000ThenBy1000)
{
    std::vector<int> counts;
    for (std::int32_t c = 0; c < 4000;) counts.push_back(c = NextCount(c));
    EXPECT_EQ(counts, (std::vector<int>{200, 400, 600, 800, 1000, 2000, 3000, 4000}));
}

TEST(ExplosionRules, MeetingTheStakeAndTheExplosionPointInOneTickEndsExploded)
{
    Gamble g{.count = 4000, .StakeScore = 5000, .KeptScore = 5000, .ExplodeAt = 4950};
    EXPECT_EQ(Tick(g), TickEnd::Exploded);
    EXPECT_EQ(g.count, 5000);
    EXPECT_EQ(g.StakeScore, 0);
    EXPECT_EQ(g.ProviderScore, 5000);
}

TEST(ExplosionRules, AfterAStopNeitherEndingChangesTheSplit)
{
    Gamble reached{.count = 19000, .StakeScore = 20000, .ProviderScore = 5000, .KeptScore = 15000,
                   .ExplodeAt = 20001, .Stopped = true};
    EXPECT_EQ(Tick(reached), TickEnd::Reached);
    EXPECT_EQ(reached.StakeScore, 15000);
    EXPECT_EQ(reached.ProviderScore, 5000);

    Gamble exploded{.count = 17000, .StakeScore = 20000, .ProviderScore = 5000, .KeptScore = 15000,
                    .ExplodeAt = 18000, .Stopped = true};
    EXPECT_EQ(Tick(exploded), TickEnd::Exploded);
    EXPECT_EQ(exploded.StakeScore, 15000);
    EXPECT_EQ(exploded.ProviderScore, 5000);
    EXPECT_FALSE(exploded.Stopped);
}

TEST(ExplosionRules, ACountShortOfBothEndsRunsOn)
{
    Gamble g{.count = 800, .StakeScore = 5000, .KeptScore = 5000, .ExplodeAt = 2000};
    EXPECT_EQ(Tick(g), TickEnd::Running);
    EXPECT_EQ(g.count, 1000);
    EXPECT_EQ(g.StakeScore, 5000);
    EXPECT_EQ(g.ProviderScore, 0);
}
