#include "platform/SoundOutput.h"

#include <QAudioFormat>
#include <QAudioSink>
#include <QCoreApplication>
#include <QIODevice>
#include <QMediaDevices>
#include <QtDebug>

namespace wd {

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

} // namespace

struct SoundOutput::Sink {
    MixerDevice source;
    std::unique_ptr<QAudioSink> sink;
    explicit Sink(swfplay::Mixer& mixer) : source(mixer) {}
    ~Sink()
    {
        if (sink) sink->stop();
    }
};

SoundOutput& SoundOutput::Instance()
{
    static SoundOutput output;
    return output;
}

SoundOutput::SoundOutput()
{
    // The sink belongs to the application's lifetime, not the process's: close
    // it while QCoreApplication still exists.
    qAddPostRoutine([] { Instance().Close(); });
}

SoundOutput::~SoundOutput() = default;

void SoundOutput::Close() { sink_.reset(); }

void SoundOutput::UseDevice(const QAudioDevice& device)
{
    Close();
    device_ = device;
    deviceChosen_ = true;
}

bool SoundOutput::Audible() const { return sink_ && sink_->sink && sink_->sink->error() == QAudio::NoError; }

void SoundOutput::Start()
{
    if (sink_) {
        if (sink_->sink->error() == QAudio::NoError) return;
        Close(); // the device went away: stay silent from now on
        deviceChosen_ = true;
        device_ = QAudioDevice{};
    }
    if (!QCoreApplication::instance()) return;
    if (!deviceChosen_) {
        device_ = QMediaDevices::defaultAudioOutput();
        deviceChosen_ = true;
    }
    QAudioFormat format;
    format.setSampleRate(swfplay::kOutputRate);
    format.setChannelCount(2);
    format.setSampleFormat(QAudioFormat::Int16);
    if (device_.isNull() || !device_.isFormatSupported(format)) {
        if (!warned_) qInfo("sound: no usable audio output; the movies play silently");
        warned_ = true;
        return;
    }
    auto sink = std::make_unique<Sink>(mixer_);
    sink->source.open(QIODevice::ReadOnly);
    sink->sink = std::make_unique<QAudioSink>(device_, format);
    sink->sink->setBufferSize(4 * 4410); // 100 ms
    sink->sink->start(&sink->source);
    if (sink->sink->error() != QAudio::NoError) {
        if (!warned_) qInfo("sound: the audio output failed to start; the movies play silently");
        warned_ = true;
        device_ = QAudioDevice{};
        return;
    }
    sink_ = std::move(sink);
}

} // namespace wd
