#include "TestMovies.h"

#include <cmath>
#include <fstream>
#include <numbers>

namespace wd::testing {

std::vector<std::int16_t> Level(std::int16_t value, std::size_t frames) { return std::vector<std::int16_t>(frames, value); }

std::vector<std::int16_t> Sine(double hz, double rate, std::size_t frames, double amplitude)
{
    std::vector<std::int16_t> out(frames);
    for (std::size_t i = 0; i < frames; ++i)
        out[i] = static_cast<std::int16_t>(std::lround(amplitude * std::sin(2 * std::numbers::pi * hz * i / rate)));
    return out;
}

swf::TagStream& DefinePcm(swf::TagStream& tags, std::uint16_t id, std::span<const std::int16_t> samples,
                          swf::SoundRate rate)
{
    swf::SoundFormatInfo f{swf::SoundFormat::UncompressedLittleEndian, rate, true, false};
    return tags.DefineSound(id, f, static_cast<std::uint32_t>(samples.size()), swf::Pcm16Bytes(samples));
}

Bytes Movie(const swf::TagStream& tags, double fps, swf::Container container)
{
    swf::MovieHeader h;
    h.frameRate = fps;
    return swf::BuildMovie(h, tags, container);
}

double ToneFrequency(std::span<const std::int16_t> mono, double rate)
{
    long crossings = 0;
    for (std::size_t i = 1; i < mono.size(); ++i)
        if ((mono[i - 1] < 0) != (mono[i] < 0)) ++crossings;
    return crossings / 2.0 / (static_cast<double>(mono.size()) / rate);
}

long FirstSound(std::span<const std::int16_t> stereo, std::size_t from)
{
    for (std::size_t i = from; 2 * i < stereo.size(); ++i)
        if (stereo[2 * i] != 0) return static_cast<long>(i);
    return -1;
}

double Rms(std::span<const std::int16_t> samples)
{
    if (samples.empty()) return 0;
    double sum = 0;
    for (auto s : samples) sum += static_cast<double>(s) * s;
    return std::sqrt(sum / static_cast<double>(samples.size()));
}

void WriteFile(const std::filesystem::path& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

} // namespace wd::testing
