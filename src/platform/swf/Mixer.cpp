// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/swf/Mixer.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "platform/swf/Limits.h"

namespace wd::swfplay {

namespace {

constexpr std::size_t kBlock = 1024;

WD_NO_COVERAGE std::int32_t Peak(const std::int32_t* acc, std::size_t samples)
{
    std::int32_t peak = 0;
    for (std::size_t i = 0; i < samples; ++i) peak = std::max(peak, std::abs(acc[i]));
    return peak;
}

} // namespace

void Mixer::Attach(const std::shared_ptr<Player>& player)
{
    std::lock_guard lock(mu_);
    std::erase_if(players_, [](const std::weak_ptr<Player>& p) { return p.expired(); });
    players_.push_back(player);
}

void Mixer::Detach(const Player* player)
{
    std::lock_guard lock(mu_);
    std::erase_if(players_, [player](const std::weak_ptr<Player>& p) {
        const auto sp = p.lock();
        return !sp || sp.get() == player;
    });
}

std::size_t Mixer::Players() const
{
    std::lock_guard lock(mu_);
    return static_cast<std::size_t>(
        std::count_if(players_.begin(), players_.end(), [](const auto& p) { return !p.expired(); }));
}

void Mixer::Pull(std::int16_t* out, std::size_t frames)
{
    std::lock_guard lock(mu_);
    acc_.resize(2 * kBlock);
    std::vector<std::shared_ptr<Player>> live;
    live.reserve(players_.size());
    for (const auto& p : players_)
        if (auto sp = p.lock()) live.push_back(std::move(sp));
    for (std::size_t done = 0; done < frames;) {
        const std::size_t n = std::min(kBlock, frames - done);
        std::memset(acc_.data(), 0, 2 * n * sizeof(std::int32_t));
        bool sounded = false;
        for (const auto& p : live) sounded |= p->Render(acc_.data(), n);
        if (!sounded && lastGain_ == 1.0f)
            std::memset(out + 2 * done, 0, 2 * n * sizeof(std::int16_t));
        else
            Limit(acc_.data(), out + 2 * done, n);
        done += n;
    }
}

WD_NO_COVERAGE void Mixer::Limit(const std::int32_t* acc, std::int16_t* out, std::size_t frames)
{
    const std::size_t samples = 2 * frames;
    if (lastGain_ == 1.0f && Peak(acc, samples) <= kLimiterCeiling) {
        for (std::size_t i = 0; i < samples; ++i) out[i] = static_cast<std::int16_t>(acc[i]);
        return;
    }
    // The gain each frame may have at most: what keeps it within the ceiling,
    // and no faster a rise than the release allows.
    constexpr float kRelease = 1.0f / kLimiterReleaseFrames;
    constexpr float kAttack = 1.0f / kLimiterAttackFrames;
    gain_.resize(frames);
    float g = lastGain_;
    for (std::size_t i = 0; i < frames; ++i) {
        const std::int32_t peak = std::max(std::abs(acc[2 * i]), std::abs(acc[2 * i + 1]));
        const float need = peak > kLimiterCeiling ? static_cast<float>(kLimiterCeiling) / static_cast<float>(peak) : 1.0f;
        g = std::min(need, g + kRelease);
        gain_[i] = g;
    }
    lastGain_ = g;
    // Falls ahead of each peak rather than at it.
    for (std::size_t i = frames - 1; i-- > 0;) gain_[i] = std::min(gain_[i], gain_[i + 1] + kAttack);
    for (std::size_t i = 0; i < frames; ++i) {
        for (std::size_t c = 0; c < 2; ++c) {
            const auto v = static_cast<std::int32_t>(std::lround(static_cast<float>(acc[2 * i + c]) * gain_[i]));
            out[2 * i + c] = static_cast<std::int16_t>(std::clamp(v, -kLimiterCeiling, kLimiterCeiling));
        }
    }
}

bool Mixer::AnyMovie() const
{
    std::lock_guard lock(mu_);
    return std::any_of(players_.begin(), players_.end(), [](const auto& p) {
        const auto sp = p.lock();
        return sp && sp->HasMovie();
    });
}

std::vector<std::int16_t> Mixer::Pull(std::size_t frames)
{
    std::vector<std::int16_t> out(2 * frames);
    Pull(out.data(), frames);
    return out;
}

} // namespace wd::swfplay
