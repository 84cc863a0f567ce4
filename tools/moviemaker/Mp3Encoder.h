// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// MP3 through the "lame" encoder: our PCM goes out as a WAV file, lame's frames
// come back with their headers read.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "Mp3Frames.h"

namespace wd::moviemaker {

// Decoded MP3 from lame starts this many samples late: the encoder's 576 samples of
// look-ahead plus the 529 of the decoder's filter bank.
inline constexpr int kLameDecodedDelay = 576 + 529;

struct Mp3Sound {
    swf::Bytes data; // whole frames, no tags
    std::vector<swf::Mp3Frame> frames;
    int sampleRate = 0;
    int channels = 0;
};

// A canonical 16-bit PCM WAV file.
swf::Bytes WavFile(std::span<const std::int16_t> interleaved, int channels, int sampleRate);
void WriteFile(const std::filesystem::path& path, std::span<const std::uint8_t> data);
swf::Bytes ReadFile(const std::filesystem::path& path);

// Encodes at a constant `kbps`, keeping `sampleRate` and the channel count. Throws
// std::runtime_error when lame is missing or fails, or gives back something else.
Mp3Sound EncodeMp3(std::span<const std::int16_t> interleaved, int channels, int sampleRate, int kbps);

} // namespace wd::moviemaker
