// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "Movies.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "AdpcmEncoder.h"
#include "Mp3Encoder.h"
#include "Synth.h"

namespace wd::moviemaker {

using swf::Bytes;
using swf::Container;
using swf::SoundFormat;
using namespace wd::synth;

namespace {

swf::MovieHeader Header(double fps)
{
    swf::MovieHeader h;
    h.version = 8;
    h.frame = {0, 20 * 20, 0, 20 * 20}; // the panel is tiny and hidden anyway
    h.frameRate = fps;
    return h;
}

swf::SoundRate Rate(int hz)
{
    const auto code = swf::RateCode(hz);
    if (!code) throw std::invalid_argument("no SWF rate code for " + std::to_string(hz) + " Hz");
    return *code;
}

std::size_t SamplesPerFrame(int rate, double fps)
{
    const double exact = rate / fps;
    if (std::fabs(exact - std::round(exact)) > 1e-9)
        throw std::invalid_argument("a frame must last a whole number of samples");
    return static_cast<std::size_t>(std::llround(exact));
}

std::vector<std::int16_t> Slice(const Pcm& pcm, std::size_t firstFrame, std::size_t frames)
{
    const auto ch = static_cast<std::size_t>(pcm.channels);
    const std::size_t from = std::min(pcm.samples.size(), firstFrame * ch);
    const std::size_t to = std::min(pcm.samples.size(), (firstFrame + frames) * ch);
    return {pcm.samples.begin() + static_cast<std::ptrdiff_t>(from), pcm.samples.begin() + static_cast<std::ptrdiff_t>(to)};
}

// Voices of the band.
Voice Kick()
{
    Voice v;
    v.env = {0.001, 0.2, 0, 0.02};
    v.gain = 0.9;
    v.pitchDrop = 1.6;
    v.pitchDropTime = 0.07;
    return v;
}
Voice Snare()
{
    Voice v;
    v.wave = Wave::Noise;
    v.env = {0.001, 0.13, 0, 0.02};
    v.gain = 0.32;
    return v;
}
Voice Hat()
{
    Voice v;
    v.wave = Wave::Noise;
    v.env = {0.001, 0.03, 0, 0.01};
    v.gain = 0.1;
    return v;
}
Voice Crash()
{
    Voice v;
    v.wave = Wave::Noise;
    v.env = {0.002, 1.2, 0, 0.05};
    v.gain = 0.18;
    return v;
}
Voice Bass()
{
    Voice v;
    v.wave = Wave::Triangle;
    v.env = {0.005, 0.15, 0.6, 0.05};
    v.gain = 0.5;
    return v;
}
Voice Arp()
{
    Voice v;
    v.wave = Wave::Square;
    v.duty = 0.25;
    v.env = {0.003, 0.12, 0.25, 0.06};
    v.gain = 0.1;
    return v;
}
Voice Lead(Wave wave = Wave::Square)
{
    Voice v;
    v.wave = wave;
    v.env = {0.01, 0.1, 0.6, 0.08};
    v.gain = 0.16;
    v.vibrato = 0.12;
    return v;
}
Voice Pad()
{
    Voice v;
    v.wave = Wave::Saw;
    v.detune = 0.12;
    v.env = {0.15, 0.3, 0.6, 0.3};
    v.gain = 0.07;
    return v;
}
Voice Brass()
{
    Voice v;
    v.wave = Wave::Saw;
    v.detune = 0.08;
    v.env = {0.02, 0.15, 0.75, 0.12};
    v.gain = 0.2;
    v.vibrato = 0.08;
    return v;
}

void Hit(LoopBuffer& buf, const Voice& v, double bpm, double beat, double hz, double velocity = 1, double pan = 0)
{
    buf.AddTone(v, beat * 60 / bpm, 0.02, hz, velocity, pan);
}

} // namespace

StoredSound StoreSound(const Pcm& pcm, const SoundPlan& plan)
{
    StoredSound s;
    s.format.rate = Rate(pcm.sampleRate);
    s.format.stereo = pcm.channels == 2;
    s.sampleCount = static_cast<std::uint32_t>(pcm.Frames());
    switch (plan.coding) {
    case Coding::Pcm8:
    case Coding::Pcm16:
        s.format.format = plan.formatZero ? SoundFormat::UncompressedNative : SoundFormat::UncompressedLittleEndian;
        s.format.sixteenBit = plan.coding == Coding::Pcm16;
        s.data = s.format.sixteenBit ? swf::Pcm16Bytes(pcm.samples) : swf::Pcm8Bytes(pcm.samples);
        break;
    case Coding::Adpcm:
        s.format.format = SoundFormat::Adpcm;
        s.data = swf::EncodeAdpcm(pcm.samples, pcm.channels, plan.adpcmBits);
        break;
    case Coding::Mp3: {
        s.format.format = SoundFormat::Mp3;
        const Mp3Sound mp3 = EncodeMp3(pcm.samples, pcm.channels, pcm.sampleRate, plan.mp3Kbps);
        s.data = swf::Mp3SoundData(kLameDecodedDelay, mp3.data);
        break;
    }
    }
    return s;
}

Bytes EventSoundMovie(const Pcm& pcm, const SoundPlan& plan, int frames, double fps, std::uint16_t loops,
                      Container container)
{
    const StoredSound sound = StoreSound(pcm, plan);
    swf::SoundInfo info;
    info.syncNoMultiple = true; // a looping timeline must not pile up copies
    if (loops) info.loopCount = loops;
    swf::TagStream tags;
    tags.DefineSound(1, sound.format, sound.sampleCount, sound.data).StartSound(1, info);
    for (int i = 0; i < frames; ++i) tags.ShowFrame();
    tags.End();
    return swf::BuildMovie(Header(fps), tags, container);
}

Bytes StreamSoundMovie(const Pcm& pcm, const SoundPlan& plan, double fps, Container container)
{
    swf::SoundFormatInfo format;
    format.rate = Rate(pcm.sampleRate);
    format.stereo = pcm.channels == 2;
    format.sixteenBit = plan.coding != Coding::Pcm8;
    swf::TagStream tags;
    if (plan.coding == Coding::Mp3) {
        format.format = SoundFormat::Mp3;
        const Mp3Sound mp3 = EncodeMp3(pcm.samples, pcm.channels, pcm.sampleRate, plan.mp3Kbps);
        const double perFrame = mp3.sampleRate / fps;
        const int frames = static_cast<int>(std::ceil(pcm.Frames() / perFrame - 1e-9));
        tags.SoundStreamHead(format, format, static_cast<std::uint16_t>(std::lround(perFrame)), kLameDecodedDelay);
        for (const Bytes& block : swf::Mp3StreamBlocks(mp3.data, mp3.frames, frames, fps, kLameDecodedDelay))
            tags.SoundStreamBlock(block).ShowFrame();
    } else {
        const std::size_t perFrame = SamplesPerFrame(pcm.sampleRate, fps);
        const std::size_t frames = (pcm.Frames() + perFrame - 1) / perFrame;
        format.format = plan.coding == Coding::Adpcm ? SoundFormat::Adpcm
                        : plan.formatZero           ? SoundFormat::UncompressedNative
                                                    : SoundFormat::UncompressedLittleEndian;
        tags.SoundStreamHead(format, format, static_cast<std::uint16_t>(perFrame));
        for (std::size_t i = 0; i < frames; ++i) {
            const auto chunk = Slice(pcm, i * perFrame, perFrame);
            const Bytes block = plan.coding == Coding::Adpcm  ? swf::EncodeAdpcm(chunk, pcm.channels, plan.adpcmBits)
                                : plan.coding == Coding::Pcm8 ? swf::Pcm8Bytes(chunk)
                                                              : swf::Pcm16Bytes(chunk);
            tags.SoundStreamBlock(block).ShowFrame();
        }
    }
    tags.End();
    return swf::BuildMovie(Header(fps), tags, container);
}

int LevelFramesPerBeat(int level)
{
    return 10 - std::clamp(level, 1, 5); // 100 bpm at level 1 up to 180 bpm at level 5
}

namespace {
struct LevelSound {
    int rate;
    int channels;
};
constexpr LevelSound kLevelSound[5] = {{22050, 1}, {11025, 1}, {11025, 1}, {22050, 1}, {22050, 2}};
} // namespace

Pcm LevelMusic(int level)
{
    level = std::clamp(level, 1, 5);
    const LevelSound ls = kLevelSound[level - 1];
    const int fpb = LevelFramesPerBeat(level);
    const double bpm = 60.0 * kFps / fpb;
    const int beats = 8;
    LoopBuffer buf(ls.rate, static_cast<std::size_t>(beats * fpb) * SamplesPerFrame(ls.rate, kFps));
    const int shift = level - 1; // the key climbs a semitone a level
    const bool stereo = ls.channels == 2;

    // i - VI - VII - V in A minor, two beats each.
    const int roots[4] = {45, 41, 43, 40};
    const int chords[4][3] = {{57, 60, 64}, {53, 57, 60}, {55, 59, 62}, {52, 56, 59}};

    std::vector<Note> bass, arp;
    for (int c = 0; c < 4; ++c) {
        const double at = c * 2.0;
        const double bassStep = level <= 2 ? 1.0 : 0.5;
        for (double b = 0; b < 2.0; b += bassStep) {
            const bool up = level >= 4 && static_cast<int>(b / bassStep) % 2 == 1;
            bass.push_back({at + b, bassStep * 0.9, roots[c] + (up ? 12 : 0), 1});
        }
        const double arpStep = level >= 4 ? 0.25 : 0.5;
        int k = 0;
        for (double b = 0; b < 2.0; b += arpStep, ++k) arp.push_back({at + b, arpStep, chords[c][k % 3] + 12 * (k / 3 % 2), 1});
    }
    buf.AddNotes(Bass(), Transpose(bass, shift), bpm);
    buf.AddNotes(Arp(), Transpose(arp, shift), bpm, stereo ? -0.5 : 0);

    if (level >= 2) {
        const auto tune = Sequence("E5/1 C5/0.5 D5/0.5 E5/1 r/1 F5/1 E5/0.5 D5/0.5 B4/1 G#4/1", 0, 0.6 + 0.1 * level);
        buf.AddNotes(Lead(), Transpose(tune, shift), bpm, stereo ? 0.4 : 0);
    }
    if (level >= 5) buf.AddNotes(Pad(), Transpose(Sequence("A3+C4+E4/2 F3+A3+C4/2 G3+B3+D4/2 E3+G#3+B3/2"), shift), bpm);

    // Drums: more and busier as the levels rise.
    for (int b = 0; b < beats; ++b) {
        if (level >= 2 || b % 4 == 0) Hit(buf, Kick(), bpm, b, 150, level == 1 ? 0.6 : 1);
        if (level >= 5) Hit(buf, Kick(), bpm, b + 0.5, 150, 0.6);
        if (level >= 3 && b % 2 == 1) Hit(buf, Snare(), bpm, b, 200);
        const double hatStep = level >= 4 ? 0.25 : 0.5;
        for (double h = 0; h < 1.0; h += hatStep) Hit(buf, Hat(), bpm, b + h, 0, h == 0 ? 1.0 : 0.6, stereo ? 0.3 : 0);
    }
    return {buf.Pcm16(ls.channels), ls.channels, ls.rate};
}

Pcm TitleTheme()
{
    const int fpb = 7, beats = 16, rate = 22050;
    const double bpm = 60.0 * kFps / fpb;
    LoopBuffer buf(rate, static_cast<std::size_t>(fpb * beats) * SamplesPerFrame(rate, kFps));
    Voice flute = Lead(Wave::Triangle);
    flute.gain = 0.3;
    buf.AddNotes(flute, Sequence("E5/1 G5/1 C6/1.5 B5/0.5 A5/2 E5/1 C5/1 F5/1 A5/1 C6/1 A5/1 G5/2 D5/1 B4/1"), bpm);
    buf.AddNotes(Pad(), Sequence("C4+E4+G4/4 A3+C4+E4/4 F3+A3+C4/4 G3+B3+D4/4"), bpm);
    buf.AddNotes(Bass(), Sequence("C3/2 G2/2 A2/2 E2/2 F2/2 C3/2 G2/2 D3/2"), bpm);
    std::vector<Note> arp;
    const int chords[4][3] = {{60, 64, 67}, {57, 60, 64}, {53, 57, 60}, {55, 59, 62}};
    for (int c = 0; c < 4; ++c)
        for (int k = 0; k < 8; ++k) arp.push_back({c * 4 + k * 0.5, 0.5, chords[c][k % 3] + 12, 0.7});
    buf.AddNotes(Arp(), arp, bpm);
    for (int b = 0; b < beats; ++b) {
        if (b % 2 == 0) Hit(buf, Kick(), bpm, b, 140, 0.7);
        Hit(buf, Hat(), bpm, b + 0.5, 0, 0.7);
    }
    return {buf.Pcm16(1), 1, rate};
}

Pcm Fanfare()
{
    const int fpb = 6, beats = 8, rate = 44100;
    const double bpm = 60.0 * kFps / fpb;
    LoopBuffer buf(rate, static_cast<std::size_t>(fpb * beats) * SamplesPerFrame(rate, kFps));
    buf.AddNotes(Brass(), Sequence("G4/0.5 C5/0.5 E5/0.5 G5/1.5 E5/0.5 G5/3 r/1.5"), bpm);
    buf.AddNotes(Brass(), Sequence("E4/0.5 G4/0.5 C5/0.5 E5/1.5 C5/0.5 E5/3 r/1.5", 0, 0.7), bpm);
    buf.AddNotes(Bass(), Sequence("C3/2 G2/1 C3/3.5 r/1.5"), bpm);
    for (int i = 0; i < 6; ++i) Hit(buf, Snare(), bpm, i * 0.25, 200, 0.4 + 0.1 * i);
    for (double at : {1.5, 3.5}) {
        Hit(buf, Kick(), bpm, at, 140);
        buf.AddTone(Crash(), at * 60 / bpm, 0.02, 0, 0.8);
    }
    return {buf.Pcm16(1), 1, rate};
}

Pcm Suspense()
{
    const int fpb = 15, beats = 4, rate = 22050;
    const double bpm = 60.0 * kFps / fpb;
    LoopBuffer buf(rate, static_cast<std::size_t>(fpb * beats) * SamplesPerFrame(rate, kFps));
    Voice drone = Pad();
    drone.env = {0.6, 0.5, 0.8, 0.8};
    drone.gain = 0.18;
    buf.AddNotes(drone, Sequence("D2+A2/4"), bpm);
    Voice sub;
    sub.env = {0.5, 0.2, 0.9, 0.6};
    sub.gain = 0.3;
    buf.AddNotes(sub, Sequence("D2/4"), bpm);
    // A heartbeat: lub-dub on every beat.
    for (int b = 0; b < beats; ++b) {
        Hit(buf, Kick(), bpm, b, 90);
        Hit(buf, Kick(), bpm, b + 0.28, 80, 0.6);
        for (int h = 0; h < 4; ++h) Hit(buf, Hat(), bpm, b + h * 0.25, 0, h % 2 ? 0.3 : 0.5);
    }
    // A creeping line, a semitone a beat, over a trembling cluster.
    Voice creep = Lead(Wave::Triangle);
    creep.gain = 0.2;
    creep.vibrato = 0.3;
    buf.AddNotes(creep, Sequence("A4/1 A#4/1 B4/1 C5/1"), bpm);
    Voice shiver = Arp();
    shiver.wave = Wave::Triangle;
    shiver.gain = 0.06;
    buf.AddNotes(shiver, Repeat(Sequence("D#5+E5/0.125 r/0.125"), 16, 0.25), bpm);
    return {buf.Pcm16(1), 1, rate};
}

Pcm Tick(bool high)
{
    const int rate = high ? 44100 : 22050;
    LoopBuffer buf(rate, static_cast<std::size_t>(rate * 0.08));
    Voice click;
    click.wave = Wave::Square;
    click.env = {0.0005, 0.035, 0, 0.005};
    click.gain = 0.6;
    buf.AddTone(click, 0, 0.01, high ? 2000 : 1300);
    Voice snap = Hat();
    snap.gain = 0.4;
    buf.AddTone(snap, 0, 0.005, 0);
    return {buf.Pcm16(1), 1, rate};
}

std::vector<Movie> GameMovies()
{
    std::vector<Movie> movies;
    constexpr std::uint16_t kForever = 65535; // players with play off only ever run frame 1

    movies.push_back({"bantou.swf", "title theme: MP3 event sound, 22050 Hz mono, CWS",
                      EventSoundMovie(TitleTheme(), {Coding::Mp3, 4, false, 32}, 7 * 16, kFps, kForever, Container::Zlib)});

    const SoundPlan levelPlans[5] = {{Coding::Adpcm, 4, false, 0},
                                     {Coding::Pcm8, 0, false, 0},
                                     {Coding::Adpcm, 5, false, 0},
                                     {Coding::Mp3, 0, false, 40},
                                     {Coding::Adpcm, 3, false, 0}};
    const Container levelContainers[5] = {Container::Zlib, Container::Zlib, Container::Plain, Container::Plain,
                                          Container::Zlib};
    const char* levelAbout[5] = {"ADPCM 4-bit event sound, 22050 Hz mono, CWS",
                                 "uncompressed 8-bit event sound, 11025 Hz mono, CWS",
                                 "ADPCM 5-bit event sound, 11025 Hz mono, FWS",
                                 "MP3 event sound, 22050 Hz mono, FWS",
                                 "ADPCM 3-bit event sound, 22050 Hz stereo, CWS"};
    for (int level = 1; level <= 5; ++level)
        movies.push_back({std::to_string(level) + ".swf", std::string("level music: ") + levelAbout[level - 1],
                          EventSoundMovie(LevelMusic(level), levelPlans[level - 1], LevelFramesPerBeat(level) * 8, kFps,
                                          kForever, levelContainers[level - 1])});

    movies.push_back({"noend.swf", "fanfare: MP3 stream sound, 44100 Hz mono, FWS",
                      StreamSoundMovie(Fanfare(), {Coding::Mp3, 0, false, 64}, kFps, Container::Plain)});
    movies.push_back({"explore.swf", "suspense: ADPCM 4-bit stream sound, 22050 Hz mono, CWS",
                      StreamSoundMovie(Suspense(), {Coding::Adpcm, 4, false, 0}, kFps, Container::Zlib)});

    // The counter: a tick and a tock, alternating four times a second on a 2-second timeline.
    {
        const double fps = 12;
        const StoredSound tick = StoreSound(Tick(true), {Coding::Pcm16, 0, true, 0});
        const StoredSound tock = StoreSound(Tick(false), {Coding::Pcm8, 0, false, 0});
        swf::TagStream tags;
        tags.DefineSound(1, tick.format, tick.sampleCount, tick.data);
        tags.DefineSound(2, tock.format, tock.sampleCount, tock.data);
        for (int frame = 0; frame < 24; ++frame) {
            if (frame % 3 == 0) tags.StartSound(frame % 6 == 0 ? 1 : 2);
            tags.ShowFrame();
        }
        tags.End();
        movies.push_back({"baobao.swf", "ticking: uncompressed event sounds (16-bit format 0 at 44100 Hz, 8-bit format 3 at 22050 Hz), FWS, 12 fps",
                          swf::BuildMovie(Header(fps), tags, Container::Plain)});
    }
    return movies;
}

} // namespace wd::moviemaker
