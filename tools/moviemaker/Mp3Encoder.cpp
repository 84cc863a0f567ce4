// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "Mp3Encoder.h"

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <stdexcept>

#include <unistd.h>

namespace wd::moviemaker {

using swf::Bytes;

Bytes WavFile(std::span<const std::int16_t> interleaved, int channels, int sampleRate)
{
    const auto dataBytes = static_cast<std::uint32_t>(interleaved.size() * 2);
    Bytes out;
    out.reserve(44 + dataBytes);
    auto tag = [&](const char* t) {
        for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(t[i]));
    };
    tag("RIFF");
    swf::PutU32(out, 36 + dataBytes);
    tag("WAVE");
    tag("fmt ");
    swf::PutU32(out, 16);
    swf::PutU16(out, 1); // PCM
    swf::PutU16(out, static_cast<std::uint16_t>(channels));
    swf::PutU32(out, static_cast<std::uint32_t>(sampleRate));
    swf::PutU32(out, static_cast<std::uint32_t>(sampleRate * channels * 2));
    swf::PutU16(out, static_cast<std::uint16_t>(channels * 2));
    swf::PutU16(out, 16);
    tag("data");
    swf::PutU32(out, dataBytes);
    swf::PutBytes(out, swf::Pcm16Bytes(interleaved));
    return out;
}

void WriteFile(const std::filesystem::path& path, std::span<const std::uint8_t> data)
{
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
    if (!f) throw std::runtime_error("cannot write " + path.string());
}

Bytes ReadFile(const std::filesystem::path& path)
{
    std::ifstream f(path, std::ios::binary);
    if (!f) throw std::runtime_error("cannot read " + path.string());
    return Bytes(std::istreambuf_iterator<char>(f), {});
}

namespace {
// A private scratch folder, removed when done.
class ScratchDir {
public:
    ScratchDir()
    {
        static std::atomic<int> counter{0};
        path_ = std::filesystem::temp_directory_path()
                / ("wd-moviemaker-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
        std::filesystem::create_directories(path_);
    }
    ~ScratchDir()
    {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

std::string Quoted(const std::filesystem::path& p)
{
    std::string out = "'";
    for (char c : p.string()) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}
} // namespace

Mp3Sound EncodeMp3(std::span<const std::int16_t> interleaved, int channels, int sampleRate, int kbps)
{
    if (channels != 1 && channels != 2) throw std::invalid_argument("MP3 is mono or stereo here");
    ScratchDir dir;
    const auto wav = dir.Path() / "in.wav";
    const auto mp3 = dir.Path() / "out.mp3";
    WriteFile(wav, WavFile(interleaved, channels, sampleRate));

    // -t: no Xing/LAME information frame, so every frame is sound. Constant bit rate,
    // the input's rate kept, mono or joint stereo as the input.
    const std::string command = "lame --quiet -t --cbr -b " + std::to_string(kbps) + " --resample "
                                + std::to_string(sampleRate / 1000.0) + " -m " + (channels == 1 ? "m" : "j") + " "
                                + Quoted(wav) + " " + Quoted(mp3);
    const int rc = std::system(command.c_str());
    if (rc != 0) throw std::runtime_error("lame failed (exit " + std::to_string(rc) + "): " + command);

    Mp3Sound out;
    out.data = ReadFile(mp3);
    out.frames = swf::ParseMp3Frames(out.data);
    if (out.frames.empty()) throw std::runtime_error("lame wrote no MP3 frames");
    // Keep only whole frames from the first.
    const auto& last = out.frames.back();
    out.data.resize(last.offset + last.size);
    if (out.frames.front().offset != 0) {
        const std::size_t skip = out.frames.front().offset;
        out.data.erase(out.data.begin(), out.data.begin() + static_cast<std::ptrdiff_t>(skip));
        for (auto& f : out.frames) f.offset -= skip;
    }
    out.sampleRate = out.frames.front().sampleRate;
    out.channels = out.frames.front().channels;
    for (const auto& f : out.frames)
        if (f.sampleRate != sampleRate || f.channels != channels)
            throw std::runtime_error("lame changed the sample rate or channels");
    return out;
}

} // namespace wd::moviemaker
