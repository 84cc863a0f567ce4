// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// A random source that hands out the numbers a test pushes; once they are used
// up, the last one again, or after Seed numbers drawn from that fixed seed.
#include <optional>
#include <random>

#include <QList>

#include "platform/Random.h"

namespace wd::test {

class ScriptedRandom final : public RandomSource {
public:
    void Push(float r) { script_ << r; }
    void Seed(unsigned seed) { gen_.emplace(seed); }
    void Reseed() override { ++reseeds; }
    float Next() override
    {
        if (!script_.isEmpty()) last_ = script_.takeFirst();
        else if (gen_) last_ = static_cast<float>((*gen_)() >> 8) / 16777216.0f; // 24 bits: below 1
        return last_;
    }

    int reseeds = 0;

private:
    QList<float> script_;
    float last_ = 0.0f;
    std::optional<std::mt19937> gen_;
};

} // namespace wd::test
