// The bytes the movie maker writes, worked out by hand from the file format. The
// player's tests read movies back (and the zlib container); these keep both sides
// honest about the layout itself.
#include <gtest/gtest.h>

#include "AdpcmEncoder.h"
#include "SwfWriter.h"

using namespace wd::swf;

namespace {
Bytes B(std::initializer_list<int> v)
{
    Bytes out;
    for (int x : v) out.push_back(static_cast<std::uint8_t>(x));
    return out;
}
} // namespace

TEST(SwfWriter, PlainMovieHasTheExactHeaderAndShortOrLongTagHeaders)
{
    TagStream t;
    t.ShowFrame().ShowFrame().End();
    MovieHeader h;
    h.version = 6;
    h.frame = {0, 11000, 0, 8000}; // 550 x 400 pixels: fifteen-bit RECT fields
    h.frameRate = 12;
    EXPECT_EQ(BuildMovie(h, t), B({'F', 'W', 'S', 6, 27, 0, 0, 0,                     // length 8 + 9 + 4 + 6
                                   0x78, 0x00, 0x05, 0x5F, 0x00, 0x00, 0x0F, 0xA0, 0x00, // RECT
                                   0x00, 0x0C, 0x02, 0x00,                               // 12 fps, 2 frames
                                   0x40, 0x00, 0x40, 0x00, 0x00, 0x00}));
    EXPECT_EQ(TagHeader(kTagDefineSound, 62), B({0xBE, 0x03}));
    EXPECT_EQ(TagHeader(kTagDefineSound, 63), B({0xBF, 0x03, 63, 0, 0, 0}));
    EXPECT_EQ(TagHeader(kTagEnd, 0, true), B({0x3F, 0x00, 0, 0, 0, 0}));
}

TEST(SwfWriter, SoundTagsAndActionsHaveTheFormatsByteLayout)
{
    TagStream define;
    define.DefineSound(7, {SoundFormat::Adpcm, SoundRate::Hz22050, true, true}, 0x010203, B({1, 2, 3}));
    EXPECT_EQ(define.Data(), B({0x8A, 0x03, 0x07, 0x00, 0x1B, 0x03, 0x02, 0x01, 0x00, 1, 2, 3}));

    SoundInfo all;
    all.syncNoMultiple = true;
    all.inPoint = 0x100;
    all.outPoint = 0x20000;
    all.loopCount = 3;
    all.envelope = std::vector<EnvelopePoint>{{44100, 0x8000, 0}};
    EXPECT_EQ(EncodeSoundInfo(all), B({0x1F,                   // NoMultiple, envelope, loops, out, in
                                       0x00, 0x01, 0x00, 0x00, // in point
                                       0x00, 0x00, 0x02, 0x00, // out point
                                       0x03, 0x00,             // loops
                                       0x01,                   // one envelope point
                                       0x44, 0xAC, 0x00, 0x00, 0x00, 0x80, 0x00, 0x00}));

    // An MP3 stream head carries a latency seek.
    const SoundFormatInfo play{SoundFormat::UncompressedLittleEndian, SoundRate::Hz44100, true, true};
    TagStream mp3;
    mp3.SoundStreamHead(play, {SoundFormat::Mp3, SoundRate::Hz22050, true, false}, 1470, -5, true);
    EXPECT_EQ(mp3.Data(), B({0x46, 0x0B, 0x0F, 0x2A, 0xBE, 0x05, 0xFB, 0xFF}));
    EXPECT_EQ(Mp3SoundData(-2, B({0xFF, 0xF3})), B({0xFE, 0xFF, 0xFF, 0xF3}));
    EXPECT_EQ(Mp3StreamBlockData(1152, 3, B({0xFF, 0xF3})), B({0x80, 0x04, 0x03, 0x00, 0xFF, 0xF3}));

    Actions a;
    a.Stop().StopSounds().GotoFrame(0x0102).Play();
    EXPECT_EQ(a.End(), B({0x07, 0x09, 0x81, 0x02, 0x00, 0x02, 0x01, 0x06, 0x00}));

    const std::int16_t s[] = {0, -32768, 32767, 256, -256, 127};
    EXPECT_EQ(Pcm8Bytes(s), B({128, 0, 255, 129, 127, 128})) << "eight-bit samples are unsigned, silence at 128";
}

TEST(AdpcmEncoder, HandWorkedPacketsFollowEachOtherUnaligned)
{
    // Size field 10, sample 1000, index 0 (step 7 matches the first move of 7), code 0100.
    const std::int16_t up[] = {1000, 1007};
    EXPECT_EQ(EncodeAdpcm(up, 1, 4), B({0x80, 0xFA, 0x00, 0x40}));
    // Size field 01, sample 0, index 15 (step 31), then -30 coded as sign + magnitude 01.
    const std::int16_t down[] = {0, -30};
    EXPECT_EQ(EncodeAdpcm(down, 1, 3), B({0x40, 0x00, 0x0F, 0xA0}));
    // Packets of 4096 frames, padded only at the very end.
    EXPECT_EQ(EncodeAdpcm(std::vector<std::int16_t>(4097, 100), 1, 4).size(), (2 + 22 + 4095 * 4 + 22 + 7) / 8u);
    EXPECT_EQ(EncodeAdpcm(std::vector<std::int16_t>(2 * 6000, 100), 2, 5).size(),
              (2 + 44 + 4095 * 10 + 44 + 1903 * 10 + 7) / 8u);
    EXPECT_THROW(EncodeAdpcm(down, 1, 6), std::invalid_argument);
    EXPECT_THROW(EncodeAdpcm(down, 3, 4), std::invalid_argument);
}
