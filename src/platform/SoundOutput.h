// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The game's one sound output: every animation panel's player is mixed into a
// single stream at 44.1 kHz, stereo, 16 bits, played through the sound server
// (PulseAudio, or PipeWire in its place). It opens the first time something
// plays. Without a server, or once the server goes away, the game runs on
// silently and opens the output again on the next SetMovie, and every few
// seconds while some panel has a movie, until it is back. Each turn between
// sound and silence is noted once in the log.
#include <functional>
#include <memory>
#include <string>

#include "platform/swf/Mixer.h"

class QTimer;

namespace wd {

inline constexpr int kSoundRetryMs = 3000;

// One open stream to the sound server, pulling the mixer until destroyed.
// Destroying it returns at once, whatever the server does, and leaves nothing
// running that could touch the mixer.
class AudioStream {
public:
    enum class State { Opening, Playing, Broken };
    virtual ~AudioStream() = default;
    virtual State Now() const = 0;
};

// Opens a stream that plays the mixer, or nothing when none can be. The stream
// tells `changed` on the GUI thread when it starts playing and when it breaks.
using AudioOpener = std::function<std::unique_ptr<AudioStream>(
    swfplay::Mixer& mixer, std::function<void(AudioStream::State)> changed)>;

class SoundOutput {
public:
    static SoundOutput& Instance();

    swfplay::Mixer& Mixer() { return mixer_; }

    // Opens the output unless it is open or opening. Call from the GUI thread.
    void Start();
    bool Audible() const;

    // Test seams. How the output opens, and how long a retry waits; a null
    // opener never opens anything (the mixer is pulled by hand). Closes an
    // open output.
    void UseOpener(AudioOpener opener, int retryMs = kSoundRetryMs);
    // The real output, on the sound server at this address ("" for the
    // system's own).
    void UseServer(const std::string& server, int retryMs = kSoundRetryMs);
    void DisableDevice() { UseOpener(nullptr); }
    bool RetryPending() const;

    ~SoundOutput();

private:
    SoundOutput();
    void Close();
    void Changed(AudioStream::State state);
    void RetryLater();

    swfplay::Mixer mixer_; // outlives every stream
    AudioOpener opener_;
    int retryMs_ = kSoundRetryMs;
    std::unique_ptr<AudioStream> stream_;
    std::unique_ptr<QTimer> retry_;
    bool silent_ = false; // the log last said the output is silent
};

} // namespace wd
