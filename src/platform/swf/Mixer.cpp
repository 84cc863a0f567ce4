#include "platform/swf/Mixer.h"

#include <algorithm>
#include <cstring>

#include "platform/swf/Limits.h"

namespace wd::swfplay {

namespace {

constexpr std::size_t kBlock = 1024;

WD_NO_COVERAGE void Clip(const std::int32_t* acc, std::int16_t* out, std::size_t samples)
{
    for (std::size_t i = 0; i < samples; ++i) {
        const std::int32_t v = acc[i];
        out[i] = static_cast<std::int16_t>(v > 32767 ? 32767 : v < -32768 ? -32768 : v);
    }
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
        if (!sounded)
            std::memset(out + 2 * done, 0, 2 * n * sizeof(std::int16_t));
        else
            Clip(acc_.data(), out + 2 * done, 2 * n);
        done += n;
    }
}

std::vector<std::int16_t> Mixer::Pull(std::size_t frames)
{
    std::vector<std::int16_t> out(2 * frames);
    Pull(out.data(), frames);
    return out;
}

} // namespace wd::swfplay
