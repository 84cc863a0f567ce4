#include "TestMovies.h"

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <numbers>
#include <stdexcept>
#include <string>

#include <QTemporaryDir>
#include <lzma.h>

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

Bytes ToZws(const Bytes& fws)
{
    const std::span<const std::uint8_t> body(fws.begin() + 8, fws.end());
    lzma_options_lzma opt;
    lzma_lzma_preset(&opt, 6);
    lzma_stream z = LZMA_STREAM_INIT;
    if (lzma_alone_encoder(&z, &opt) != LZMA_OK) throw std::runtime_error("lzma");
    Bytes alone(body.size() + 1024);
    z.next_in = body.data();
    z.avail_in = body.size();
    z.next_out = alone.data();
    z.avail_out = alone.size();
    while (lzma_code(&z, LZMA_FINISH) == LZMA_OK) {}
    alone.resize(alone.size() - z.avail_out);
    lzma_end(&z);
    // "alone": 5 property bytes, 8 size bytes, data. ZWS keeps the properties
    // and the data, with the compressed length in front.
    Bytes out{'Z', 'W', 'S', fws[3], fws[4], fws[5], fws[6], fws[7]};
    swf::PutU32(out, static_cast<std::uint32_t>(alone.size() - 13));
    out.insert(out.end(), alone.begin(), alone.begin() + 5);
    out.insert(out.end(), alone.begin() + 13, alone.end());
    return out;
}

std::shared_ptr<const swfplay::PreparedMovie> PrepareBytes(const Bytes& file) { return swfplay::Prepare(file); }

Bytes LameTone(double hz, int rate, std::size_t frames)
{
    QTemporaryDir dir;
    const std::string wav = dir.filePath("tone.wav").toStdString();
    const std::string mp3 = dir.filePath("tone.mp3").toStdString();
    const auto pcm = Sine(hz, rate, frames);
    Bytes file{'R', 'I', 'F', 'F'};
    swf::PutU32(file, static_cast<std::uint32_t>(36 + 2 * frames));
    for (char c : std::string("WAVEfmt ")) file.push_back(static_cast<std::uint8_t>(c));
    swf::PutU32(file, 16);
    swf::PutU16(file, 1);
    swf::PutU16(file, 1);
    swf::PutU32(file, static_cast<std::uint32_t>(rate));
    swf::PutU32(file, static_cast<std::uint32_t>(rate * 2));
    swf::PutU16(file, 2);
    swf::PutU16(file, 16);
    for (char c : std::string("data")) file.push_back(static_cast<std::uint8_t>(c));
    swf::PutU32(file, static_cast<std::uint32_t>(2 * frames));
    const auto data = swf::Pcm16Bytes(pcm);
    file.insert(file.end(), data.begin(), data.end());
    WriteFile(wav, file);
    // -t: no Info frame, only audio frames, as SWF carries them.
    const std::string cmd = "lame --quiet -t -m m -b 64 '" + wav + "' '" + mp3 + "'";
    if (std::system(cmd.c_str()) != 0) throw std::runtime_error("lame failed");
    std::ifstream in(mp3, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

double ToneFrequency(std::span<const std::int16_t> mono, double rate)
{
    long crossings = 0;
    for (std::size_t i = 1; i < mono.size(); ++i)
        if ((mono[i - 1] < 0) != (mono[i] < 0)) ++crossings;
    return crossings / 2.0 / (static_cast<double>(mono.size()) / rate);
}

std::vector<std::int16_t> Left(std::span<const std::int16_t> stereo)
{
    std::vector<std::int16_t> out;
    for (std::size_t i = 0; i + 1 < stereo.size(); i += 2) out.push_back(stereo[i]);
    return out;
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
