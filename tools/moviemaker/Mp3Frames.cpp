// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "Mp3Frames.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <stdexcept>

namespace wd::swf {

namespace {
constexpr int kBitrateV1[16] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0};
constexpr int kBitrateV2[16] = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0};
constexpr int kRateV1[3] = {44100, 48000, 32000};
} // namespace

std::optional<Mp3Frame> ParseMp3FrameHeader(std::span<const std::uint8_t> d)
{
    if (d.size() < 4 || d[0] != 0xFF || (d[1] & 0xE0) != 0xE0) return std::nullopt;
    const int version = (d[1] >> 3) & 3; // 0 = 2.5, 1 = reserved, 2 = MPEG-2, 3 = MPEG-1
    const int layer = (d[1] >> 1) & 3;   // 1 = layer III
    const int bitrateIndex = d[2] >> 4;
    const int rateIndex = (d[2] >> 2) & 3;
    const int padding = (d[2] >> 1) & 1;
    if (version == 1 || layer != 1 || bitrateIndex == 0 || bitrateIndex == 15 || rateIndex == 3) return std::nullopt;

    Mp3Frame f;
    const bool mpeg1 = version == 3;
    f.bitrateKbps = (mpeg1 ? kBitrateV1 : kBitrateV2)[bitrateIndex];
    f.sampleRate = kRateV1[rateIndex] >> (mpeg1 ? 0 : version == 2 ? 1 : 2);
    f.samples = mpeg1 ? 1152 : 576;
    f.channels = (d[3] >> 6) == 3 ? 1 : 2;
    f.size = static_cast<std::size_t>((mpeg1 ? 144 : 72) * f.bitrateKbps * 1000 / f.sampleRate + padding);
    return f;
}

std::vector<Mp3Frame> ParseMp3Frames(std::span<const std::uint8_t> data)
{
    std::size_t pos = 0;
    if (data.size() >= 10 && data[0] == 'I' && data[1] == 'D' && data[2] == '3') {
        const std::size_t tagSize = (data[6] & 0x7Fu) << 21 | (data[7] & 0x7Fu) << 14 | (data[8] & 0x7Fu) << 7 | (data[9] & 0x7Fu);
        pos = 10 + tagSize;
    }
    std::vector<Mp3Frame> frames;
    while (pos < data.size()) {
        auto f = ParseMp3FrameHeader(data.subspan(pos));
        if (!f || pos + f->size > data.size()) break;
        f->offset = pos;
        pos += f->size;
        frames.push_back(*f);
    }
    return frames;
}

std::vector<Bytes> Mp3StreamBlocks(std::span<const std::uint8_t> data, const std::vector<Mp3Frame>& frames,
                                   int swfFrames, double fps, int delay)
{
    if (frames.empty() || swfFrames <= 0 || fps <= 0) throw std::invalid_argument("nothing to split into blocks");
    const double perFrame = frames.front().sampleRate / fps;
    std::vector<Bytes> blocks;
    std::size_t next = 0;
    long long pos = 0; // decoded samples before frames[next]
    for (int i = 0; i < swfFrames; ++i) {
        const double start = delay + i * perFrame;
        const double end = delay + (i + 1) * perFrame;
        const long long blockStart = pos;
        Bytes payload;
        int count = 0;
        const bool last = i == swfFrames - 1;
        while (next < frames.size() && (last || pos + frames[next].samples <= std::llround(end))) {
            const auto& f = frames[next++];
            payload.insert(payload.end(), data.begin() + static_cast<std::ptrdiff_t>(f.offset),
                           data.begin() + static_cast<std::ptrdiff_t>(f.offset + f.size));
            pos += f.samples;
            count += f.samples;
        }
        const long long seek = count ? std::llround(start) - blockStart : 0;
        blocks.push_back(Mp3StreamBlockData(static_cast<std::uint16_t>(std::min(count, 0xFFFF)),
                                            static_cast<std::int16_t>(std::clamp<long long>(seek, -32768, 32767)),
                                            payload));
    }
    return blocks;
}

} // namespace wd::swf
