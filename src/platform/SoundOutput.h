#pragma once
// The game's one sound output: every animation panel's player is mixed into a
// single stream at 44.1 kHz, stereo, 16 bits, which opens the first time
// something plays. Without an audio device, or once the device fails (the sound
// server went away), the game runs on silently and opens the output again on
// the next SetMovie, and every few seconds while some panel has a movie, until
// it is back. Each turn between sound and silence is noted once in the log.
#include <functional>
#include <memory>

#include <QAudioDevice>
#include <QLoggingCategory>

#include "platform/swf/Mixer.h"

class QTimer;

namespace wd {

Q_DECLARE_LOGGING_CATEGORY(lcSound)

inline constexpr int kSoundRetryMs = 3000;

// One open stream to an audio device, pulling the mixer until it is destroyed.
class AudioStream {
public:
    virtual ~AudioStream() = default;
    // False once the device has failed.
    virtual bool Healthy() const = 0;
};

// Opens a stream that plays the mixer; nothing when no device can play. A
// stream that fails later calls `failed` on the GUI thread.
using AudioOpener =
    std::function<std::unique_ptr<AudioStream>(swfplay::Mixer& mixer, std::function<void()> failed)>;

class SoundOutput {
public:
    static SoundOutput& Instance();

    swfplay::Mixer& Mixer() { return mixer_; }

    // Opens the output unless it is open and well. Call from the GUI thread.
    void Start();
    bool Audible() const;

    // Test seams. How the output opens, and how long a retry waits; a null
    // opener never opens anything (the mixer is pulled by hand). Closes an
    // open output.
    void UseOpener(AudioOpener opener, int retryMs = kSoundRetryMs);
    // A QAudioSink on this device; a null device means there is none.
    void UseDevice(const QAudioDevice& device);
    void DisableDevice() { UseOpener(nullptr); }
    bool RetryPending() const;

    ~SoundOutput();

private:
    SoundOutput();
    void Close();
    void GoneSilent(const char* why);
    void RetryLater();

    swfplay::Mixer mixer_;
    AudioOpener opener_;
    int retryMs_ = kSoundRetryMs;
    std::unique_ptr<AudioStream> stream_;
    std::unique_ptr<QTimer> retry_;
    bool silent_ = false; // the log last said the output is silent
};

} // namespace wd
