#include <gtest/gtest.h>

#include <fstream>

#include <malloc.h>

#include "TestMovies.h"
#include "platform/swf/Limits.h"
#include "platform/swf/SwfReader.h"

namespace wd::testing {
namespace {

using swfplay::ReadMovie;

swf::TagStream SoundMovieTags()
{
    swf::TagStream t;
    DefinePcm(t, 7, Level(1000, 100));
    t.StartSound(7).ShowFrame().ShowFrame().ShowFrame().End();
    return t;
}

TEST(SwfReader, PlainZlibAndLzmaMoviesReadAlikeAndFramesAreCountedByShowFrame)
{
    swf::MovieHeader h;
    h.version = 8;
    h.frameRate = 12.5;
    h.frame = {0, 5500, 0, 4000};
    h.frameCount = 99; // lies
    const auto plain = swf::BuildMovie(h, SoundMovieTags());
    for (const auto& file : {plain, swf::BuildMovie(h, SoundMovieTags(), swf::Container::Zlib),
                             swf::BuildMovie(h, SoundMovieTags(), swf::Container::Lzma)}) {
        SCOPED_TRACE(char(file[0]));
        const auto movie = ReadMovie(file);
        ASSERT_TRUE(movie);
        EXPECT_EQ(movie->version, 8);
        EXPECT_DOUBLE_EQ(movie->frameRate, 12.5);
        EXPECT_EQ(movie->frameHeightTwips, 4000); // after the RECT's other fields
        EXPECT_EQ(movie->declaredFrames, 99);
        EXPECT_EQ(movie->main.frames.size(), 3u);
        EXPECT_FALSE(movie->truncated);
        ASSERT_EQ(movie->sounds.count(7), 1u);
        EXPECT_EQ(movie->sounds.at(7).sampleCount, 100u);
        EXPECT_EQ(movie->sounds.at(7).data.size(), 200u);
        ASSERT_EQ(movie->main.frames[0].events.size(), 1u);
        EXPECT_EQ(movie->main.frames[0].events[0].soundId, 7);
    }
}

TEST(SwfReader, CompressedBodiesStopAtTheirCapsAndADictionaryBeyondTheBodyIsCutToIt)
{
    // A 4 GiB LZMA dictionary would be beyond the decoder's memory limit.
    auto zws = Movie(SoundMovieTags(), 10, swf::Container::Lzma);
    zws[13] = zws[14] = zws[15] = zws[16] = 0xff;
    const auto movie = ReadMovie(zws);
    ASSERT_TRUE(movie);
    EXPECT_EQ(movie->sounds.count(7), 1u);
    // 80 MiB of zeros behind a valid header inflates to the cap and no further.
    Bytes body = swf::EncodeRect({0, 20, 0, 20});
    swf::PutU16(body, 12 << 8);
    swf::PutU16(body, 1);
    body.resize(80u << 20, 0);
    Bytes cws{'C', 'W', 'S', 10};
    swf::PutU32(cws, static_cast<std::uint32_t>(body.size() + 8));
    const auto packed = swf::Deflate(body);
    cws.insert(cws.end(), packed.begin(), packed.end());
    unsigned cuts = 0;
    const auto inflated = swfplay::Inflate(cws, &cuts);
    ASSERT_TRUE(inflated);
    EXPECT_EQ(inflated->size(), swfplay::kMaxBodyBytes);
    EXPECT_EQ(cuts, swfplay::kCutBody);
}

TEST(SwfReader, RejectsWhatIsNoMovie)
{
    EXPECT_FALSE(ReadMovie(Bytes{'G', 'W', 'S', 10, 20, 0, 0, 0, 0, 0}));
    EXPECT_FALSE(ReadMovie(Bytes{'F', 'W', 'S'}));
    EXPECT_FALSE(ReadMovie(Bytes{'F', 'W', 'S', 10, 9, 0, 0, 0, 0xf8})); // RECT cut
    EXPECT_FALSE(ReadMovie(Bytes{'C', 'W', 'S', 10, 99, 0, 0, 0, 1, 2, 3, 4}));
}

TEST(SwfReader, UnknownTagsAreReadPastAndATagRunningPastTheDataEndsReadingWithWhatWasRead)
{
    swf::TagStream t;
    const std::uint8_t junk[] = {1, 2, 3};
    t.Tag(2, junk).Tag(777, junk, true).Tag(swf::kTagStartSound, std::vector<std::uint8_t>{5, 0, 0}, true);
    t.ShowFrame().End();
    const auto movie = ReadMovie(Movie(t));
    ASSERT_TRUE(movie);
    ASSERT_EQ(movie->main.frames.size(), 1u);
    ASSERT_EQ(movie->main.frames[0].events.size(), 1u);
    EXPECT_EQ(movie->main.frames[0].events[0].soundId, 5);

    auto cut = Movie(SoundMovieTags());
    cut.resize(cut.size() - 4); // inside the last ShowFrame/End
    auto overlong = Movie(SoundMovieTags());
    overlong.resize(overlong.size() - 2); // drop End
    overlong.insert(overlong.end(), {0x3f, 0x00, 0xff, 0xff, 0x00, 0x00}); // long tag of 65535 bytes
    for (const auto& f : {cut, overlong}) {
        const auto read = ReadMovie(f);
        ASSERT_TRUE(read);
        EXPECT_TRUE(read->truncated);
        EXPECT_GE(read->main.frames.size(), 1u);
        EXPECT_EQ(read->sounds.count(7), 1u);
    }
}

TEST(SwfReader, SpriteContentStaysOutOfTheMainTimelineAndNestingIsCapped)
{
    swf::TagStream inner;
    inner.StartSound(3).ShowFrame().End();
    swf::TagStream mid;
    mid.DefineSprite(11, 1, inner).StartSound(2).ShowFrame().End();
    swf::TagStream outer;
    outer.DefineSprite(12, 1, mid).StartSound(1).ShowFrame().End();
    swf::TagStream t;
    t.DefineSprite(10, 1, outer).ShowFrame().End();
    const auto movie = ReadMovie(Movie(t));
    ASSERT_TRUE(movie);
    EXPECT_TRUE(movie->main.frames.at(0).events.empty());
    EXPECT_EQ(movie->sprites.count(10), 1u);
    EXPECT_EQ(movie->sprites.count(12), 1u);
    EXPECT_EQ(movie->sprites.count(11), 0u); // a third level is not read
}

// A field of /proc/self/status, in KiB.
long StatusKib(const std::string& field)
{
    std::ifstream in("/proc/self/status");
    for (std::string line; std::getline(in, line);)
        if (line.rfind(field, 0) == 0) return std::stol(line.substr(field.size()));
    return -1;
}

TEST(Budget, EveryHostileShapeLoadsWithinTheBudgetAndKeepsWhatFits)
{
    using namespace swfplay;
    struct Shape {
        const char* file; // written by the movie maker at build time
        unsigned cuts;
        bool sounds; // something is left to play
    };
    for (const Shape& s : {Shape{"actions-zws.swf", kCutBody | kCutTimeline, false},
                           Shape{"actions-cws.swf", kCutBody | kCutTimeline, false},
                           Shape{"sounds-zws.swf", kCutBody, true},
                           Shape{"bomb-zws.swf", kCutBody | kCutSound, true},
                           Shape{"bomb-cws.swf", kCutBody | kCutSound, true},
                           Shape{"mp3bomb-cws.swf", kCutBody | kCutSound, true},
                           Shape{"declared.swf", 0, true},
                           Shape{"longpcm-cws.swf", kCutBody, false},
                           Shape{"longpcm.swf", kCutFile, false}}) {
        SCOPED_TRACE(s.file);
        malloc_trim(0); // what earlier loads freed goes back, so that it cannot hide this one
        std::ofstream("/proc/self/clear_refs") << "5"; // the peak starts again from what is resident
        const long before = StatusKib("VmRSS:");
        const auto movie = PrepareFile(std::filesystem::path(WD_HOSTILE_DIR) / s.file);
        [[maybe_unused]] const long peakKib = StatusKib("VmHWM:") - before;
        ASSERT_TRUE(movie);
        EXPECT_EQ(movie->cuts, s.cuts);
        EXPECT_LE(movie->KeptBytes(), kMovieBudgetBytes);
        EXPECT_EQ(!movie->sounds.empty() || movie->stream, s.sounds);
#if !defined(__SANITIZE_ADDRESS__) // its shadow and quarantine are not the player's
        // Generous: storage that doubles holds both copies for a moment, and
        // the kernel may back memory with huge pages.
        EXPECT_LE(static_cast<std::size_t>(peakKib) * 1024, kLoadPeakBytes + (32u << 20));
#endif
    }
}

} // namespace
} // namespace wd::testing
