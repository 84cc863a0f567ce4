// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// Finds the frames of an MPEG audio layer III stream by their headers, and splits
// them into the blocks of an SWF sound stream.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "SwfWriter.h"

namespace wd::swf {

struct Mp3Frame {
    std::size_t offset = 0; // in the data given
    std::size_t size = 0;   // header included
    int sampleRate = 0;
    int samples = 0; // per channel: 1152 (MPEG-1) or 576 (MPEG-2 and 2.5)
    int channels = 0;
    int bitrateKbps = 0;
};

// The layer III frame whose header starts at data[0], or nullopt.
std::optional<Mp3Frame> ParseMp3FrameHeader(std::span<const std::uint8_t> data);

// Every frame from the start of the data (an ID3v2 tag is skipped) up to the first
// byte that does not start a whole frame.
std::vector<Mp3Frame> ParseMp3Frames(std::span<const std::uint8_t> data);

// The body of each SoundStreamBlock for a movie of `swfFrames` frames at `fps`.
// `delay` is how many decoded samples come before the sound proper (the coder's
// delay, also written as the head's LatencySeek). Each block takes the whole MP3
// frames that start before its SWF frame ends; its SeekSamples says how far into its
// first MP3 frame the SWF frame's time falls. Frames left at the end go to the last
// block.
std::vector<Bytes> Mp3StreamBlocks(std::span<const std::uint8_t> data, const std::vector<Mp3Frame>& frames,
                                   int swfFrames, double fps, int delay);

} // namespace wd::swf
