// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Movies and signals for the player's tests, written with the movie maker's
// SWF writer.
#include <cmath>
#include <cstdint>
#include <numbers>
#include <span>
#include <vector>

#include "SwfWriter.h"
#include "platform/swf/PreparedMovie.h"

namespace wd::testing {

using swf::Bytes;

// Samples of a constant level: easy to find in a mix.
inline std::vector<std::int16_t> Level(std::int16_t value, std::size_t frames) { return std::vector<std::int16_t>(frames, value); }

inline std::vector<std::int16_t> Sine(double hz, double rate, std::size_t frames, double amplitude = 12000)
{
    std::vector<std::int16_t> out(frames);
    for (std::size_t i = 0; i < frames; ++i)
        out[i] = static_cast<std::int16_t>(std::lround(amplitude * std::sin(2 * std::numbers::pi * hz * i / rate)));
    return out;
}

// A 16-bit mono uncompressed sound definition.
inline swf::TagStream& DefinePcm(swf::TagStream& tags, std::uint16_t id, std::span<const std::int16_t> samples,
                                 swf::SoundRate rate = swf::SoundRate::Hz44100)
{
    return tags.DefineSound(id, {swf::SoundFormat::UncompressedLittleEndian, rate, true, false},
                            static_cast<std::uint32_t>(samples.size()), swf::Pcm16Bytes(samples));
}

inline Bytes Movie(const swf::TagStream& tags, double fps = 10, swf::Container container = swf::Container::Plain)
{
    swf::MovieHeader h;
    h.frameRate = fps;
    return swf::BuildMovie(h, tags, container);
}

} // namespace wd::testing
