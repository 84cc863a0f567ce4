#pragma once
// The game's one sound output: every animation panel's player is mixed into a
// single QAudioSink at 44.1 kHz, stereo, 16 bits. The sink opens the first time
// something plays. Without an audio device (or once the device fails) the game
// runs as before and nothing is heard; that is noted once in the log.
#include <memory>

#include <QAudioDevice>

#include "platform/swf/Mixer.h"

namespace wd {

class SoundOutput {
public:
    static SoundOutput& Instance();

    swfplay::Mixer& Mixer() { return mixer_; }

    // Opens the device if it is not open yet. Call from the GUI thread.
    void Start();
    // Test seam: use this device instead of the system's default; a null
    // device means there is none. Closes an open sink.
    void UseDevice(const QAudioDevice& device);
    // Test seam: never open a device; the mixer is pulled by hand.
    void DisableDevice() { UseDevice(QAudioDevice{}); }
    bool Audible() const;

    ~SoundOutput();

private:
    SoundOutput();
    void Close();

    struct Sink;
    swfplay::Mixer mixer_;
    std::unique_ptr<Sink> sink_;
    bool deviceChosen_ = false;
    QAudioDevice device_;
    bool warned_ = false;
};

} // namespace wd
