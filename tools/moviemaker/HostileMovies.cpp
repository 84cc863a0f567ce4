// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "HostileMovies.h"

#include <cmath>
#include <numbers>

namespace wd::swf {

namespace {

// Every shape goes on to this much body, far beyond what a player should keep.
constexpr std::size_t kBody = 64u << 20;

MovieHeader Header(double fps = 120)
{
    MovieHeader h;
    h.frameRate = fps;
    return h;
}

Bytes Cat(std::initializer_list<std::span<const std::uint8_t>> parts)
{
    Bytes out;
    for (const auto& p : parts) PutBytes(out, p);
    return out;
}

// An MPEG-2 layer III frame at 22050 Hz, mono, 8 kbit/s, with all-zero side
// information: 26 bytes that decode to 576 samples of silence.
Bytes SilentMp3(int frames)
{
    Bytes out;
    for (int i = 0; i < frames; ++i) {
        const std::uint8_t head[] = {0xFF, 0xF3, 0x10, 0xC0};
        PutBytes(out, head);
        out.resize(out.size() + 22, 0);
    }
    return out;
}

// One frame of many one-byte actions, over and over.
Bytes TinyActions(Container c)
{
    MovieWriter w(Header(), 65535, c);
    Bytes actions(1000, kActionPlay);
    actions.push_back(0);
    const Bytes frame = Cat({TagHeader(kTagDoAction, static_cast<std::uint32_t>(actions.size()), true), actions,
                             TagHeader(kTagShowFrame, 0)});
    while (w.BodySize() < kBody) w.Put(frame);
    return w.Put(TagHeader(kTagEnd, 0)).Finish();
}

// A thousand sounds, then frames of thousands of starts each.
Bytes ManySounds(Container c)
{
    MovieWriter w(Header(), 65535, c);
    const SoundFormatInfo pcm{SoundFormat::UncompressedLittleEndian, SoundRate::Hz44100, true, false};
    const std::int16_t loud[] = {20000, -20000, 20000, -20000};
    TagStream defs;
    for (std::uint16_t id = 1; id <= 1024; ++id) defs.DefineSound(id, pcm, 4, Pcm16Bytes(loud));
    w.Put(defs.Data());
    SoundInfo looping;
    looping.loopCount = 65535;
    SoundInfo enveloped = looping;
    enveloped.envelope = std::vector<EnvelopePoint>(255);
    TagStream frame;
    for (std::uint16_t i = 0; i < 4096; ++i) frame.StartSound(static_cast<std::uint16_t>(i % 1024 + 1), i % 64 ? looping : enveloped);
    frame.ShowFrame();
    while (w.BodySize() < kBody) w.Put(frame.Data());
    return w.Put(TagHeader(kTagEnd, 0)).Finish();
}

// ADPCM of zeros at two bits a sample: the body holds a quarter byte per sample
// and compresses to almost nothing.
Bytes AdpcmBomb(Container c)
{
    MovieWriter w(Header(), 1, c);
    const SoundFormatInfo adpcm{SoundFormat::Adpcm, SoundRate::Hz5512, true, true};
    const Bytes zeros(256u << 10, 0);
    for (std::uint16_t id = 1; w.BodySize() < kBody; ++id) {
        TagStream t;
        t.DefineSound(id, adpcm, 0xFFFFFFFF, zeros).StartSound(id);
        w.Put(t.Data());
    }
    return w.Put(Cat({TagHeader(kTagShowFrame, 0), TagHeader(kTagEnd, 0)})).Finish();
}

// A stream of silent MP3 frames: about 22 samples for every byte of body.
Bytes Mp3Bomb(Container c)
{
    MovieWriter w(Header(), 65535, c);
    const SoundFormatInfo mp3{SoundFormat::Mp3, SoundRate::Hz22050, true, false};
    TagStream head;
    head.SoundStreamHead(mp3, mp3, 65535);
    w.Put(head.Data());
    TagStream frame;
    frame.SoundStreamBlock(Mp3StreamBlockData(65535, 0, SilentMp3(40))).ShowFrame();
    while (w.BodySize() < kBody) w.Put(frame.Data());
    return w.Put(TagHeader(kTagEnd, 0)).Finish();
}

// Counts that promise far more than the data holds.
Bytes Declared()
{
    MovieHeader h = Header();
    h.frameCount = 65535;
    h.fileLength = 0xFFFFFFFF;
    const SoundFormatInfo adpcm{SoundFormat::Adpcm, SoundRate::Hz44100, true, true};
    const SoundFormatInfo mp3{SoundFormat::Mp3, SoundRate::Hz44100, true, true};
    const SoundFormatInfo pcm{SoundFormat::UncompressedNative, SoundRate::Hz44100, true, true};
    TagStream t;
    t.DefineSound(1, adpcm, 0xFFFFFFFF, Bytes(64, 0x5a));
    t.DefineSound(2, mp3, 0xFFFFFFFF, Mp3SoundData(0x7fff, SilentMp3(20)));
    t.DefineSound(3, pcm, 0xFFFFFFFF, Bytes(6, 1));
    t.SoundStreamHead(adpcm, adpcm, 65535).SoundStreamBlock(Bytes(3, 0x77));
    Bytes exports;
    PutU16(exports, 65535);
    PutU16(exports, 1);
    PutString(exports, "s");
    t.Tag(56, exports);
    TagStream empty;
    t.DefineSprite(9, 65535, empty.End());
    SoundInfo all;
    all.loopCount = 65535;
    all.inPoint = 0;
    all.outPoint = 0xFFFFFFFF;
    t.StartSound(1, all).StartSound(2, all).StartSound(3, all).StartSound2("s", all);
    t.ShowFrame().End();
    return BuildMovie(h, t);
}

// One 16-bit sound of 60 MB, a 441 Hz tone.
Bytes LongPcm(Container c)
{
    constexpr std::uint32_t kSamples = 30u << 20;
    MovieWriter w(Header(12), 1, c);
    const SoundFormatInfo pcm{SoundFormat::UncompressedLittleEndian, SoundRate::Hz44100, true, false};
    Bytes head = TagHeader(kTagDefineSound, 2 + 1 + 4 + 2 * kSamples, true);
    PutU16(head, 1);
    PutU8(head, FormatByte(pcm));
    PutU32(head, kSamples);
    w.Put(head);
    std::vector<std::int16_t> period(100);
    for (std::size_t i = 0; i < period.size(); ++i)
        period[i] = static_cast<std::int16_t>(std::lround(12000 * std::sin(2 * std::numbers::pi * i / 100.0)));
    Bytes chunk;
    for (int i = 0; i < 1000; ++i) PutBytes(chunk, Pcm16Bytes(period));
    constexpr std::size_t kChunkSamples = 100 * 1000;
    for (std::size_t done = 0; done < kSamples; done += kChunkSamples) {
        const std::size_t samples = std::min(kChunkSamples, kSamples - done); // the tag holds kSamples exactly
        w.Put(std::span<const std::uint8_t>(chunk).first(2 * samples));
    }
    TagStream t;
    t.StartSound(1).ShowFrame().End();
    return w.Put(t.Data()).Finish();
}

} // namespace

std::vector<HostileMovie> HostileMovies(bool large)
{
    std::vector<HostileMovie> out{
        {"actions-zws.swf", "many tiny actions in many frames, LZMA", TinyActions(Container::Lzma)},
        {"actions-cws.swf", "many tiny actions in many frames, zlib", TinyActions(Container::Zlib)},
        {"sounds-zws.swf", "thousands of sound starts in each frame, LZMA", ManySounds(Container::Lzma)},
        {"bomb-zws.swf", "ADPCM of zeros, LZMA", AdpcmBomb(Container::Lzma)},
        {"bomb-cws.swf", "ADPCM of zeros, zlib", AdpcmBomb(Container::Zlib)},
        {"mp3bomb-cws.swf", "a stream of silent MP3 frames, zlib", Mp3Bomb(Container::Zlib)},
        {"declared.swf", "counts and lengths far beyond the data", Declared()},
        {"longpcm-cws.swf", "a 60 MB PCM sound, zlib", LongPcm(Container::Zlib)},
    };
    if (large) out.push_back({"longpcm.swf", "a 60 MB PCM sound, plain", LongPcm(Container::Plain)});
    return out;
}

} // namespace wd::swf
