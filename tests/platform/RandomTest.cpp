// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <cmath>

#include <QList>

#include "platform/Random.h"

using namespace wd;

TEST(Random, ClockSeededNumbersSpreadEvenlyBelowOne)
{
    ClockSeededRandom r;
    QList<int> tenths(10, 0);
    for (int i = 0; i < 100000; ++i) {
        const float x = r.Next();
        ASSERT_TRUE(x >= 0.0f && x < 1.0f) << x;
        ++tenths[static_cast<int>(x * 10)];
    }
    for (int n : tenths) EXPECT_NEAR(n, 10000, 1000);
}

TEST(Random, EveryNumberBelowOneMakesAnIdOfOneToM)
{
    EXPECT_EQ(QList<int>({RandomId(0.0f, 159), RandomId(0.5f, 33), RandomId(std::nextafter(1.0f, 0.0f), 159)}),
              QList<int>({1, 17, 159}));
}
