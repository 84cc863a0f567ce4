// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Mixes every panel's player into one 44.1 kHz stereo signed 16-bit signal.
// The output device pulls from it; tests and benchmarks call Pull directly.
//
// The sum never clips: a limiter holds it within kLimiterCeiling. While the
// sum stays within the ceiling (one movie alone, as a rule) the mix is the
// plain sum, sample for sample; above it, the gain falls in a ramp of
// kLimiterAttackFrames ahead of each loud sample (a sharper drop for one in
// the first frames of a block, whose ramp would start in the block already
// sent) and comes back to 1 over kLimiterReleaseFrames.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/swf/Player.h"

namespace wd::swfplay {

class Mixer {
public:
    void Attach(const std::shared_ptr<Player>& player);
    void Detach(const Player* player);

    // Fills out with `frames` interleaved stereo frames, clipped to 16 bits,
    // and moves every player's timeline on by as much.
    void Pull(std::int16_t* out, std::size_t frames);
    std::vector<std::int16_t> Pull(std::size_t frames);

    std::size_t Players() const;
    // Some panel has a movie, so something should be heard.
    bool AnyMovie() const;

private:
    void Limit(const std::int32_t* acc, std::int16_t* out, std::size_t frames);

    mutable std::mutex mu_;
    std::vector<std::weak_ptr<Player>> players_;
    std::vector<std::int32_t> acc_;
    std::vector<float> gain_;  // per frame of the block being limited
    float lastGain_ = 1.0f;    // at the end of the previous block
};

inline constexpr std::int32_t kLimiterCeiling = 32000; // about -0.2 dBFS
inline constexpr std::size_t kLimiterAttackFrames = 64;
inline constexpr std::size_t kLimiterReleaseFrames = 4410;

} // namespace wd::swfplay
