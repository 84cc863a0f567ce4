// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/swf/Player.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "platform/swf/Limits.h"

namespace wd::swfplay {

std::uint64_t Player::Expect()
{
    std::lock_guard lock(mu_);
    ResetLocked();
    return ++expected_;
}

void Player::Clear()
{
    {
        std::lock_guard lock(mu_);
        ResetLocked();
        installed_ = ++expected_;
    }
    ready_.notify_all();
}

void Player::ResetLocked()
{
    movie_.reset();
    instances_.clear();
    frame_ = 0;
    running_ = false;
    clock_ = ticks_ = 0;
    nextTick_ = 0;
}

bool Player::Install(std::uint64_t ticket, std::shared_ptr<const PreparedMovie> movie)
{
    {
        std::lock_guard lock(mu_);
        if (ticket != expected_) return false;
        ResetLocked();
        installed_ = ticket;
        movie_ = std::move(movie);
        if (movie_ && !movie_->movie.main.frames.empty()) {
            running_ = play_ == Play::On && movie_->movie.main.frames.size() > 1;
            nextTick_ = SampleOfTick(1);
            EnterFrame(0, true);
        }
    }
    ready_.notify_all();
    return true;
}

bool Player::WaitReady(std::chrono::milliseconds timeout) const
{
    std::unique_lock lock(mu_);
    return ready_.wait_for(lock, timeout, [this] { return installed_ == expected_; });
}

bool Player::HasMovie() const
{
    std::lock_guard lock(mu_);
    return movie_ != nullptr;
}

std::size_t Player::PlayingSounds() const
{
    std::lock_guard lock(mu_);
    return instances_.size();
}

int Player::CurrentFrame() const
{
    std::lock_guard lock(mu_);
    return movie_ ? static_cast<int>(frame_) : -1;
}

std::uint64_t Player::SampleOfTick(std::uint64_t tick) const
{
    return static_cast<std::uint64_t>(std::llround(static_cast<double>(tick) * kOutputRate / movie_->frameRate));
}

void Player::EnterFrame(std::size_t frame, bool jumped)
{
    const auto& frames = movie_->movie.main.frames;
    std::size_t work = 0; // events run in this step, over every jump
    for (int jumps = 0;; ++jumps) {
        frame_ = frame;
        const Frame& f = frames[frame];
        if (jumped) StopStream();
        if (f.streamBlock) {
            const bool streaming = std::any_of(instances_.begin(), instances_.end(),
                                               [](const Instance& i) { return i.soundId < 0; });
            if (!streaming) StartStream(*f.streamBlock);
        }
        std::optional<std::uint16_t> jumpTo;
        for (const FrameEvent& e : f.events) {
            if (++work > kMaxEventsPerFrame) return;
            if (e.kind == FrameEvent::Kind::StartSound) {
                StartSound(e.soundId, e.info);
                continue;
            }
            switch (e.action) {
            case ActionKind::Play:
                if (play_ == Play::On && frames.size() > 1) running_ = true;
                break;
            case ActionKind::Stop:
                running_ = false;
                StopStream();
                break;
            case ActionKind::StopSounds: instances_.clear(); break;
            case ActionKind::GotoFrame:
                if (play_ == Play::On) jumpTo = e.frame;
                break;
            }
        }
        if (!jumpTo || jumps >= kMaxJumpsPerFrame) return;
        frame = std::min<std::size_t>(*jumpTo, frames.size() - 1);
        jumped = true;
    }
}

void Player::StartSound(std::uint16_t id, const SoundInfo& info)
{
    const auto it = movie_->sounds.find(id);
    if (it == movie_->sounds.end()) return;
    const auto sameSound = [id](const Instance& i) { return i.soundId == id; };
    if (info.syncStop) {
        std::erase_if(instances_, sameSound);
        return;
    }
    if (info.syncNoMultiple && std::any_of(instances_.begin(), instances_.end(), sameSound)) return;
    if (instances_.size() >= kMaxInstances) return;
    const Pcm& pcm = it->second;
    const std::size_t frames = pcm.Frames();
    const auto at = [&](std::uint32_t pos44) {
        return std::min<std::size_t>(frames, static_cast<std::size_t>(pos44 * pcm.rate / kOutputRate));
    };
    Instance inst;
    inst.pcm = &pcm;
    inst.soundId = id;
    inst.begin = info.inPoint ? at(*info.inPoint) : 0;
    inst.end = info.outPoint ? at(*info.outPoint) : frames;
    if (inst.end <= inst.begin) return;
    inst.pos = static_cast<double>(inst.begin);
    inst.step = pcm.rate / kOutputRate;
    inst.loopsLeft = std::max<unsigned>(1, info.loops);
    instances_.push_back(inst);
}

void Player::StartStream(std::size_t block)
{
    const auto& stream = movie_->stream;
    if (!stream || block >= stream->blockStart.size()) return;
    if (instances_.size() >= kMaxInstances) return;
    Instance inst;
    inst.pcm = &stream->pcm;
    inst.begin = stream->blockStart[block];
    inst.end = stream->pcm.Frames();
    if (inst.end <= inst.begin) return;
    inst.pos = static_cast<double>(inst.begin);
    inst.step = stream->pcm.rate / kOutputRate;
    instances_.push_back(inst);
}

void Player::StopStream()
{
    std::erase_if(instances_, [](const Instance& i) { return i.soundId < 0; });
}

bool Player::Render(std::int32_t* acc, std::size_t frames)
{
    std::lock_guard lock(mu_);
    if (!movie_) return false;
    bool sounded = false;
    std::size_t done = 0;
    while (done < frames) {
        std::size_t n = frames - done;
        if (running_) {
            if (clock_ >= nextTick_) {
                ++ticks_;
                nextTick_ = SampleOfTick(ticks_ + 1);
                const std::size_t next = frame_ + 1 < movie_->movie.main.frames.size() ? frame_ + 1 : 0;
                EnterFrame(next, next == 0);
                continue;
            }
            n = std::min<std::uint64_t>(n, nextTick_ - clock_);
        }
        sounded |= MixInstances(acc + 2 * done, n);
        clock_ += n;
        done += n;
    }
    return sounded;
}

WD_NO_COVERAGE bool Player::MixInstances(std::int32_t* acc, std::size_t frames)
{
    if (instances_.empty()) return false;
    for (Instance& inst : instances_) {
        const std::int16_t* s = inst.pcm->samples.data();
        const bool stereo = inst.pcm->channels == 2;
        const auto end = static_cast<double>(inst.end);
        const std::size_t last = inst.end - 1;
        for (std::size_t i = 0; i < frames;) {
            if (inst.pos >= end) {
                if (--inst.loopsLeft == 0) break;
                inst.pos = static_cast<double>(inst.begin);
            }
            // Output frames before this pass reaches the end of the sound.
            const auto run = std::min<std::size_t>(frames - i, static_cast<std::size_t>(std::ceil((end - inst.pos) / inst.step)));
            double pos = inst.pos;
            for (std::size_t j = i; j < i + run; ++j, pos += inst.step) {
                const auto idx = std::min(static_cast<std::size_t>(pos), last);
                const double frac = pos - static_cast<double>(idx);
                const std::size_t nxt = idx < last ? idx + 1 : idx;
                if (stereo) {
                    acc[2 * j] += static_cast<std::int32_t>(s[2 * idx] + frac * (s[2 * nxt] - s[2 * idx]));
                    acc[2 * j + 1] += static_cast<std::int32_t>(s[2 * idx + 1] + frac * (s[2 * nxt + 1] - s[2 * idx + 1]));
                } else {
                    const auto v = static_cast<std::int32_t>(s[idx] + frac * (s[nxt] - s[idx]));
                    acc[2 * j] += v;
                    acc[2 * j + 1] += v;
                }
            }
            inst.pos = pos;
            i += run;
        }
    }
    std::erase_if(instances_, [](const Instance& i) { return i.loopsLeft == 0; });
    return true;
}

} // namespace wd::swfplay
