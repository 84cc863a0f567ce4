#include "platform/SoundOutput.h"

#include <optional>

#include <QAudioFormat>
#include <QAudioSink>
#include <QCoreApplication>
#include <QIODevice>
#include <QMediaDevices>
#include <QTimer>

namespace wd {

Q_LOGGING_CATEGORY(lcSound, "wd.sound")

namespace {

// What the sink reads from: the mixer, never short of data.
class MixerDevice : public QIODevice {
public:
    explicit MixerDevice(swfplay::Mixer& mixer) : mixer_(mixer) {}
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override { return 4 * 4096 + QIODevice::bytesAvailable(); }

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        const auto frames = static_cast<std::size_t>(maxSize / 4);
        if (frames == 0) return 0;
        mixer_.Pull(reinterpret_cast<std::int16_t*>(data), frames);
        return static_cast<qint64>(frames * 4);
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    swfplay::Mixer& mixer_;
};

class SinkStream : public AudioStream {
public:
    SinkStream(swfplay::Mixer& mixer, const QAudioDevice& device, const QAudioFormat& format,
               std::function<void()> failed)
        : source_(mixer), sink_(device, format)
    {
        source_.open(QIODevice::ReadOnly);
        sink_.setBufferSize(4 * 4410); // 100 ms
        QObject::connect(&sink_, &QAudioSink::stateChanged, &sink_, [this, failed = std::move(failed)] {
            if (!Healthy()) failed();
        });
        sink_.start(&source_);
    }
    ~SinkStream() override { sink_.stop(); }
    bool Healthy() const override
    {
        const auto e = sink_.error();
        return e == QAudio::NoError || e == QAudio::UnderrunError;
    }

private:
    MixerDevice source_;
    QAudioSink sink_;
};

// A sink on `chosen`, or on the system's default output as it is at each
// opening: after the sound server comes back, that is a new device.
AudioOpener SinkOpener(std::optional<QAudioDevice> chosen)
{
    return [chosen](swfplay::Mixer& mixer, std::function<void()> failed) -> std::unique_ptr<AudioStream> {
        if (chosen && chosen->isNull()) return nullptr;
        const QAudioDevice device = chosen ? *chosen : QMediaDevices::defaultAudioOutput();
        QAudioFormat format;
        format.setSampleRate(swfplay::kOutputRate);
        format.setChannelCount(2);
        format.setSampleFormat(QAudioFormat::Int16);
        if (device.isNull() || !device.isFormatSupported(format)) return nullptr;
        auto stream = std::make_unique<SinkStream>(mixer, device, format, std::move(failed));
        if (!stream->Healthy()) return nullptr;
        return stream;
    };
}

} // namespace

SoundOutput& SoundOutput::Instance()
{
    static SoundOutput output;
    return output;
}

SoundOutput::SoundOutput() : opener_(SinkOpener(std::nullopt))
{
    // The sink and the timer belong to the application's lifetime, not the
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

void SoundOutput::UseDevice(const QAudioDevice& device) { UseOpener(SinkOpener(device)); }

bool SoundOutput::Audible() const { return stream_ && stream_->Healthy(); }

bool SoundOutput::RetryPending() const { return retry_ && retry_->isActive(); }

void SoundOutput::Start()
{
    if (Audible()) return;
    stream_.reset(); // a failed stream closes before another opens
    if (!opener_ || !QCoreApplication::instance()) return;
    stream_ = opener_(mixer_, [this] {
        GoneSilent("the audio output failed");
        RetryLater();
    });
    if (Audible()) {
        if (silent_) qCInfo(lcSound, "the audio output is back");
        silent_ = false;
        if (retry_) retry_->stop();
        return;
    }
    stream_.reset();
    GoneSilent("no usable audio output");
    RetryLater();
}

void SoundOutput::GoneSilent(const char* why)
{
    if (!silent_) qCInfo(lcSound, "%s; the movies play silently until it comes back", why);
    silent_ = true;
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
