// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/swf/Decoders.h"

#include <algorithm>
#include <array>
#include <mutex>

#include <mpg123.h>

#include "platform/swf/AdpcmTables.h"
#include "platform/swf/ByteReader.h"

namespace wd::swfplay {

namespace {

using adpcm::IndexTable;
using adpcm::kStepTable;

struct AdpcmChannel {
    int predictor = 0;
    int index = 0;

    std::int16_t Step(std::uint32_t code, int bits, std::span<const int> indexTable)
    {
        int step = kStepTable[static_cast<std::size_t>(index)];
        const std::uint32_t signBit = 1u << (bits - 1);
        int diff = 0;
        for (std::uint32_t k = signBit >> 1; k != 0; k >>= 1) {
            if (code & k) diff += step;
            step >>= 1;
        }
        diff += step;
        predictor += (code & signBit) ? -diff : diff;
        predictor = std::clamp(predictor, -32768, 32767);
        index = std::clamp(index + indexTable[code & (signBit - 1)], 0, 88);
        return static_cast<std::int16_t>(predictor);
    }
};

// Room for `more` samples: storage grows geometrically, as a stream's blocks
// come one after another, but never past what the budget still allows.
void MakeRoom(std::vector<std::int16_t>& out, std::size_t more, const SampleBudget& budget)
{
    const std::size_t most = out.size() + budget.Left();
    const std::size_t need = std::min(out.size() + more, most);
    if (need > out.capacity()) out.reserve(std::min(std::max(need, 2 * out.capacity()), most));
}

} // namespace

void DecodeUncompressed(const SoundSpec& coding, std::span<const std::uint8_t> data, SampleBudget& budget,
                        std::vector<std::int16_t>& out)
{
    const std::size_t width = coding.sixteenBit ? 2 : 1;
    const std::size_t frameBytes = width * static_cast<std::size_t>(coding.Channels());
    const auto chans = static_cast<std::size_t>(coding.Channels());
    std::size_t samples = budget.Clamp(data.size() / frameBytes * chans) / chans * chans;
    MakeRoom(out, samples, budget);
    budget.Take(samples);
    for (std::size_t i = 0; i < samples; ++i) {
        if (coding.sixteenBit)
            out.push_back(static_cast<std::int16_t>(data[2 * i] | (data[2 * i + 1] << 8)));
        else
            out.push_back(static_cast<std::int16_t>((data[i] - 128) * 256));
    }
}

void DecodeAdpcm(std::span<const std::uint8_t> data, int channels, std::size_t maxFrames, SampleBudget& budget,
                 std::vector<std::int16_t>& out)
{
    if (channels < 1 || channels > 2) return;
    const auto chans = static_cast<std::size_t>(channels);
    BitReader in(data);
    const int bits = static_cast<int>(in.Bits(2)) + 2;
    if (in.Failed()) return;
    const auto indexTable = IndexTable(bits);
    // At most a frame for every `bits` bits of each channel.
    MakeRoom(out, std::min(maxFrames, data.size() * 8 / (static_cast<std::size_t>(bits) * chans) + 1) * chans, budget);
    std::array<AdpcmChannel, 2> ch{};
    std::size_t frames = 0;
    while (frames < maxFrames) {
        if (!in.Has(22 * chans) || !budget.Take(chans)) return;
        for (std::size_t c = 0; c < chans; ++c) {
            ch[c].predictor = in.SignedBits(16);
            ch[c].index = std::min<int>(static_cast<int>(in.Bits(6)), 88);
            out.push_back(static_cast<std::int16_t>(ch[c].predictor));
        }
        ++frames;
        for (int i = 0; i < 4095 && frames < maxFrames; ++i) {
            if (!in.Has(static_cast<std::size_t>(bits) * chans) || !budget.Take(chans)) return;
            for (std::size_t c = 0; c < chans; ++c) out.push_back(ch[c].Step(in.Bits(bits), bits, indexTable));
            ++frames;
        }
    }
}

struct Mp3Decoder::Handle {
    mpg123_handle* mh = nullptr;
    ~Handle()
    {
        if (mh) mpg123_delete(mh);
    }
};

Mp3Decoder::Mp3Decoder() : h_(std::make_unique<Handle>())
{
    static std::once_flag once;
    std::call_once(once, [] { mpg123_init(); });
    int err = 0;
    h_->mh = mpg123_new(nullptr, &err);
    if (!h_->mh) {
        dead_ = true;
        return;
    }
    mpg123_param(h_->mh, MPG123_ADD_FLAGS, MPG123_QUIET, 0);
    mpg123_param(h_->mh, MPG123_REMOVE_FLAGS, MPG123_GAPLESS, 0);
    mpg123_format_none(h_->mh);
    const long* rates = nullptr;
    std::size_t n = 0;
    mpg123_rates(&rates, &n);
    for (std::size_t i = 0; i < n; ++i)
        mpg123_format(h_->mh, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);
    if (mpg123_open_feed(h_->mh) != MPG123_OK) dead_ = true;
}

Mp3Decoder::~Mp3Decoder() = default;

void Mp3Decoder::Feed(std::span<const std::uint8_t> data, SampleBudget& budget, std::vector<std::int16_t>& out,
                      std::size_t maxSamples)
{
    if (dead_ || data.empty() || budget.Clamp(1) == 0) return;
    std::array<std::int16_t, 4608> buf{};
    std::size_t taken = 0;
    const unsigned char* in = data.data();
    std::size_t inSize = data.size();
    for (;;) {
        std::size_t done = 0;
        const int rc = mpg123_decode(h_->mh, in, inSize, buf.data(), sizeof buf, &done);
        in = nullptr;
        inSize = 0;
        if (rc == MPG123_NEW_FORMAT) {
            long rate = 0;
            int chans = 0;
            int enc = 0;
            mpg123_getformat(h_->mh, &rate, &chans, &enc);
            if (rate <= 0 || chans < 1 || chans > 2 || enc != MPG123_ENC_SIGNED_16 ||
                (HasFormat() && (rate != rate_ || chans != channels_))) {
                dead_ = true;
                return;
            }
            rate_ = static_cast<double>(rate);
            channels_ = chans;
        }
        std::size_t samples = done / sizeof(std::int16_t);
        if (samples > 0 && channels_ > 0) {
            samples = budget.Clamp(std::min(samples, maxSamples - taken));
            samples -= samples % static_cast<std::size_t>(channels_);
            MakeRoom(out, samples, budget);
            budget.Take(samples);
            out.insert(out.end(), buf.begin(), buf.begin() + static_cast<std::ptrdiff_t>(samples));
            taken += samples;
            if (taken >= maxSamples || budget.Left() < static_cast<std::size_t>(channels_)) return;
        }
        if (rc == MPG123_NEED_MORE || rc == MPG123_DONE) return;
        if (rc != MPG123_OK && rc != MPG123_NEW_FORMAT) {
            dead_ = true;
            return;
        }
    }
}

std::optional<Pcm> DecodeEventSound(const DefinedSound& sound, SampleBudget& budget)
{
    Pcm pcm;
    pcm.rate = sound.coding.Rate();
    pcm.channels = sound.coding.Channels();
    switch (static_cast<SoundFormat>(sound.coding.format)) {
    case SoundFormat::PcmNative:
    case SoundFormat::PcmLittle: DecodeUncompressed(sound.coding, sound.data, budget, pcm.samples); break;
    case SoundFormat::Adpcm:
        DecodeAdpcm(sound.data, pcm.channels, sound.sampleCount > 0 ? sound.sampleCount : SIZE_MAX, budget,
                    pcm.samples);
        break;
    case SoundFormat::Mp3: {
        ByteReader r(sound.data);
        const std::int16_t seek = r.S16();
        if (r.Failed()) return std::nullopt;
        const std::size_t skip = seek > 0 ? static_cast<std::size_t>(seek) : 0;
        const std::size_t wantFrames = skip + sound.sampleCount;
        Mp3Decoder mp3;
        // The channel count is known only once decoding starts; two channels
        // at most, so this bounds the work to what is kept.
        mp3.Feed(r.Rest(), budget, pcm.samples, wantFrames * 2);
        if (!mp3.HasFormat()) return std::nullopt;
        pcm.rate = mp3.Rate(); // the MP3's own rate; the SWF's field may lie
        pcm.channels = mp3.Channels();
        const std::size_t chans = static_cast<std::size_t>(pcm.channels);
        const std::size_t have = pcm.samples.size() / chans;
        const std::size_t from = std::min(skip, have);
        const std::size_t to = std::min(wantFrames, have);
        pcm.samples.resize(to * chans);
        pcm.samples.erase(pcm.samples.begin(), pcm.samples.begin() + static_cast<std::ptrdiff_t>(from * chans));
        break;
    }
    default: return std::nullopt; // Nellymoser, Speex and the rest: no sound
    }
    if (pcm.samples.empty()) return std::nullopt;
    return pcm;
}

std::optional<StreamPcm> DecodeStream(const Timeline& timeline, SampleBudget& budget)
{
    if (!timeline.streamHead || timeline.streamBlocks.empty()) return std::nullopt;
    const StreamHead& head = *timeline.streamHead;
    StreamPcm out;
    out.pcm.rate = head.coding.Rate();
    out.pcm.channels = head.coding.Channels();
    const auto format = static_cast<SoundFormat>(head.coding.format);
    std::unique_ptr<Mp3Decoder> mp3;
    if (format == SoundFormat::Mp3) mp3 = std::make_unique<Mp3Decoder>();
    // Counted in samples while decoding: an MP3 tells its channel count only
    // once it has decoded a frame.
    std::vector<std::size_t> startSample;
    for (const auto& block : timeline.streamBlocks) {
        if (budget.Clamp(1) == 0) break; // the rest of the stream stays silent
        startSample.push_back(out.pcm.samples.size());
        switch (format) {
        case SoundFormat::PcmNative:
        case SoundFormat::PcmLittle: DecodeUncompressed(head.coding, block, budget, out.pcm.samples); break;
        case SoundFormat::Adpcm:
            DecodeAdpcm(block, out.pcm.channels, head.samplesPerBlock > 0 ? head.samplesPerBlock : SIZE_MAX, budget,
                        out.pcm.samples);
            break;
        case SoundFormat::Mp3: {
            ByteReader r(block);
            r.U16(); // SampleCount of this block
            r.S16(); // SeekSamples of this block
            if (!r.Failed()) mp3->Feed(r.Rest(), budget, out.pcm.samples);
            break;
        }
        default: return std::nullopt; // a format the player does not decode
        }
    }
    if (mp3) {
        if (!mp3->HasFormat()) return std::nullopt;
        out.pcm.rate = mp3->Rate(); // the MP3's own rate; the SWF's field may lie
        out.pcm.channels = mp3->Channels();
    }
    if (out.pcm.samples.empty()) return std::nullopt;
    const auto chans = static_cast<std::size_t>(out.pcm.channels);
    out.pcm.samples.resize(out.pcm.samples.size() / chans * chans);
    for (const std::size_t s : startSample) out.blockStart.push_back(s / chans);
    return out;
}

} // namespace wd::swfplay
