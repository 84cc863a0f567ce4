// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <cmath>

#include "AdpcmEncoder.h"
#include "Movies.h"
#include "platform/swf/SwfReader.h"

using namespace wd;
using namespace wd::moviemaker;

// Every movie loops: its timeline lasts as long as its sound, so a loop of
// either meets the other.
TEST(MovieMaker, TheMoviesAreWholeLoops)
{
    for (const auto& m : GameMovies()) {
        SCOPED_TRACE(m.name);
        const auto movie = swfplay::ReadMovie(m.file); // read as the game reads it
        ASSERT_TRUE(movie);
        EXPECT_FALSE(movie->truncated);
        EXPECT_EQ(movie->declaredFrames, movie->main.frames.size());
        const double seconds = movie->declaredFrames / movie->frameRate;
        double sound = 0; // the stream, or the longest event sound
        if (const auto& head = movie->main.streamHead)
            sound = double(movie->main.streamBlocks.size()) * head->samplesPerBlock / head->coding.Rate();
        for (const auto& [id, s] : movie->sounds) sound = std::max(sound, s.sampleCount / s.coding.Rate());
        EXPECT_TRUE(m.name == "baobao.swf" || std::abs(sound - seconds) < 1e-6) << sound << " " << seconds;
    }
}

TEST(MovieMaker, TheLevelMusicGetsFasterFromLevelToLevel)
{
    for (int level = 2; level <= 5; ++level) EXPECT_LT(LevelFramesPerBeat(level), LevelFramesPerBeat(level - 1));
}

// The bytes the movie maker writes, worked out by hand where the format is easy to misread.
TEST(MovieMaker, HandWorkedBytes)
{
    using namespace swf;
    const auto b = [](std::initializer_list<int> v) { return Bytes(v.begin(), v.end()); };
    TagStream t;
    MovieHeader h;
    h.version = 6;
    h.frame = {0, 11000, 0, 8000}; // 550 x 400 pixels: fifteen-bit RECT fields
    h.frameRate = 12;
    EXPECT_EQ(BuildMovie(h, t.ShowFrame().ShowFrame().End()),
              b({'F', 'W', 'S', 6, 27, 0, 0, 0, 0x78, 0x00, 0x05, 0x5F, 0x00, 0x00, 0x0F, 0xA0, 0x00, // RECT
                 0x00, 0x0C, 0x02, 0x00, 0x40, 0x00, 0x40, 0x00, 0x00, 0x00}));                  // 12 fps, 2 frames
    EXPECT_EQ(Pcm8Bytes(std::vector<std::int16_t>{0, -32768, 32767, 256}), b({128, 0, 255, 129})); // unsigned
    EXPECT_EQ(Pcm16Bytes(std::vector<std::int16_t>{-32767, 0x1234}), b({0x01, 0x80, 0x34, 0x12}));  // low byte first
    // ADPCM: size field 10, sample 1000, index 0 (step 7 matches the first move of 7), code 0100.
    EXPECT_EQ(EncodeAdpcm(std::vector<std::int16_t>{1000, 1007}, 1, 4), b({0x80, 0xFA, 0x00, 0x40}));
}
