#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "Movies.h"
#include "Mp3Encoder.h"
#include "Mp3Frames.h"
#include "platform/swf/Decoders.h"
#include "platform/swf/SwfReader.h"

using namespace wd;
using namespace wd::moviemaker;

namespace {
// Rising zero crossings per second of a mono signal.
double Pitch(std::span<const std::int16_t> s, int rate)
{
    int crossings = 0;
    for (std::size_t i = 1; i < s.size(); ++i)
        if (s[i - 1] < 0 && s[i] >= 0) ++crossings;
    return crossings * double(rate) / double(s.size());
}

// Seconds of sound in a movie read back by the player: its stream, or its longest event sound.
double SoundSeconds(const swfplay::Movie& m)
{
    if (m.main.streamHead)
        return double(m.main.streamBlocks.size()) * m.main.streamHead->samplesPerBlock / m.main.streamHead->coding.Rate();
    double longest = 0;
    for (const auto& [id, s] : m.sounds) longest = std::max(longest, s.sampleCount / s.coding.Rate());
    return longest;
}
} // namespace

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
        EXPECT_EQ(blocks[i].size() - 4, count / 576 * 104u) << "whole frames, counted right";
        // The block starts no later than its frame's time, by less than one MP3 frame.
        if (i + 1 < blocks.size()) {
            EXPECT_EQ(seek, static_cast<long>(1105 + 1470 * i) - total) << i;
            EXPECT_TRUE(seek >= 0 && seek < 576 + 1105 * (i == 0)) << seek;
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

    swfplay::Mp3Decoder decoder;
    swfplay::SampleBudget budget(1 << 22);
    std::vector<std::int16_t> decoded;
    decoder.Feed(mp3.data, budget, decoded);
    ASSERT_GE(decoded.size(), tone.size() + kLameDecodedDelay);
    EXPECT_EQ(decoded.size(), mp3.frames.size() * 576);
    std::size_t first = 0;
    while (first < decoded.size() && std::abs(decoded[first]) < 2000) ++first;
    EXPECT_NEAR(double(first), double(kLameDecodedDelay), 40);
    EXPECT_NEAR(Pitch(std::span(decoded).subspan(kLameDecodedDelay, 22050), 22050), 1000, 5);
}

TEST(Movies, TheNineMoviesReadBackWellFormedLoopsUsingEveryKindOfSound)
{
    std::set<std::string> names;
    std::set<int> formats;
    std::set<char> containers;
    bool stream = false, event = false;
    for (const auto& m : GameMovies()) {
        SCOPED_TRACE(m.name);
        names.insert(m.name);
        EXPECT_LT(m.file.size(), 64u * 1024);
        const auto movie = swfplay::ReadMovie(m.file);
        ASSERT_TRUE(movie);
        EXPECT_FALSE(movie->truncated);
        EXPECT_EQ(movie->fileLength, 8 + swfplay::Inflate(m.file)->size());
        EXPECT_EQ(movie->declaredFrames, movie->main.frames.size());
        const double seconds = movie->declaredFrames / movie->frameRate;
        EXPECT_GE(seconds, 1.9);
        EXPECT_LE(seconds, 8.0);
        // The timeline lasts as long as the sound, so a loop of either meets the other.
        if (m.name != "baobao.swf") {
            EXPECT_NEAR(SoundSeconds(*movie), seconds, 1e-6);
        }
        containers.insert(movie->signature);
        if (movie->main.streamHead) {
            stream = true;
            formats.insert(movie->main.streamHead->coding.format);
            EXPECT_EQ(movie->main.streamBlocks.size(), movie->main.frames.size());
        }
        for (const auto& [id, s] : movie->sounds) {
            event = true;
            formats.insert(s.coding.format);
        }
    }
    EXPECT_EQ(names, (std::set<std::string>{"bantou.swf", "1.swf", "2.swf", "3.swf", "4.swf", "5.swf", "noend.swf",
                                            "explore.swf", "baobao.swf"}));
    EXPECT_EQ(formats, (std::set<int>{0, 1, 2, 3}));
    EXPECT_EQ(containers, (std::set<char>{'F', 'C'}));
    EXPECT_TRUE(stream && event);

    // A stream that runs one sample into an eleventh frame gets that frame and its block.
    Pcm pcm;
    pcm.sampleRate = 11025;
    pcm.samples.assign(735 * 10 + 1, 1000);
    const auto streamed = swfplay::ReadMovie(StreamSoundMovie(pcm, {Coding::Pcm16, 0, false, 0}, 15, swf::Container::Plain));
    ASSERT_TRUE(streamed && streamed->main.streamHead);
    EXPECT_EQ(streamed->main.streamBlocks.size(), 11u);
    EXPECT_EQ(streamed->main.frames.size(), 11u);
    EXPECT_EQ(streamed->declaredFrames, 11);
    EXPECT_THROW(StreamSoundMovie(pcm, {Coding::Adpcm, 4, false, 0}, 12, swf::Container::Plain), std::invalid_argument);
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
