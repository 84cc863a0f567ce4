#pragma once
// Mixes every panel's player into one 44.1 kHz stereo signed 16-bit signal.
// The output device pulls from it; tests and benchmarks call Pull directly.
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

private:
    mutable std::mutex mu_;
    std::vector<std::weak_ptr<Player>> players_;
    std::vector<std::int32_t> acc_;
};

} // namespace wd::swfplay
