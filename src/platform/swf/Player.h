// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The timeline of one panel's movie, run on the output's sample clock.
//
// Frames advance at the movie's frame rate counted in output samples, so every
// sound starts at its frame's time to the sample. StartSound honours its
// SOUNDINFO: SyncStop stops every instance of the sound, SyncNoMultiple starts
// it only when it is not playing, loops replay the part between the in and out
// points (counted in 44.1 kHz samples). Envelopes are read but ignored: every
// sound plays at full level. The main timeline's stream sound plays in step
// with the frames and restarts when the timeline jumps or loops. DoAction's
// Play, Stop, StopSounds and GotoFrame act on the main timeline; other actions
// are ignored. Sounds inside sprites are not played.
//
// Play on runs the timeline and loops from the last frame back to the first;
// play off runs the first frame only (its sounds start, its StopSounds and
// Stop count, Play and GotoFrame do not). A movie of one frame never plays its
// frame twice.
//
// Thread safety: Render runs on the output's thread, Install and Clear on any
// other; one mutex guards the state.
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/swf/PreparedMovie.h"

namespace wd::swfplay {

inline constexpr int kOutputRate = 44100;

class Player {
public:
    enum class Play { Off, On };
    explicit Player(Play play) : play_(play) {}

    // Removes the current movie and returns a ticket for the one to come: only
    // an Install with the latest ticket takes effect, so a slow load that has
    // been overtaken by another SetMovie is dropped.
    std::uint64_t Expect();
    // Removes the current movie; nothing is awaited.
    void Clear();
    // Starts the movie (or silence for nothing) if the ticket is still the
    // latest; false otherwise.
    bool Install(std::uint64_t ticket, std::shared_ptr<const PreparedMovie> movie);
    // Waits until the latest expected movie has been installed (or the panel
    // cleared). For tests and benchmarks.
    bool WaitReady(std::chrono::milliseconds timeout) const;

    // Adds `frames` stereo frames of this movie's sound to acc (interleaved
    // left/right) and moves the timeline on by as much. False when nothing
    // sounded, so the mixer can skip silent stretches.
    bool Render(std::int32_t* acc, std::size_t frames);

    bool HasMovie() const;
    std::size_t PlayingSounds() const;
    int CurrentFrame() const; // 0-based; -1 without a movie

private:
    struct Instance {
        const Pcm* pcm = nullptr;
        int soundId = -1; // -1: the stream sound
        double pos = 0;
        double step = 1;
        std::size_t begin = 0;
        std::size_t end = 0;
        unsigned loopsLeft = 1;
    };

    void ResetLocked();
    void EnterFrame(std::size_t frame, bool jumped);
    void StartSound(std::uint16_t id, const SoundInfo& info);
    void StartStream(std::size_t block);
    void StopStream();
    bool MixInstances(std::int32_t* acc, std::size_t frames);
    std::uint64_t SampleOfTick(std::uint64_t tick) const;

    const Play play_;
    mutable std::mutex mu_;
    mutable std::condition_variable ready_;
    std::uint64_t expected_ = 0;
    std::uint64_t installed_ = 0;

    std::shared_ptr<const PreparedMovie> movie_;
    std::vector<Instance> instances_;
    std::size_t frame_ = 0;
    bool running_ = false;
    std::uint64_t clock_ = 0;   // output samples since the movie started
    std::uint64_t ticks_ = 0;   // frame advances since the movie started
    std::uint64_t nextTick_ = 0;
};

} // namespace wd::swfplay
