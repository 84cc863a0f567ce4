// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/SoundOutput.h"

#include <array>
#include <atomic>
#include <mutex>
#include <thread>

#include <pulse/simple.h>

#include <QCoreApplication>
#include <QTimer>

#include "platform/Logging.h"

namespace wd {

namespace {

// What a stream shares with its thread. The thread holds the mixer too, so it
// may run on for a moment after its stream is closed; it never blocks the GUI
// thread, not even while it connects. The stream closes while the application
// still exists (SoundOutput::Close), and once it is closed the thread no longer
// touches Qt: the lock keeps a post from racing the close.
struct PulseShared {
    std::shared_ptr<swfplay::Mixer> mixer;
    std::function<void(AudioStream::State)> changed;
    std::atomic<AudioStream::State> state{AudioStream::State::Opening};
    std::atomic<bool> closed{false};
    std::mutex posting;

    void Close()
    {
        const std::lock_guard lock(posting);
        closed = true;
    }
};

void Tell(const std::shared_ptr<PulseShared>& shared, AudioStream::State state)
{
    shared->state = state;
    const std::lock_guard lock(shared->posting);
    if (shared->closed) return;
    if (auto* app = QCoreApplication::instance())
        QMetaObject::invokeMethod(
            app, [shared, state] { if (!shared->closed) shared->changed(state); }, Qt::QueuedConnection);
}

// Every opening is a new connection, so a server that went away and came back
// is found again. The server's buffer holds 100 ms; a write blocks until there
// is room, which paces the mix.
void Play(const std::shared_ptr<PulseShared>& shared, const std::string& server)
{
    const pa_sample_spec format{PA_SAMPLE_S16LE, swfplay::kOutputRate, 2};
    pa_buffer_attr attr;
    attr.maxlength = attr.prebuf = attr.minreq = attr.fragsize = UINT32_MAX; // the server's choice
    attr.tlength = 4 * swfplay::kOutputRate / 10;
    int error = 0;
    pa_simple* s = pa_simple_new(server.empty() ? nullptr : server.c_str(), "WenDingWuGuan", PA_STREAM_PLAYBACK,
                                 nullptr, "movies", &format, nullptr, &attr, &error);
    if (!s) return Tell(shared, AudioStream::State::Broken);
    Tell(shared, AudioStream::State::Playing);
    std::array<std::int16_t, 2 * 1024> buffer{};
    while (!shared->closed) {
        shared->mixer->Pull(buffer.data(), buffer.size() / 2);
        if (pa_simple_write(s, buffer.data(), sizeof buffer, &error) < 0) {
            Tell(shared, AudioStream::State::Broken);
            break;
        }
    }
    pa_simple_free(s);
}

class PulseStream : public AudioStream {
public:
    PulseStream(std::shared_ptr<swfplay::Mixer> mixer, std::function<void(State)> changed, const std::string& server)
        : shared_(std::make_shared<PulseShared>())
    {
        shared_->mixer = std::move(mixer);
        shared_->changed = std::move(changed);
        std::thread([shared = shared_, server] { Play(shared, server); }).detach();
    }
    ~PulseStream() override { shared_->Close(); }
    State Now() const override { return shared_->state; }

private:
    std::shared_ptr<PulseShared> shared_;
};

} // namespace

SoundOutput& SoundOutput::Instance()
{
    static SoundOutput output;
    return output;
}

SoundOutput::SoundOutput() : mixer_(std::make_shared<swfplay::Mixer>())
{
    UseServer("");
    // The stream and the timer belong to the application's lifetime, not the
    // process's: close them while QCoreApplication still exists.
    qAddPostRoutine([] { Instance().Close(); });
}

SoundOutput::~SoundOutput() = default;

void SoundOutput::Close()
{
    stream_.reset();
    retry_.reset();
}

void SoundOutput::UseOpener(AudioOpener opener, int retryMs)
{
    Close();
    opener_ = std::move(opener);
    retryMs_ = retryMs;
    silent_ = false;
}

void SoundOutput::UseServer(const std::string& server, int retryMs)
{
    auto mixer = mixer_;
    UseOpener(
        [mixer, server](swfplay::Mixer&, std::function<void(AudioStream::State)> changed) {
            return std::make_unique<PulseStream>(mixer, std::move(changed), server);
        },
        retryMs);
}

bool SoundOutput::Audible() const { return stream_ && stream_->Now() == AudioStream::State::Playing; }

bool SoundOutput::RetryPending() const { return retry_ && retry_->isActive(); }

void SoundOutput::Start()
{
    if (stream_ && stream_->Now() != AudioStream::State::Broken) return;
    stream_.reset(); // a broken stream closes before another opens
    if (!opener_ || !QCoreApplication::instance()) return;
    stream_ = opener_(*mixer_, [this](AudioStream::State state) { Changed(state); });
    if (!stream_) Changed(AudioStream::State::Broken);
}

void SoundOutput::Changed(AudioStream::State state)
{
    if (state == AudioStream::State::Playing) {
        if (silent_) qCInfo(lcSound, "the audio output is back");
        silent_ = false;
        if (retry_) retry_->stop();
        return;
    }
    if (state != AudioStream::State::Broken) return;
    if (!silent_) qCInfo(lcSound, "no audio output; the movies play silently until it comes back");
    silent_ = true;
    RetryLater();
}

void SoundOutput::RetryLater()
{
    if (!QCoreApplication::instance()) return;
    if (!retry_) {
        retry_ = std::make_unique<QTimer>();
        retry_->setSingleShot(true);
        // Only while something should be heard; otherwise the next SetMovie tries.
        QObject::connect(retry_.get(), &QTimer::timeout, [this] {
            if (mixer_->AnyMovie()) Start();
        });
    }
    retry_->setInterval(retryMs_);
    if (!retry_->isActive()) retry_->start();
}

} // namespace wd
