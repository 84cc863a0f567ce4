#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>

#include <mpg123.h>

#include "Movies.h"
#include "Mp3Encoder.h"
#include "Mp3Frames.h"
#include "Synth.h"

using namespace wd;
using namespace wd::synth;
using namespace wd::moviemaker;

namespace {
// Rising zero crossings per second of a mono signal.
double Pitch(const std::vector<std::int16_t>& s, int rate, std::size_t from = 0)
{
    int crossings = 0;
    for (std::size_t i = from + 1; i < s.size(); ++i)
        if (s[i - 1] < 0 && s[i] >= 0) ++crossings;
    return crossings * double(rate) / double(s.size() - from);
}

std::vector<std::int16_t> DecodeMp3(const swf::Bytes& data)
{
    mpg123_init();
    int err = 0;
    mpg123_handle* h = mpg123_new(nullptr, &err);
    mpg123_param(h, MPG123_FLAGS, MPG123_QUIET, 0);
    mpg123_open_feed(h);
    std::vector<std::int16_t> out;
    unsigned char buf[8192];
    size_t done = 0;
    int rc = mpg123_decode(h, data.data(), data.size(), buf, sizeof buf, &done);
    for (;;) {
        out.insert(out.end(), reinterpret_cast<std::int16_t*>(buf), reinterpret_cast<std::int16_t*>(buf + done));
        if (rc == MPG123_ERR || rc == MPG123_NEED_MORE) break;
        rc = mpg123_decode(h, nullptr, 0, buf, sizeof buf, &done);
    }
    mpg123_delete(h);
    return out;
}

// What a movie holds, read back with a walker written for the test.
struct MovieFacts {
    bool compressed = false;
    bool lengthRight = false;
    double fps = 0;
    int frameCount = 0, showFrames = 0, streamBlocks = 0, startSounds = 0;
    std::set<int> formats; // from DefineSound and stream heads
    bool stream = false, event = false;
    double soundSeconds = 0; // longest DefineSound, or the stream's blocks
};

MovieFacts Read(const swf::Bytes& file)
{
    MovieFacts f;
    f.compressed = file.at(0) == 'C';
    const std::uint32_t length = file[4] | file[5] << 8 | file[6] << 16 | std::uint32_t(file[7]) << 24;
    swf::Bytes body(file.begin() + 8, file.end());
    if (f.compressed) body = swf::Inflate(body, 1 << 24).value();
    f.lengthRight = length == body.size() + 8;
    std::size_t p = (5 + 4 * (body[0] >> 3) + 7) / 8;
    f.fps = (body[p] | body[p + 1] << 8) / 256.0;
    f.frameCount = body[p + 2] | body[p + 3] << 8;
    p += 4;
    const double rates[4] = {5512.5, 11025, 22050, 44100};
    int perBlock = 0;
    double streamRate = 1;
    while (p + 2 <= body.size()) {
        const int code = (body[p] | body[p + 1] << 8) >> 6;
        std::size_t len = body[p] & 0x3F;
        p += 2;
        if (len == 0x3F) {
            len = body[p] | body[p + 1] << 8 | body[p + 2] << 16 | std::size_t(body[p + 3]) << 24;
            p += 4;
        }
        const std::uint8_t* t = &body[p];
        p += len;
        if (code == 0) break;
        if (code == 1) ++f.showFrames;
        if (code == 14) {
            f.event = true;
            f.formats.insert(t[2] >> 4);
            const std::uint32_t n = t[3] | t[4] << 8 | t[5] << 16 | std::uint32_t(t[6]) << 24;
            f.soundSeconds = std::max(f.soundSeconds, n / rates[(t[2] >> 2) & 3]);
        }
        if (code == 15) ++f.startSounds;
        if (code == 18 || code == 45) {
            f.stream = true;
            f.formats.insert(t[1] >> 4);
            streamRate = rates[(t[1] >> 2) & 3];
            perBlock = t[2] | t[3] << 8;
        }
        if (code == 19) ++f.streamBlocks;
    }
    if (f.stream) f.soundSeconds = f.streamBlocks * perBlock / streamRate;
    return f;
}
} // namespace

TEST(Synth, NoteNamesAndNumbersMapToMidi)
{
    EXPECT_EQ(MidiFromName("A4"), 69);
    EXPECT_EQ(MidiFromName("C4"), 60);
    EXPECT_EQ(MidiFromName("C#4"), 61);
    EXPECT_EQ(MidiFromName("Bb3"), 58);
    EXPECT_EQ(MidiFromName("C-1"), 0);
    EXPECT_EQ(MidiFromName("64"), 64);
    EXPECT_EQ(MidiFromName("r"), -1);
    EXPECT_EQ(MidiFromName("H2"), -2);
    EXPECT_EQ(MidiFromName("C"), -2);
    EXPECT_EQ(MidiFromName("200"), -2);
    EXPECT_NEAR(MidiToHz(69), 440.0, 1e-9);
    EXPECT_NEAR(MidiToHz(57), 220.0, 1e-9);
}

TEST(Synth, SequenceLaysNotesEndToEndWithRestsAndChords)
{
    const auto n = Sequence("C4 E4/0.5 r/0.5 G4+B4/2 X9 C5", 1);
    ASSERT_EQ(n.size(), 5u);
    EXPECT_EQ(n[0].beat, 1);
    EXPECT_EQ(n[1].beat, 2);
    EXPECT_EQ(n[1].beats, 0.5);
    EXPECT_EQ(n[2].beat, 3); // after the rest
    EXPECT_EQ(n[3].beat, 3); // the chord's second note
    EXPECT_EQ(n[3].midi, 71);
    EXPECT_EQ(n[4].beat, 5); // the unreadable word takes no time
    EXPECT_EQ(Transpose(n, 2)[0].midi, 62);
    EXPECT_EQ(Repeat(n, 2, 8).back().beat, 13);
}

TEST(Synth, OscillatorsHaveTheirShapes)
{
    std::uint32_t noise = 1;
    EXPECT_NEAR(Oscillator(Wave::Sine, 0.25, 0.5, noise), 1.0, 1e-12);
    EXPECT_EQ(Oscillator(Wave::Square, 0.2, 0.25, noise), 1.0);
    EXPECT_EQ(Oscillator(Wave::Square, 0.3, 0.25, noise), -1.0);
    EXPECT_NEAR(Oscillator(Wave::Triangle, 0.0, 0.5, noise), -1.0, 1e-12);
    EXPECT_NEAR(Oscillator(Wave::Triangle, 1.5, 0.5, noise), 1.0, 1e-12);
    EXPECT_NEAR(Oscillator(Wave::Saw, 0.75, 0.5, noise), 0.5, 1e-12);
    double lo = 1, hi = -1, sum = 0;
    for (int i = 0; i < 10000; ++i) {
        const double v = Oscillator(Wave::Noise, 0, 0.5, noise);
        lo = std::min(lo, v);
        hi = std::max(hi, v);
        sum += v;
    }
    EXPECT_GE(lo, -1.0);
    EXPECT_LE(hi, 1.0);
    EXPECT_LT(lo, -0.9);
    EXPECT_GT(hi, 0.9);
    EXPECT_NEAR(sum / 10000, 0, 0.05);
}

TEST(Synth, EnvelopeRisesDecaysHoldsAndReleases)
{
    const Adsr e{0.1, 0.2, 0.5, 0.4};
    EXPECT_NEAR(e.Level(0.05, 1), 0.5, 1e-9);
    EXPECT_NEAR(e.Level(0.2, 1), 0.75, 1e-9);
    EXPECT_NEAR(e.Level(0.6, 1), 0.5, 1e-9);
    EXPECT_NEAR(e.Level(1.2, 1), 0.25, 1e-9);
    EXPECT_EQ(e.Level(1.5, 1), 0);
    EXPECT_NEAR(e.Level(0.1, 0.05), 0.5 * 0.875, 1e-9); // released during the attack, at half level
}

TEST(Synth, LoopBufferPlaysTheRightPitchAndWrapsTailsToTheStart)
{
    LoopBuffer buf(22050, 22050);
    Voice v;
    v.env = {0.001, 0.01, 1.0, 0.0};
    v.gain = 2; // too loud: scaled down to the peak asked for
    buf.AddTone(v, 0.5, 1.0, 440); // from the middle, one second: half of it wraps
    const auto pcm = buf.Pcm16(1, 0.5);
    EXPECT_NEAR(Pitch(pcm, 22050), 440, 2);
    // The wrapped half is as loud as the other half: no seam, no gap.
    auto rms = [&](std::size_t a, std::size_t b) {
        double s = 0;
        for (std::size_t i = a; i < b; ++i) s += double(pcm[i]) * pcm[i];
        return std::sqrt(s / double(b - a));
    };
    EXPECT_NEAR(rms(1000, 10000), rms(12000, 21000), 200);
    int peak = 0;
    for (auto s : pcm) peak = std::max(peak, std::abs(int(s)));
    EXPECT_NEAR(peak, 0.5 * 32767, 50);
}

TEST(Mp3Frames, HeadersGiveRateSamplesAndSize)
{
    const std::uint8_t mpeg1[] = {0xFF, 0xFB, 0x90, 0x44}; // 128 kbps, 44100 Hz, joint stereo
    const auto a = swf::ParseMp3FrameHeader(mpeg1);
    ASSERT_TRUE(a);
    EXPECT_EQ(a->sampleRate, 44100);
    EXPECT_EQ(a->samples, 1152);
    EXPECT_EQ(a->size, 417u);
    EXPECT_EQ(a->channels, 2);
    const std::uint8_t mpeg2[] = {0xFF, 0xF3, 0x42, 0xC4}; // 32 kbps, 22050 Hz, padded, mono
    const auto b = swf::ParseMp3FrameHeader(mpeg2);
    ASSERT_TRUE(b);
    EXPECT_EQ(b->sampleRate, 22050);
    EXPECT_EQ(b->samples, 576);
    EXPECT_EQ(b->size, 105u);
    EXPECT_EQ(b->channels, 1);
    const std::uint8_t layer2[] = {0xFF, 0xFD, 0x90, 0x44};
    EXPECT_FALSE(swf::ParseMp3FrameHeader(layer2));
    const std::uint8_t badRate[] = {0xFF, 0xFB, 0x9C, 0x44};
    EXPECT_FALSE(swf::ParseMp3FrameHeader(badRate));
}

TEST(Mp3Frames, StreamBlocksFollowTheTimelineAndKeepEveryFrame)
{
    swf::Bytes data;
    for (int i = 0; i < 40; ++i) {
        const std::uint8_t header[] = {0xFF, 0xF3, 0x40, 0xC4}; // 32 kbps 22050 Hz: 104 bytes
        data.insert(data.end(), header, header + 4);
        data.resize(data.size() + 100, static_cast<std::uint8_t>(i));
    }
    const auto frames = swf::ParseMp3Frames(data);
    ASSERT_EQ(frames.size(), 40u);
    const auto blocks = swf::Mp3StreamBlocks(data, frames, 12, 15, 1105); // 1470 samples a frame
    ASSERT_EQ(blocks.size(), 12u);
    std::size_t bytes = 0;
    long total = 0;
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        const int count = blocks[i][0] | blocks[i][1] << 8;
        const int seek = static_cast<std::int16_t>(blocks[i][2] | blocks[i][3] << 8);
        EXPECT_EQ(count % 576, 0);
        EXPECT_EQ((blocks[i].size() - 4) / 104, static_cast<std::size_t>(count / 576));
        // The block starts no later than its frame's time, by less than one MP3 frame.
        if (i + 1 < blocks.size()) {
            EXPECT_EQ(seek, static_cast<long>(1105 + 1470 * i) - total) << i;
            EXPECT_GE(seek, 0);
            EXPECT_LT(seek, 576 + 1105 * (i == 0));
        }
        total += count;
        bytes += blocks[i].size() - 4;
    }
    EXPECT_EQ(bytes, data.size());
    EXPECT_EQ(total, 40 * 576);
}

TEST(Mp3Encoder, LameKeepsRateAndPitchAndStartsAfterTheKnownDelay)
{
    std::vector<std::int16_t> tone(22050);
    for (std::size_t i = 0; i < tone.size(); ++i)
        tone[i] = static_cast<std::int16_t>(10000 * std::sin(2 * 3.141592653589793 * 1000 * i / 22050.0));
    const Mp3Sound mp3 = EncodeMp3(tone, 1, 22050, 48);
    EXPECT_EQ(mp3.sampleRate, 22050);
    EXPECT_EQ(mp3.channels, 1);
    ASSERT_FALSE(mp3.frames.empty());
    EXPECT_EQ(mp3.frames.back().offset + mp3.frames.back().size, mp3.data.size());

    const auto decoded = DecodeMp3(mp3.data);
    ASSERT_GE(decoded.size(), tone.size() + kLameDecodedDelay);
    EXPECT_EQ(decoded.size(), mp3.frames.size() * 576);
    std::size_t first = 0;
    while (first < decoded.size() && std::abs(decoded[first]) < 2000) ++first;
    EXPECT_NEAR(double(first), double(kLameDecodedDelay), 40);
    EXPECT_NEAR(Pitch({decoded.begin() + kLameDecodedDelay, decoded.begin() + kLameDecodedDelay + 22050}, 22050), 1000, 5);
}

TEST(Movies, StreamMovieHasOneBlockPerFrameCoveringTheSound)
{
    Pcm pcm;
    pcm.sampleRate = 11025;
    pcm.samples.assign(735 * 10 + 1, 1000); // one sample into an eleventh frame
    const auto facts = Read(StreamSoundMovie(pcm, {Coding::Pcm16, 0, false, 0}, 15, swf::Container::Plain));
    EXPECT_TRUE(facts.stream);
    EXPECT_EQ(facts.streamBlocks, 11);
    EXPECT_EQ(facts.showFrames, 11);
    EXPECT_EQ(facts.frameCount, 11);
    EXPECT_THROW(StreamSoundMovie(pcm, {Coding::Adpcm, 4, false, 0}, 12, swf::Container::Plain), std::invalid_argument);
}

TEST(Movies, TheNineMoviesAreWellFormedLoopsUsingEveryKindOfSound)
{
    const auto movies = GameMovies();
    std::set<std::string> names;
    std::set<int> formats;
    bool cws = false, fws = false, stream = false, event = false;
    for (const auto& m : movies) {
        SCOPED_TRACE(m.name);
        names.insert(m.name);
        const MovieFacts f = Read(m.file);
        EXPECT_TRUE(f.lengthRight);
        EXPECT_EQ(f.frameCount, f.showFrames);
        EXPECT_LT(m.file.size(), 64u * 1024);
        EXPECT_GE(f.frameCount / f.fps, 1.9);
        EXPECT_LE(f.frameCount / f.fps, 8.0);
        if (m.name != "baobao.swf") {
            // The timeline lasts as long as the sound, so a loop of either meets the other.
            EXPECT_NEAR(f.soundSeconds, f.frameCount / f.fps, 1e-6);
        }
        formats.insert(f.formats.begin(), f.formats.end());
        (f.compressed ? cws : fws) = true;
        stream |= f.stream;
        event |= f.event;
    }
    EXPECT_EQ(names, (std::set<std::string>{"bantou.swf", "1.swf", "2.swf", "3.swf", "4.swf", "5.swf", "noend.swf",
                                            "explore.swf", "baobao.swf"}));
    EXPECT_EQ(formats, (std::set<int>{0, 1, 2, 3}));
    EXPECT_TRUE(cws && fws && stream && event);
}

TEST(Movies, LevelMusicGetsFasterAndHigherFromLevelToLevel)
{
    double previousPitch = 0;
    for (int level = 1; level <= 5; ++level) {
        SCOPED_TRACE(level);
        EXPECT_LT(LevelFramesPerBeat(level), level == 1 ? 100 : LevelFramesPerBeat(level - 1));
        const Pcm pcm = LevelMusic(level);
        EXPECT_EQ(pcm.Frames(), static_cast<std::size_t>(8 * LevelFramesPerBeat(level) * pcm.sampleRate / 15));
        std::vector<std::int16_t> mono;
        for (std::size_t i = 0; i < pcm.samples.size(); i += static_cast<std::size_t>(pcm.channels)) mono.push_back(pcm.samples[i]);
        const double pitch = Pitch(mono, pcm.sampleRate);
        EXPECT_GT(pitch, previousPitch);
        previousPitch = pitch;
    }
}
