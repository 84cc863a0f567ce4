// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/Random.h"

#include <chrono>
#include <cmath>

namespace wd {

ClockSeededRandom::ClockSeededRandom() { Reseed(); }

void ClockSeededRandom::Reseed()
{
    const auto now = std::chrono::high_resolution_clock::now().time_since_epoch().count();
    std::seed_seq seq{static_cast<unsigned>(now), static_cast<unsigned>(static_cast<unsigned long long>(now) >> 32)};
    engine_.seed(seq);
}

float ClockSeededRandom::Next()
{
    // 24 random bits make every float of [0, 1) with step 2^-24 equally likely;
    // the largest value is 1 - 2^-24, never 1.
    const auto bits = engine_() >> 8;
    return static_cast<float>(bits) * (1.0f / 16777216.0f);
}

int RandomId(float r, int m)
{
    if (!(r >= 0.0f)) r = 0.0f;                       // also catches NaN
    if (r >= 1.0f) r = std::nextafter(1.0f, 0.0f);
    const int id = static_cast<int>(std::floor(static_cast<double>(r) * m + 1.0));
    return id > m ? m : id;
}

} // namespace wd
