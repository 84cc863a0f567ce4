#include "platform/swf/Mixer.h"

#include <algorithm>

namespace wd::swfplay {

namespace {
constexpr std::size_t kBlock = 1024;
}

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
        std::fill_n(acc_.begin(), 2 * n, 0);
        for (const auto& p : live) p->Render(acc_.data(), n);
        for (std::size_t i = 0; i < 2 * n; ++i)
            out[2 * done + i] = static_cast<std::int16_t>(std::clamp(acc_[i], -32768, 32767));
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
