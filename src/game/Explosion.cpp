// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "game/Explosion.h"

#include <algorithm>
#include <cmath>

#include "game/Checked.h"

namespace wd::explosion {

namespace {

// floor(r × n + offset) in double precision, held inside [lowest, highest].
int WholePart(float r, int n, int offset, int lowest, int highest)
{
    const double value = std::floor(static_cast<double>(r) * n + offset);
    if (!(value >= lowest)) return lowest; // also catches NaN
    return value > highest ? highest : static_cast<int>(value);
}

} // namespace

int SafeIndexFor(float r) { return WholePart(r, kButtons, 0, 0, kButtons - 1); }

int ExplodePercentFor(float r)
{
    return WholePart(r, kPercentSpan, kLowestPercent, kLowestPercent, kLowestPercent + kPercentSpan - 1);
}

std::int32_t ExplodePoint(int percent, std::int32_t stake)
{
    const long long product = static_cast<long long>(percent) * stake;
    long long quotient = product / 100;
    long long remainder = product % 100;
    if (remainder < 0) { // toward minus infinity, so the remainder is 0..99
        quotient -= 1;
        remainder += 100;
    }
    if (remainder > 50 || (remainder == 50 && quotient % 2 != 0)) ++quotient;
    return clampTo<std::int32_t>(quotient);
}

std::int32_t NeverExplodes(std::int32_t stake) { return checkedAdd<std::int32_t>(stake, 1); }

int TickIntervalFor(float r) { return 1000 * (WholePart(r, kSlowestSeconds, 0, 0, kSlowestSeconds - 1) + 1); }

std::int32_t NextCount(std::int32_t count)
{
    return checkedAdd<std::int32_t>(count, count < kSmallStepsEnd ? kSmallStep : kLargeStep);
}

void Pick(Gamble& g, std::int32_t explodeAt)
{
    g.ExplodeAt = explodeAt;
    g.Stopped = false;
    g.phase = Phase::Counting;
}

TickEnd Tick(Gamble& g)
{
    g.count = NextCount(g.count);
    TickEnd end = TickEnd::Running;
    if (g.count == g.StakeScore) {
        g.StakeScore = g.KeptScore;
        end = TickEnd::Reached;
    }
    if (g.count >= g.ExplodeAt) {
        if (g.Stopped) {
            g.StakeScore = g.KeptScore;
            g.Stopped = false;
        } else {
            g.ProviderScore = g.StakeScore;
            g.StakeScore = 0;
        }
        end = TickEnd::Exploded;
    }
    if (end != TickEnd::Running) g.phase = Phase::Ended;
    return end;
}

} // namespace wd::explosion
