// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/SoundOutput.h"

#include <atomic>
#include <vector>

#include <pulse/pulseaudio.h>

#include <QCoreApplication>
#include <QTimer>

#include "platform/Logging.h"

namespace wd {

namespace {

constexpr std::size_t kFrameBytes = 2 * sizeof(std::int16_t);

// A stream runs on libpulse's threaded main loop. Its thread waits only in
// poll() on the server's socket and runs the callbacks below, none of which
// waits for the server: the server asks for data and the mixer fills it at
// once, so the server's pace is the mix's pace. A server that stalls (stopped,
// its socket full, no reply) therefore holds nothing back: closing stops the
// loop, which wakes the thread and joins it, then drops the connection. When
// the stream is gone, no thread of it is left and none touches the mixer.
class PulseStream : public AudioStream {
public:
    PulseStream(swfplay::Mixer& mixer, std::function<void(State)> changed, const std::string& server)
        : mixer_(mixer), changed_(std::move(changed)), loop_(pa_threaded_mainloop_new())
    {
        // Every opening is a new connection, so a server that went away and
        // came back is found again.
        if (loop_) context_ = pa_context_new(pa_threaded_mainloop_get_api(loop_), "WenDingWuGuan");
        if (context_) {
            pa_threaded_mainloop_set_name(loop_, "sound-output");
            pa_context_set_state_callback(context_, ContextChanged, this);
        }
        if (!context_ || pa_context_connect(context_, server.empty() ? nullptr : server.c_str(), PA_CONTEXT_NOFLAGS, nullptr) < 0 ||
            pa_threaded_mainloop_start(loop_) < 0)
            Tell(State::Broken);
    }

    ~PulseStream() override
    {
        if (!loop_) return;
        pa_threaded_mainloop_stop(loop_); // joins the loop's thread
        if (stream_) {
            pa_stream_set_state_callback(stream_, nullptr, nullptr);
            pa_stream_set_write_callback(stream_, nullptr, nullptr);
            pa_stream_disconnect(stream_);
            pa_stream_unref(stream_);
        }
        if (context_) {
            pa_context_set_state_callback(context_, nullptr, nullptr);
            pa_context_disconnect(context_);
            pa_context_unref(context_);
        }
        pa_threaded_mainloop_free(loop_);
    }

    State Now() const override { return state_; }

private:
    // On the loop's thread, or in the constructor. The call reaches the GUI
    // thread through gui_, which outlives the loop's thread.
    void Tell(State state)
    {
        if (state_ == State::Broken || state_.exchange(state) == state) return;
        QMetaObject::invokeMethod(&gui_, [this, state] { changed_(state); }, Qt::QueuedConnection);
    }

    static void ContextChanged(pa_context* context, void* self)
    {
        auto& me = *static_cast<PulseStream*>(self);
        const auto state = pa_context_get_state(context);
        if (state == PA_CONTEXT_READY) me.Open();
        else if (!PA_CONTEXT_IS_GOOD(state)) me.Tell(State::Broken);
    }

    // The server's buffer holds 100 ms.
    void Open()
    {
        const pa_sample_spec format{PA_SAMPLE_S16LE, swfplay::kOutputRate, 2};
        pa_buffer_attr attr;
        attr.maxlength = attr.prebuf = attr.minreq = attr.fragsize = UINT32_MAX; // the server's choice
        attr.tlength = kFrameBytes * swfplay::kOutputRate / 10;
        stream_ = pa_stream_new(context_, "movies", &format, nullptr);
        if (!stream_) return Tell(State::Broken);
        pa_stream_set_state_callback(stream_, StreamChanged, this);
        pa_stream_set_write_callback(stream_, Write, this);
        if (pa_stream_connect_playback(stream_, nullptr, &attr, PA_STREAM_ADJUST_LATENCY, nullptr, nullptr) < 0)
            Tell(State::Broken);
    }

    static void StreamChanged(pa_stream* stream, void* self)
    {
        auto& me = *static_cast<PulseStream*>(self);
        const auto state = pa_stream_get_state(stream);
        if (state == PA_STREAM_READY) me.Tell(State::Playing);
        else if (!PA_STREAM_IS_GOOD(state)) me.Tell(State::Broken);
    }

    static void Write(pa_stream* stream, std::size_t bytes, void* self)
    {
        auto& me = *static_cast<PulseStream*>(self);
        const std::size_t frames = bytes / kFrameBytes;
        if (frames == 0) return;
        me.buffer_.resize(2 * frames);
        me.mixer_.Pull(me.buffer_.data(), frames);
        if (pa_stream_write(stream, me.buffer_.data(), frames * kFrameBytes, nullptr, 0, PA_SEEK_RELATIVE) < 0)
            me.Tell(State::Broken);
    }

    swfplay::Mixer& mixer_;
    std::function<void(State)> changed_;
    QObject gui_;
    std::atomic<State> state_{State::Opening};
    std::vector<std::int16_t> buffer_;
    pa_threaded_mainloop* loop_;
    pa_context* context_ = nullptr;
    pa_stream* stream_ = nullptr;
};

} // namespace

SoundOutput& SoundOutput::Instance()
{
    static SoundOutput output;
    return output;
}

SoundOutput::SoundOutput()
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
    UseOpener(
        [server](swfplay::Mixer& mixer, std::function<void(AudioStream::State)> changed) {
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
    stream_ = opener_(mixer_, [this](AudioStream::State state) { Changed(state); });
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
            if (mixer_.AnyMovie()) Start();
        });
    }
    retry_->setInterval(retryMs_);
    if (!retry_->isActive()) retry_->start();
}

} // namespace wd
