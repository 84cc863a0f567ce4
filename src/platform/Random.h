// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The random source of the game: uniform numbers in [0, 1), re-seeded from a
// clock at the moments the rules name. Tests replace it with a scripted one.
#include <random>

namespace wd {

class RandomSource {
public:
    virtual ~RandomSource() = default;
    // Seed the generator afresh from a high-resolution clock.
    virtual void Reseed() = 0;
    // The next uniform number r with 0 <= r < 1, in single precision.
    virtual float Next() = 0;
};

class ClockSeededRandom final : public RandomSource {
public:
    ClockSeededRandom();
    void Reseed() override;
    float Next() override;

private:
    std::mt19937 engine_;
};

// The whole part of r × M + 1, computed in double precision: an id in 1..M.
// r is clamped into [0, 1) first, so no source can yield M + 1.
int RandomId(float r, int m);

} // namespace wd
