#pragma once
// Movies and signals for the player's tests, written with the movie maker's
// SWF writer.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <vector>

#include "SwfWriter.h"
#include "platform/swf/PreparedMovie.h"

namespace wd::testing {

using swf::Bytes;

// Samples of a constant level: easy to find in a mix.
std::vector<std::int16_t> Level(std::int16_t value, std::size_t frames);
std::vector<std::int16_t> Sine(double hz, double rate, std::size_t frames, double amplitude = 12000);

// A 16-bit mono uncompressed sound definition at 44.1 kHz.
swf::TagStream& DefinePcm(swf::TagStream& tags, std::uint16_t id, std::span<const std::int16_t> samples,
                          swf::SoundRate rate = swf::SoundRate::Hz44100);

Bytes Movie(const swf::TagStream& tags, double fps = 10, swf::Container container = swf::Container::Plain);

// Frequency of a pure tone by its zero crossings.
double ToneFrequency(std::span<const std::int16_t> mono, double rate);
// Index of the first frame whose left sample is not zero; -1 when silent.
long FirstSound(std::span<const std::int16_t> stereo, std::size_t from = 0);
double Rms(std::span<const std::int16_t> samples);

void WriteFile(const std::filesystem::path& path, const Bytes& bytes);

} // namespace wd::testing
