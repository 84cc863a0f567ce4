#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "platform/Random.h"

using namespace wd;

TEST(ClockSeededRandom, GivesUniformNumbersBelowOne)
{
    ClockSeededRandom r;
    std::array<int, 10> buckets{};
    for (int i = 0; i < 100000; ++i) {
        const float x = r.Next();
        ASSERT_GE(x, 0.0f);
        ASSERT_LT(x, 1.0f);
        ++buckets[static_cast<std::size_t>(x * 10)];
    }
    for (int b : buckets) {
        EXPECT_GT(b, 9000);
        EXPECT_LT(b, 11000);
    }
}

TEST(RandomId, CoversOneToMEquallyAndNeverLeavesIt)
{
    std::array<int, 34> hits{};
    for (int i = 0; i < 33 * 100; ++i) ++hits[static_cast<std::size_t>(RandomId(static_cast<float>((i + 0.5) / 3300.0), 33))];
    EXPECT_EQ(hits[0], 0);
    for (int id = 1; id <= 33; ++id) EXPECT_EQ(hits[static_cast<std::size_t>(id)], 100) << id;

    EXPECT_EQ(RandomId(std::nextafter(1.0f, 0.0f), 159), 159);
    EXPECT_EQ(RandomId(0.0f, 159), 1);
    EXPECT_EQ(RandomId(1.0f, 159), 159) << "a faulty source never yields M + 1";
    EXPECT_EQ(RandomId(-0.5f, 33), 1);
}
