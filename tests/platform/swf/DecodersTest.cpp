#include <gtest/gtest.h>

#include <cmath>

#include "AdpcmEncoder.h"
#include "TestMovies.h"
#include "platform/swf/Decoders.h"

namespace wd::testing {
namespace {

using swfplay::DecodeAdpcm;
using swfplay::DecodeEventSound;
using swfplay::SampleBudget;

swfplay::DefinedSound Sound(std::uint8_t format, std::uint8_t rate, bool is16, bool stereo, std::uint32_t count,
                            Bytes data)
{
    swfplay::DefinedSound s;
    s.spec = {format, rate, is16, stereo};
    s.sampleCount = count;
    s.data = std::move(data);
    return s;
}

TEST(UncompressedSound, SixteenBitIsLittleEndianSignedInBothFormatCodes)
{
    for (std::uint8_t format : {0, 3}) {
        SampleBudget budget(1000);
        const auto pcm = DecodeEventSound(Sound(format, 2, true, true, 2, {0x01, 0x80, 0xff, 0x7f, 0x34, 0x12, 0xfe, 0xff}), budget);
        ASSERT_TRUE(pcm);
        EXPECT_EQ(pcm->channels, 2);
        EXPECT_DOUBLE_EQ(pcm->rate, 22050);
        EXPECT_EQ(pcm->samples, (std::vector<std::int16_t>{-32767, 32767, 0x1234, -2}));
    }
}

TEST(UncompressedSound, EightBitIsUnsignedAroundOneHundredTwentyEight)
{
    SampleBudget budget(1000);
    const auto pcm = DecodeEventSound(Sound(3, 0, false, false, 4, {0, 128, 255, 129}), budget);
    ASSERT_TRUE(pcm);
    EXPECT_DOUBLE_EQ(pcm->rate, 5512.5);
    EXPECT_EQ(pcm->samples, (std::vector<std::int16_t>{-32768, 0, 32512, 256}));
}

TEST(UncompressedSound, StopsAtTheBudgetAndAtAWholeFrame)
{
    SampleBudget budget(3);
    const auto pcm = DecodeEventSound(Sound(3, 3, true, true, 0, Bytes(20, 0x11)), budget);
    ASSERT_TRUE(pcm);
    EXPECT_EQ(pcm->samples.size(), 2u);
}

TEST(UnsupportedSound, NellymoserAndSpeexGiveNoSound)
{
    SampleBudget budget(1000);
    EXPECT_FALSE(DecodeEventSound(Sound(6, 1, true, false, 10, Bytes(64, 0x55)), budget));
    EXPECT_FALSE(DecodeEventSound(Sound(11, 1, true, false, 10, Bytes(64, 0x55)), budget));
}

// Bits written MSB first, as a string of '0' and '1'.
Bytes FromBits(const std::string& bits)
{
    Bytes out((bits.size() + 7) / 8, 0);
    for (std::size_t i = 0; i < bits.size(); ++i)
        if (bits[i] == '1') out[i / 8] |= static_cast<std::uint8_t>(0x80 >> (i % 8));
    return out;
}

TEST(Adpcm, HandWorkedFourBitCodes)
{
    // Code size 2 (4 bits); initial 1000 at index 0; codes 0111, 1000, 0100.
    //   0111 at step 7:  7 + 3 + 1 + 0 = 11  -> 1011, index 8
    //   1000 at step 16: 16>>3 = 2, minus   -> 1009, index 7
    //   0100 at step 14: 14 + (14>>3) = 15  -> 1024, index 9
    // The four padding bits make one more code 0000 at step 17: 17>>3 = 2 -> 1026.
    const auto data = FromBits("10" "0000001111101000" "000000" "0111" "1000" "0100");
    SampleBudget budget(100);
    std::vector<std::int16_t> out;
    DecodeAdpcm(data, 1, 4, budget, out);
    EXPECT_EQ(out, (std::vector<std::int16_t>{1000, 1011, 1009, 1024}));
    out.clear();
    DecodeAdpcm(data, 1, SIZE_MAX, budget, out);
    EXPECT_EQ(out, (std::vector<std::int16_t>{1000, 1011, 1009, 1024, 1026}));
}

TEST(Adpcm, HandWorkedTwoBitCodesAndClamping)
{
    // Code size 0 (2 bits); initial 0 at index 10 (step 19): 01 -> +19+9 = 28
    // (index 12, step 23); 11 -> -(23+11) = -6 (index 14, step 28); 10 -> -14.
    const auto two = FromBits("00" "0000000000000000" "001010" "01" "11" "10");
    SampleBudget budget(100);
    std::vector<std::int16_t> out;
    DecodeAdpcm(two, 1, 4, budget, out);
    EXPECT_EQ(out, (std::vector<std::int16_t>{0, 28, -6, -20}));

    // 5-bit codes at the top of the table run into the 16-bit limit.
    const auto five = FromBits("11" "0111111111111111" "101100" "01111" "01111");
    out.clear();
    DecodeAdpcm(five, 1, 3, budget, out);
    EXPECT_EQ(out, (std::vector<std::int16_t>{32767, 32767, 32767}));
}

TEST(Adpcm, StereoPacketsInterleaveTheirChannels)
{
    // Left 100 and right -100, both at index 0 (step 7); codes L=0100 R=1100.
    const auto data = FromBits("10" "0000000001100100" "000000" "1111111110011100" "000000" "0100" "1100");
    SampleBudget budget(100);
    std::vector<std::int16_t> out;
    DecodeAdpcm(data, 2, 2, budget, out);
    // 0100 at step 7: 7 + (7>>3) = 7.
    EXPECT_EQ(out, (std::vector<std::int16_t>{100, -100, 107, -107}));
}

class AdpcmRoundTrip : public ::testing::TestWithParam<std::pair<int, double>> {};

TEST_P(AdpcmRoundTrip, OurEncodersSignalComesBackWithinTheErrorBound)
{
    const auto [bits, bound] = GetParam();
    const std::size_t frames = 10000; // three packets, the last one short
    const auto left = Sine(440, 22050, frames, 9000);
    const auto right = Sine(660, 22050, frames, 6000);
    std::vector<std::int16_t> stereo;
    for (std::size_t i = 0; i < frames; ++i) {
        stereo.push_back(left[i]);
        stereo.push_back(right[i]);
    }
    for (int channels : {1, 2}) {
        const auto& signal = channels == 1 ? left : stereo;
        const auto coded = swf::EncodeAdpcm(signal, channels, bits);
        SampleBudget budget(1 << 20);
        const auto pcm = DecodeEventSound(Sound(1, 2, true, channels == 2, frames, coded), budget);
        ASSERT_TRUE(pcm);
        ASSERT_EQ(pcm->samples.size(), signal.size());
        std::vector<std::int16_t> error(signal.size());
        for (std::size_t i = 0; i < signal.size(); ++i) error[i] = static_cast<std::int16_t>(pcm->samples[i] - signal[i]);
        EXPECT_LT(Rms(error), bound * Rms(signal)) << bits << " bits, " << channels << " channels";
        EXPECT_EQ(pcm->samples[4096 * channels], signal[4096 * channels]); // a packet's initial sample is exact
    }
}

INSTANTIATE_TEST_SUITE_P(CodeSizes, AdpcmRoundTrip,
                         ::testing::Values(std::pair{2, 0.5}, std::pair{3, 0.2}, std::pair{4, 0.08},
                                           std::pair{5, 0.04}));

TEST(Adpcm, ARunOutOfBitsEndsTheSoundAndTheBudgetHolds)
{
    SampleBudget budget(10);
    std::vector<std::int16_t> out;
    DecodeAdpcm(Bytes(1000, 0x5a), 1, SIZE_MAX, budget, out);
    EXPECT_EQ(out.size(), 10u);
    out.clear();
    SampleBudget plenty(1000);
    DecodeAdpcm(Bytes{0x80, 0x00}, 1, SIZE_MAX, plenty, out); // no whole packet header
    EXPECT_TRUE(out.empty());
}

class Mp3Sound : public ::testing::Test {
protected:
    static void SetUpTestSuite() { tone_ = LameTone(440, 22050, 22050); }
    static Bytes tone_;
};
Bytes Mp3Sound::tone_;

TEST_F(Mp3Sound, PlaysTheDeclaredLengthAtTheMp3sOwnRateAndPitch)
{
    ASSERT_FALSE(tone_.empty());
    SampleBudget budget(1 << 22);
    // The SWF claims 44.1 kHz stereo; the MP3 is 22.05 kHz mono.
    const auto pcm = DecodeEventSound(Sound(2, 3, true, true, 20000, swf::Mp3SoundData(0, tone_)), budget);
    ASSERT_TRUE(pcm);
    EXPECT_DOUBLE_EQ(pcm->rate, 22050);
    EXPECT_EQ(pcm->channels, 1);
    EXPECT_EQ(pcm->Frames(), 20000u);
    const std::span<const std::int16_t> middle(pcm->samples.data() + 4000, 11025);
    EXPECT_NEAR(ToneFrequency(middle, 22050), 440, 5);
    EXPECT_GT(Rms(middle), 5000);
}

TEST_F(Mp3Sound, SeekSamplesAreSkippedOnceAndTheCountEndsTheSound)
{
    SampleBudget budget(1 << 22);
    const auto whole = DecodeEventSound(Sound(2, 2, true, false, 60000, swf::Mp3SoundData(0, tone_)), budget);
    const auto trimmed = DecodeEventSound(Sound(2, 2, true, false, 1000, swf::Mp3SoundData(1105, tone_)), budget);
    ASSERT_TRUE(whole && trimmed);
    EXPECT_GT(whole->Frames(), 22050u); // the encoder's delay and padding are there untrimmed
    ASSERT_EQ(trimmed->Frames(), 1000u);
    EXPECT_TRUE(std::equal(trimmed->samples.begin(), trimmed->samples.end(), whole->samples.begin() + 1105));
}

TEST_F(Mp3Sound, StreamBlocksRunThroughOneDecoder)
{
    swfplay::Timeline tl;
    tl.streamHead = swfplay::StreamHead{{2, 3, true, false}, 1152, 0};
    // Cut through the middle of MP3 frames: the decoder must carry across.
    const std::size_t third = tone_.size() / 3;
    for (std::size_t i = 0; i < 3; ++i) {
        const auto begin = tone_.begin() + static_cast<std::ptrdiff_t>(i * third);
        const auto end = i == 2 ? tone_.end() : begin + static_cast<std::ptrdiff_t>(third);
        tl.streamBlocks.push_back(swf::Mp3StreamBlockData(1152, 0, std::vector<std::uint8_t>(begin, end)));
    }
    SampleBudget budget(1 << 22);
    const auto stream = swfplay::DecodeStream(tl, budget);
    ASSERT_TRUE(stream);
    EXPECT_DOUBLE_EQ(stream->pcm.rate, 22050);
    EXPECT_GE(stream->pcm.Frames(), 22050u);
    ASSERT_EQ(stream->blockStart.size(), 3u);
    EXPECT_LT(stream->blockStart[0], stream->blockStart[1]);
    EXPECT_LT(stream->blockStart[1], stream->blockStart[2]);
    EXPECT_NEAR(ToneFrequency(std::span(stream->pcm.samples).subspan(4000, 11025), 22050), 440, 5);
}

TEST(AdpcmStream, EveryBlockStartsAFreshDecoder)
{
    swfplay::Timeline tl;
    tl.streamHead = swfplay::StreamHead{{1, 2, true, false}, 2205, 0};
    const auto signal = Sine(300, 22050, 2205 * 3, 8000);
    for (int b = 0; b < 3; ++b)
        tl.streamBlocks.push_back(swf::EncodeAdpcm(std::span(signal).subspan(2205 * b, 2205), 1, 4));
    SampleBudget budget(1 << 20);
    const auto stream = swfplay::DecodeStream(tl, budget);
    ASSERT_TRUE(stream);
    ASSERT_EQ(stream->pcm.Frames(), signal.size());
    EXPECT_EQ(stream->blockStart, (std::vector<std::size_t>{0, 2205, 4410}));
    EXPECT_EQ(stream->pcm.samples[2205], signal[2205]);
}

} // namespace
} // namespace wd::testing
