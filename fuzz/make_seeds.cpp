// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// Writes the fuzzer's seed corpus: small movies that between them use every
// container, sound format and timeline feature the player knows, and the
// hostile movies that once made it hold gigabytes (all but the 60 MB one).
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <string>
#include <vector>

#include "AdpcmEncoder.h"
#include "HostileMovies.h"
#include "SwfWriter.h"

using namespace wd::swf;

namespace {

std::vector<std::int16_t> Tone(double hz, std::size_t n)
{
    std::vector<std::int16_t> s(n);
    for (std::size_t i = 0; i < n; ++i)
        s[i] = static_cast<std::int16_t>(9000 * std::sin(2 * std::numbers::pi * hz * i / 11025));
    return s;
}

void Save(const std::filesystem::path& dir, const std::string& name, const Bytes& b)
{
    std::ofstream(dir / name, std::ios::binary).write(reinterpret_cast<const char*>(b.data()),
                                                      static_cast<std::streamsize>(b.size()));
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) return 2;
    const std::filesystem::path dir = argv[1];
    std::filesystem::create_directories(dir);
    const auto tone = Tone(440, 600);
    const SoundFormatInfo pcm{SoundFormat::UncompressedLittleEndian, SoundRate::Hz11025, true, false};
    const SoundFormatInfo pcm8{SoundFormat::UncompressedNative, SoundRate::Hz5512, false, true};
    const SoundFormatInfo adpcm{SoundFormat::Adpcm, SoundRate::Hz11025, true, false};
    MovieHeader h;
    h.frameRate = 24;

    TagStream a;
    SoundInfo info;
    info.loopCount = 2;
    info.inPoint = 10;
    info.outPoint = 1500;
    info.envelope = std::vector<EnvelopePoint>{{0, 0, 0}};
    a.DefineSound(1, pcm, 600, Pcm16Bytes(tone)).DefineSound(2, pcm8, 300, Pcm8Bytes(tone));
    a.StartSound(1, info).ShowFrame().StartSound(2).DoAction(Actions().StopSounds()).ShowFrame();
    a.DoAction(Actions().GotoFrame(0).Stop().Play()).ShowFrame().End();
    Save(dir, "pcm.swf", BuildMovie(h, a));
    Save(dir, "pcm_cws.swf", BuildMovie(h, a, Container::Zlib));

    for (int bits = 2; bits <= 5; ++bits) {
        TagStream t;
        t.DefineSound(3, adpcm, 600, EncodeAdpcm(tone, 1, bits));
        SoundInfo once;
        once.syncNoMultiple = true;
        SoundInfo stop;
        stop.syncStop = true;
        t.StartSound(3, once).ShowFrame().StartSound(3, stop).ShowFrame().End();
        Save(dir, "adpcm" + std::to_string(bits) + ".swf", BuildMovie(h, t));
    }

    TagStream s;
    s.SoundStreamHead(adpcm, adpcm, 460);
    for (int f = 0; f < 3; ++f)
        s.SoundStreamBlock(EncodeAdpcm(std::span(tone).subspan(static_cast<std::size_t>(f) * 200, 200), 1, 4)).ShowFrame();
    s.End();
    Save(dir, "stream_adpcm.swf", BuildMovie(h, s));

    TagStream sprite;
    sprite.StartSound(1).ShowFrame().End();
    TagStream sp;
    sp.DefineSprite(5, 1, sprite).StartSound2("x").ShowFrame().End();
    Save(dir, "sprite.swf", BuildMovie(h, sp));

    // An MP3 event sound and stream, if lame is at hand.
    const auto tmp = dir / "tone.wav";
    {
        Bytes w{'R', 'I', 'F', 'F'};
        PutU32(w, 36 + 2 * 600);
        for (char c : std::string("WAVEfmt ")) w.push_back(static_cast<std::uint8_t>(c));
        PutU32(w, 16), PutU16(w, 1), PutU16(w, 1), PutU32(w, 11025), PutU32(w, 22050), PutU16(w, 2), PutU16(w, 16);
        for (char c : std::string("data")) w.push_back(static_cast<std::uint8_t>(c));
        PutU32(w, 2 * 600);
        const auto d = Pcm16Bytes(tone);
        w.insert(w.end(), d.begin(), d.end());
        Save(dir, "tone.wav", w);
    }
    const auto mp3 = dir / "tone.mp3";
    const std::string cmd = "lame --quiet -t -b 32 '" + tmp.string() + "' '" + mp3.string() + "'";
    if (std::system(cmd.c_str()) == 0) {
        std::ifstream in(mp3, std::ios::binary);
        const Bytes frames((std::istreambuf_iterator<char>(in)), {});
        const SoundFormatInfo mp{SoundFormat::Mp3, SoundRate::Hz11025, true, false};
        TagStream m;
        m.DefineSound(4, mp, 600, Mp3SoundData(100, frames)).StartSound(4).ShowFrame().End();
        Save(dir, "mp3.swf", BuildMovie(h, m, Container::Zlib));
        TagStream ms;
        ms.SoundStreamHead(mp, mp, 576, 0, true).SoundStreamBlock(Mp3StreamBlockData(576, 0, frames)).ShowFrame().End();
        Save(dir, "stream_mp3.swf", BuildMovie(h, ms));
    }
    std::filesystem::remove(tmp);
    std::filesystem::remove(mp3);
    for (const auto& m : HostileMovies(false)) Save(dir, m.name, m.file);
    return 0;
}
