// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Sound decoders of SWF: uncompressed (formats 0 and 3), ADPCM (1) and MP3 (2)
// to signed 16-bit PCM. Other formats (Nellymoser, Speex, ...) decode to
// nothing, silently. Every decoder draws on a budget of samples, so a hostile
// file cannot make one allocate without bound.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "platform/swf/Movie.h"

namespace wd::swfplay {

struct Pcm {
    double rate = 44100.0;
    int channels = 1;
    std::vector<std::int16_t> samples; // interleaved

    std::size_t Frames() const { return channels > 0 ? samples.size() / static_cast<std::size_t>(channels) : 0; }
};

// Decoded samples (over all channels) a movie may still produce.
class SampleBudget {
public:
    explicit SampleBudget(std::size_t samples) : left_(samples) {}
    std::size_t Left() const { return left_; }
    bool Take(std::size_t n)
    {
        if (n > left_) {
            spent_ = true;
            return false;
        }
        left_ -= n;
        return true;
    }
    // At most n, and what is left when that is less (Clamp(1) == 0: nothing is).
    std::size_t Clamp(std::size_t n)
    {
        if (n <= left_) return n;
        spent_ = true;
        return left_;
    }
    // Some sound was cut short for want of budget.
    bool Spent() const { return spent_; }

private:
    std::size_t left_;
    bool spent_ = false;
};

// Little-endian PCM, 16-bit signed or 8-bit unsigned (128 is silence).
void DecodeUncompressed(const SoundSpec& coding, std::span<const std::uint8_t> data, SampleBudget& budget,
                        std::vector<std::int16_t>& out);

// SWF ADPCM: a 2-bit code size, then packets of an initial sample and step
// index per channel and up to 4095 codes per channel, read MSB first without
// byte alignment. Stops when the bits run out or after maxFrames frames.
void DecodeAdpcm(std::span<const std::uint8_t> data, int channels, std::size_t maxFrames, SampleBudget& budget,
                 std::vector<std::int16_t>& out);

// One libmpg123 handle in feed mode: signed 16-bit at the MP3's own rate and
// channel count, gapless trimming off. Once the first format is known a
// change of format ends the decoding.
class Mp3Decoder {
public:
    Mp3Decoder();
    ~Mp3Decoder();
    Mp3Decoder(const Mp3Decoder&) = delete;
    Mp3Decoder& operator=(const Mp3Decoder&) = delete;

    // Appends the frames that the data completes; at most maxSamples samples.
    void Feed(std::span<const std::uint8_t> data, SampleBudget& budget, std::vector<std::int16_t>& out,
              std::size_t maxSamples = SIZE_MAX);
    bool HasFormat() const { return rate_ > 0; }
    double Rate() const { return rate_; }
    int Channels() const { return channels_; }

private:
    struct Handle;
    std::unique_ptr<Handle> h_;
    double rate_ = 0;
    int channels_ = 0;
    bool dead_ = false;
};

// An event sound, whole. MP3 data starts with a signed 16-bit SeekSamples that
// is skipped once; the sound then lasts SampleCount frames, no more. Nothing
// for a format the player does not decode or data that yields no sample.
std::optional<Pcm> DecodeEventSound(const DefinedSound& sound, SampleBudget& budget);

// A timeline's stream sound as one PCM, with the frame at which each stream
// block begins. ADPCM restarts in every block; MP3 runs one decoder across
// blocks, each block led by its SampleCount and SeekSamples.
struct StreamPcm {
    Pcm pcm;
    std::vector<std::size_t> blockStart; // per stream block, in frames of pcm
};
std::optional<StreamPcm> DecodeStream(const Timeline& timeline, SampleBudget& budget);

} // namespace wd::swfplay
