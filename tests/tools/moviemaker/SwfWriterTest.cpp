#include <gtest/gtest.h>

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

TEST(SwfWriter, BitWriterPacksMostSignificantBitFirstAcrossBytes)
{
    BitWriter w;
    w.Unsigned(0b101, 3);
    w.Signed(-1, 4);
    w.Unsigned(0b11, 2); // crosses into the second byte
    EXPECT_EQ(w.BitCount(), 9u);
    EXPECT_EQ(w.Data(), B({0b10111111, 0b10000000}));
}

TEST(SwfWriter, RectOfA550By400StageUsesFifteenBitFields)
{
    // 550 x 400 pixels = 11000 x 8000 twips: the header every SWF tutorial shows.
    EXPECT_EQ(RectBits({0, 11000, 0, 8000}), 15);
    EXPECT_EQ(EncodeRect({0, 11000, 0, 8000}), B({0x78, 0x00, 0x05, 0x5F, 0x00, 0x00, 0x0F, 0xA0, 0x00}));
}

TEST(SwfWriter, RectWithNegativeAndZeroValuesIsSignExtendedCorrectly)
{
    // -1 needs one signed bit, 1 needs two: nbits = 2, fields 11 01 00 00 -> 00010 11010000 0
    EXPECT_EQ(RectBits({-1, 1, 0, 0}), 2);
    EXPECT_EQ(EncodeRect({-1, 1, 0, 0}), B({0b00010110, 0b10000000}));
    EXPECT_EQ(EncodeRect({0, 0, 0, 0}), B({0b00001000, 0b00000000}));
}

TEST(SwfWriter, FrameRateIsUnsignedEightDotEight)
{
    EXPECT_EQ(FrameRate88(12), 0x0C00);
    EXPECT_EQ(FrameRate88(24.5), 0x1880);
    EXPECT_EQ(FrameRate88(0), 0);
}

TEST(SwfWriter, TagHeadersAreShortBelow63BytesAndLongOtherwiseOrOnRequest)
{
    EXPECT_EQ(TagHeader(kTagShowFrame, 0), B({0x40, 0x00}));
    EXPECT_EQ(TagHeader(kTagDefineSound, 62), B({0xBE, 0x03}));
    EXPECT_EQ(TagHeader(kTagDefineSound, 63), B({0xBF, 0x03, 63, 0, 0, 0}));
    EXPECT_EQ(TagHeader(kTagSoundStreamBlock, 0x12345), B({0xFF, 0x04, 0x45, 0x23, 0x01, 0x00}));
    EXPECT_EQ(TagHeader(kTagEnd, 0, true), B({0x3F, 0x00, 0, 0, 0, 0}));
}

TEST(SwfWriter, SoundInfoWritesFlagsThenOnlyThePresentFieldsInOrder)
{
    EXPECT_EQ(EncodeSoundInfo({}), B({0x00}));
    SoundInfo stop;
    stop.syncStop = true;
    EXPECT_EQ(EncodeSoundInfo(stop), B({0x20}));

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
}

TEST(SwfWriter, ActionsEndWithAZeroAndGotoFrameCarriesItsLength)
{
    Actions a;
    a.Stop().StopSounds().GotoFrame(0x0102).Play();
    EXPECT_EQ(a.End(), B({0x07, 0x09, 0x81, 0x02, 0x00, 0x02, 0x01, 0x06, 0x00}));
}

TEST(SwfWriter, SoundFormatByteAndDefineSoundLayout)
{
    SoundFormatInfo adpcmStereo{SoundFormat::Adpcm, SoundRate::Hz22050, true, true};
    EXPECT_EQ(FormatByte(adpcmStereo), 0x1B);
    SoundFormatInfo mp3Mono{SoundFormat::Mp3, SoundRate::Hz44100, true, false};
    EXPECT_EQ(FormatByte(mp3Mono), 0x2E);
    SoundFormatInfo pcm8{SoundFormat::UncompressedNative, SoundRate::Hz5512, false, false};
    EXPECT_EQ(FormatByte(pcm8), 0x00);

    TagStream t;
    const Bytes data = B({1, 2, 3});
    t.DefineSound(7, adpcmStereo, 0x010203, data);
    EXPECT_EQ(t.Data(), B({0x8A, 0x03, 0x07, 0x00, 0x1B, 0x03, 0x02, 0x01, 0x00, 1, 2, 3}));
}

TEST(SwfWriter, StreamHeadWritesLatencySeekOnlyForMp3)
{
    const SoundFormatInfo play{SoundFormat::UncompressedLittleEndian, SoundRate::Hz44100, true, true};
    TagStream pcm;
    pcm.SoundStreamHead(play, {SoundFormat::Adpcm, SoundRate::Hz11025, true, false}, 735);
    EXPECT_EQ(pcm.Data(), B({0x84, 0x04, 0x0F, 0x16, 0xDF, 0x02}));

    TagStream mp3;
    mp3.SoundStreamHead(play, {SoundFormat::Mp3, SoundRate::Hz22050, true, false}, 1470, -5, true);
    EXPECT_EQ(mp3.Data(), B({0x46, 0x0B, 0x0F, 0x2A, 0xBE, 0x05, 0xFB, 0xFF}));
}

TEST(SwfWriter, Mp3BodiesCarryCountAndSeekBeforeTheFrames)
{
    const Bytes frames = B({0xFF, 0xF3});
    EXPECT_EQ(Mp3SoundData(-2, frames), B({0xFE, 0xFF, 0xFF, 0xF3}));
    EXPECT_EQ(Mp3StreamBlockData(1152, 3, frames), B({0x80, 0x04, 0x03, 0x00, 0xFF, 0xF3}));
}

TEST(SwfWriter, EightBitSamplesAreUnsignedWithSilenceAt128)
{
    const std::int16_t s[] = {0, -32768, 32767, 256, -256, 127};
    EXPECT_EQ(Pcm8Bytes(s), B({128, 0, 255, 129, 127, 128}));
    EXPECT_EQ(Pcm16Bytes(s), B({0, 0, 0x00, 0x80, 0xFF, 0x7F, 0x00, 0x01, 0x00, 0xFF, 127, 0}));
}

TEST(SwfWriter, PlainMovieHasExactHeaderAndCountsShowFrames)
{
    TagStream t;
    t.ShowFrame().ShowFrame().End();
    MovieHeader h;
    h.version = 6;
    h.frame = {0, 11000, 0, 8000};
    h.frameRate = 12;
    const Bytes movie = BuildMovie(h, t);
    const Bytes expected = B({'F', 'W', 'S', 6, 27, 0, 0, 0,                     // length 8 + 9 + 4 + 6
                              0x78, 0x00, 0x05, 0x5F, 0x00, 0x00, 0x0F, 0xA0, 0x00, // RECT
                              0x00, 0x0C, 0x02, 0x00,                               // 12 fps, 2 frames
                              0x40, 0x00, 0x40, 0x00, 0x00, 0x00});
    EXPECT_EQ(movie, expected);
}

TEST(SwfWriter, HeaderOverridesLetTestsWriteLyingFiles)
{
    TagStream t;
    t.ShowFrame().Raw(B({0xBF, 0x03, 0xFF, 0xFF, 0x00, 0x00})); // a DefineSound claiming 64 KB
    MovieHeader h;
    h.frameCount = 500;
    h.fileLength = 3;
    const Bytes movie = BuildMovie(h, t);
    EXPECT_EQ(movie[4], 3);
    EXPECT_EQ(movie[5], 0);
    const std::size_t frameCountAt = 8 + EncodeRect(h.frame).size() + 2;
    EXPECT_EQ(movie[frameCountAt] | movie[frameCountAt + 1] << 8, 500);
    EXPECT_EQ(Bytes(movie.end() - 6, movie.end()), B({0xBF, 0x03, 0xFF, 0xFF, 0x00, 0x00}));
}

TEST(SwfWriter, CompressedMovieInflatesToThePlainMovieBody)
{
    TagStream t;
    Bytes pcm(5000, 0x80);
    t.DefineSound(1, {SoundFormat::UncompressedNative, SoundRate::Hz11025, false, false}, 5000, pcm);
    t.StartSound(1).ShowFrame().End();
    const MovieHeader h;
    const Bytes plain = BuildMovie(h, t, Container::Plain);
    const Bytes zipped = BuildMovie(h, t, Container::Zlib);

    ASSERT_EQ(zipped[0], 'C');
    EXPECT_LT(zipped.size(), plain.size() / 4);
    // Version and FileLength are the same as in the plain file; the rest is zlib.
    EXPECT_TRUE(std::equal(plain.begin() + 1, plain.begin() + 8, zipped.begin() + 1));
    const auto body = Inflate(std::span(zipped).subspan(8), 1 << 20);
    ASSERT_TRUE(body);
    EXPECT_EQ(*body, Bytes(plain.begin() + 8, plain.end()));
}

TEST(SwfWriter, SpriteNestsItsOwnTagsAndFrameCount)
{
    TagStream inner;
    inner.StartSound(3).ShowFrame().End();
    TagStream t;
    t.DefineSprite(9, 1, inner);
    EXPECT_EQ(t.ShowFrames(), 0); // frames inside the sprite are not the movie's
    EXPECT_EQ(t.Data(), B({0xCD, 0x09, 0x09, 0x00, 0x01, 0x00, // header, id 9, 1 frame
                           0xC3, 0x03, 0x03, 0x00, 0x00,       // StartSound 3
                           0x40, 0x00, 0x00, 0x00}));
}

TEST(SwfWriter, StartSound2NamesTheSoundClass)
{
    TagStream t;
    t.StartSound2("Tick", {});
    EXPECT_EQ(t.Data(), B({0x46, 0x16, 'T', 'i', 'c', 'k', 0, 0}));
}
