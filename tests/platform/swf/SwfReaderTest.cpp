#include <gtest/gtest.h>

#include "TestMovies.h"
#include "platform/swf/ByteReader.h"
#include "platform/swf/Limits.h"
#include "platform/swf/SwfReader.h"

namespace wd::testing {
namespace {

using swfplay::ActionKind;
using swfplay::ReadMovie;

TEST(ByteReader, ReadsLittleEndianAndFailsWithZerosPastTheEnd)
{
    const std::uint8_t data[] = {0x34, 0x12, 0x78, 0x56, 0x34, 0x12, 0xff};
    swfplay::ByteReader r(data);
    EXPECT_EQ(r.U16(), 0x1234);
    EXPECT_EQ(r.U32(), 0x12345678u);
    EXPECT_FALSE(r.Failed());
    EXPECT_EQ(r.U16(), 0); // one byte left
    EXPECT_TRUE(r.Failed());
    EXPECT_EQ(r.Remaining(), 0u);
}

TEST(BitReader, ReadsMostSignificantBitFirstAcrossBytesWithSign)
{
    const std::uint8_t data[] = {0b1011'0011, 0b1100'0000};
    swfplay::BitReader b(data);
    EXPECT_EQ(b.Bits(3), 0b101u);
    EXPECT_EQ(b.SignedBits(5), -13); // 10011
    EXPECT_EQ(b.SignedBits(2), -1);  // 11
    EXPECT_EQ(b.BitsLeft(), 6u);
    EXPECT_EQ(b.Bits(7), 0u);
    EXPECT_TRUE(b.Failed());
}

swf::TagStream SoundMovieTags()
{
    swf::TagStream t;
    DefinePcm(t, 7, Level(1000, 100));
    t.StartSound(7).ShowFrame().ShowFrame().ShowFrame().End();
    return t;
}

TEST(SwfReader, ReadsTheHeaderAndCountsFramesByShowFrame)
{
    swf::MovieHeader h;
    h.version = 8;
    h.frameRate = 12.5;
    h.frame = {0, 5500, 0, 4000};
    h.frameCount = 99; // lies
    const auto movie = ReadMovie(swf::BuildMovie(h, SoundMovieTags()));
    ASSERT_TRUE(movie);
    EXPECT_EQ(movie->version, 8);
    EXPECT_DOUBLE_EQ(movie->frameRate, 12.5);
    EXPECT_EQ(movie->frameWidthTwips, 5500);
    EXPECT_EQ(movie->frameHeightTwips, 4000);
    EXPECT_EQ(movie->declaredFrames, 99);
    EXPECT_EQ(movie->main.frames.size(), 3u);
    EXPECT_FALSE(movie->truncated);
    ASSERT_EQ(movie->sounds.count(7), 1u);
    EXPECT_EQ(movie->sounds.at(7).sampleCount, 100u);
    ASSERT_EQ(movie->main.frames[0].events.size(), 1u);
    EXPECT_EQ(movie->main.frames[0].events[0].soundId, 7);
}

TEST(SwfReader, ZlibAndLzmaContainersReadLikeThePlainOne)
{
    const auto plain = Movie(SoundMovieTags());
    for (const auto& file : {Movie(SoundMovieTags(), 10, swf::Container::Zlib), ToZws(plain)}) {
        const auto movie = ReadMovie(file);
        ASSERT_TRUE(movie) << char(file[0]);
        EXPECT_EQ(movie->main.frames.size(), 3u);
        ASSERT_EQ(movie->sounds.count(7), 1u);
        EXPECT_EQ(movie->sounds.at(7).data.size(), 200u);
    }
}

TEST(SwfReader, CompressedBodiesStopAtTheirCaps)
{
    // An LZMA dictionary of 4 GiB is beyond the decoder's memory limit.
    auto zws = ToZws(Movie(SoundMovieTags()));
    zws[13] = zws[14] = zws[15] = zws[16] = 0xff;
    EXPECT_FALSE(ReadMovie(zws));
    // 80 MiB of zeros behind a valid header inflates to the cap and no further.
    Bytes body = swf::EncodeRect({0, 20, 0, 20});
    swf::PutU16(body, 12 << 8);
    swf::PutU16(body, 1);
    body.resize(80u << 20, 0);
    Bytes cws{'C', 'W', 'S', 10};
    swf::PutU32(cws, static_cast<std::uint32_t>(body.size() + 8));
    const auto packed = swf::Deflate(body);
    cws.insert(cws.end(), packed.begin(), packed.end());
    const auto inflated = swfplay::Inflate(cws);
    ASSERT_TRUE(inflated);
    EXPECT_EQ(inflated->size(), swfplay::kMaxBodyBytes);
}

TEST(SwfReader, RejectsWhatIsNoMovie)
{
    EXPECT_FALSE(ReadMovie(Bytes{'G', 'W', 'S', 10, 20, 0, 0, 0, 0, 0}));
    EXPECT_FALSE(ReadMovie(Bytes{'F', 'W', 'S'}));
    EXPECT_FALSE(ReadMovie(Bytes{'F', 'W', 'S', 10, 9, 0, 0, 0, 0xf8})); // RECT cut
    EXPECT_FALSE(ReadMovie(Bytes{'C', 'W', 'S', 10, 99, 0, 0, 0, 1, 2, 3, 4}));
}

TEST(SwfReader, LongHeadersAndUnknownTagsAreReadPast)
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
}

TEST(SwfReader, ATagRunningPastTheDataEndsReadingWithWhatWasRead)
{
    auto file = Movie(SoundMovieTags());
    const auto cut = file.size() - 4; // inside the last ShowFrame/End
    file.resize(cut);
    swf::TagStream more;
    more.Raw(Bytes{0x3f, 0x00, 0xff, 0xff, 0x00, 0x00}); // long tag of 65535 bytes
    auto whole = Movie(SoundMovieTags());
    whole.resize(whole.size() - 2); // drop End
    whole.insert(whole.end(), more.Data().begin(), more.Data().end());
    for (const auto& f : {file, whole}) {
        const auto movie = ReadMovie(f);
        ASSERT_TRUE(movie);
        EXPECT_TRUE(movie->truncated);
        EXPECT_GE(movie->main.frames.size(), 1u);
        EXPECT_EQ(movie->sounds.count(7), 1u);
    }
}

TEST(SwfReader, DoActionKeepsPlayStopStopSoundsAndGotoFrameOnly)
{
    swf::Actions a;
    const std::uint8_t label[] = {'x', 0};
    a.Code(0x04).Play().Record(0x8c, label).Stop().StopSounds().GotoFrame(300).Code(0x05);
    swf::TagStream t;
    t.DoAction(a).ShowFrame().End();
    const auto movie = ReadMovie(Movie(t));
    ASSERT_TRUE(movie);
    const auto& ev = movie->main.frames.at(0).events;
    ASSERT_EQ(ev.size(), 4u);
    EXPECT_EQ(ev[0].action, ActionKind::Play);
    EXPECT_EQ(ev[1].action, ActionKind::Stop);
    EXPECT_EQ(ev[2].action, ActionKind::StopSounds);
    EXPECT_EQ(ev[3].action, ActionKind::GotoFrame);
    EXPECT_EQ(ev[3].frame, 300);
}

TEST(SwfReader, SoundInfoFieldsAreRead)
{
    swf::SoundInfo info;
    info.syncNoMultiple = true;
    info.inPoint = 10;
    info.outPoint = 2000;
    info.loopCount = 3;
    info.envelope = std::vector<swf::EnvelopePoint>{{0, 0, 0}, {100, 32768, 32768}};
    swf::TagStream t;
    swf::SoundInfo stop;
    stop.syncStop = true;
    t.StartSound(1, info).StartSound(2, stop).ShowFrame().End();
    const auto movie = ReadMovie(Movie(t));
    ASSERT_TRUE(movie);
    const auto& ev = movie->main.frames.at(0).events;
    ASSERT_EQ(ev.size(), 2u);
    EXPECT_TRUE(ev[0].info.syncNoMultiple);
    EXPECT_EQ(ev[0].info.inPoint, 10u);
    EXPECT_EQ(ev[0].info.outPoint, 2000u);
    EXPECT_EQ(ev[0].info.loops, 3);
    EXPECT_EQ(ev[0].info.envelope.size(), 2u);
    EXPECT_TRUE(ev[1].info.syncStop);
    EXPECT_EQ(ev[1].info.loops, 1);
}

TEST(SwfReader, StartSound2FindsTheSoundByItsExportedName)
{
    swf::TagStream t;
    Bytes symbols;
    swf::PutU16(symbols, 1);
    swf::PutU16(symbols, 42);
    swf::PutString(symbols, "Tick");
    t.Tag(76, symbols).StartSound2("Tick").StartSound2("Unknown").ShowFrame().End();
    const auto movie = ReadMovie(Movie(t));
    ASSERT_TRUE(movie);
    ASSERT_EQ(movie->main.frames.at(0).events.size(), 1u);
    EXPECT_EQ(movie->main.frames[0].events[0].soundId, 42);
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

} // namespace
} // namespace wd::testing
