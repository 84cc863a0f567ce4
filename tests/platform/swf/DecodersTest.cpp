#include <gtest/gtest.h>

#include <cmath>

#include "AdpcmEncoder.h"
#include "Mp3Encoder.h"
#include "TestMovies.h"
#include "platform/swf/Decoders.h"

namespace wd::testing {
namespace {

using swfplay::DecodeAdpcm;
using swfplay::DecodeEventSound;
using swfplay::SampleBudget;

// A sound definition with the data it points into.
struct OwnedSound {
    Bytes data;
    swfplay::DefinedSound sound;
    operator const swfplay::DefinedSound&() const { return sound; }
};

OwnedSound Sound(std::uint8_t format, std::uint8_t rate, bool is16, bool stereo, std::uint32_t count, Bytes data)
{
    OwnedSound s{std::move(data), {}};
    s.sound.coding = {format, rate, is16, stereo};
    s.sound.sampleCount = count;
    s.sound.data = s.data;
    return s;
}

double RmsError(std::span<const std::int16_t> a, std::span<const std::int16_t> b)
{
    double sum = 0;
    for (std::size_t i = 0; i < a.size(); ++i) sum += (a[i] - b[i]) * double(a[i] - b[i]);
    return std::sqrt(sum / static_cast<double>(a.size()));
}

TEST(UncompressedSound, SixteenBitIsSignedEightBitUnsignedAndTheBudgetHolds)
{
    SampleBudget budget(1000);
    for (std::uint8_t format : {0, 3}) { // both little-endian
        const auto pcm = DecodeEventSound(Sound(format, 2, true, true, 2, {0x01, 0x80, 0xff, 0x7f, 0x34, 0x12, 0xfe, 0xff}), budget);
        ASSERT_TRUE(pcm);
        EXPECT_EQ(pcm->channels, 2);
        EXPECT_DOUBLE_EQ(pcm->rate, 22050);
        EXPECT_EQ(pcm->samples, (std::vector<std::int16_t>{-32767, 32767, 0x1234, -2}));
    }
    const auto pcm8 = DecodeEventSound(Sound(3, 0, false, false, 4, {0, 128, 255, 129}), budget);
    ASSERT_TRUE(pcm8);
    EXPECT_DOUBLE_EQ(pcm8->rate, 5512.5);
    EXPECT_EQ(pcm8->samples, (std::vector<std::int16_t>{-32768, 0, 32512, 256}));
    // Nellymoser and Speex give no sound.
    EXPECT_FALSE(DecodeEventSound(Sound(6, 1, true, false, 10, Bytes(64, 0x55)), budget));
    EXPECT_FALSE(DecodeEventSound(Sound(11, 1, true, false, 10, Bytes(64, 0x55)), budget));

    SampleBudget three(3);
    const auto cut = DecodeEventSound(Sound(3, 3, true, true, 0, Bytes(20, 0x11)), three);
    ASSERT_TRUE(cut);
    EXPECT_EQ(cut->samples.size(), 2u) << "stops at the budget, on a whole frame";
}

// Bits written MSB first, as a string of '0' and '1'.
Bytes FromBits(const std::string& bits)
{
    Bytes out((bits.size() + 7) / 8, 0);
    for (std::size_t i = 0; i < bits.size(); ++i)
        if (bits[i] == '1') out[i / 8] |= static_cast<std::uint8_t>(0x80 >> (i % 8));
    return out;
}

TEST(Adpcm, HandWorkedCodesAndTheEndOfTheData)
{
    SampleBudget budget(100);
    std::vector<std::int16_t> out;
    // Code size 2 (4 bits); initial 1000 at index 0; codes 0111, 1000, 0100.
    //   0111 at step 7:  7 + 3 + 1 + 0 = 11  -> 1011, index 8
    //   1000 at step 16: 16>>3 = 2, minus   -> 1009, index 7
    //   0100 at step 14: 14 + (14>>3) = 15  -> 1024, index 9
    // The four padding bits make one more code 0000 at step 17: 17>>3 = 2 -> 1026.
    const auto four = FromBits("10" "0000001111101000" "000000" "0111" "1000" "0100");
    DecodeAdpcm(four, 1, 4, budget, out);
    EXPECT_EQ(out, (std::vector<std::int16_t>{1000, 1011, 1009, 1024}));
    out.clear();
    DecodeAdpcm(four, 1, SIZE_MAX, budget, out);
    EXPECT_EQ(out, (std::vector<std::int16_t>{1000, 1011, 1009, 1024, 1026}));

    // Code size 0 (2 bits); initial 0 at index 10 (step 19): 01 -> +19+9 = 28
    // (index 12, step 23); 11 -> -(23+11) = -6 (index 14, step 28); 10 -> -14.
    out.clear();
    DecodeAdpcm(FromBits("00" "0000000000000000" "001010" "01" "11" "10"), 1, 4, budget, out);
    EXPECT_EQ(out, (std::vector<std::int16_t>{0, 28, -6, -20}));

    // 5-bit codes at the top of the table run into the 16-bit limit.
    out.clear();
    DecodeAdpcm(FromBits("11" "0111111111111111" "101100" "01111" "01111"), 1, 3, budget, out);
    EXPECT_EQ(out, (std::vector<std::int16_t>{32767, 32767, 32767}));

    // Stereo: left 100 and right -100 at index 0 (step 7); L=0100 gives +7, R=1100 gives -7.
    out.clear();
    DecodeAdpcm(FromBits("10" "0000000001100100" "000000" "1111111110011100" "000000" "0100" "1100"), 2, 2, budget, out);
    EXPECT_EQ(out, (std::vector<std::int16_t>{100, -100, 107, -107}));

    // Running out of bits ends the sound; so does the budget.
    out.clear();
    DecodeAdpcm(Bytes{0x80, 0x00}, 1, SIZE_MAX, budget, out); // no whole packet header
    EXPECT_TRUE(out.empty());
    SampleBudget ten(10);
    DecodeAdpcm(Bytes(1000, 0x5a), 1, SIZE_MAX, ten, out);
    EXPECT_EQ(out.size(), 10u);
}

// The movie maker's encoder against the player's decoder.
TEST(AdpcmRoundTrip, EveryCodeSizeComesBackWithinItsErrorBound)
{
    const std::size_t frames = 10000; // three packets, the last one short
    const auto left = Sine(440, 22050, frames, 9000);
    const auto right = Sine(660, 22050, frames, 6000);
    std::vector<std::int16_t> stereo;
    for (std::size_t i = 0; i < frames; ++i) stereo.insert(stereo.end(), {left[i], right[i]});
    for (const auto& [bits, bound] : {std::pair{2, 0.5}, {3, 0.2}, {4, 0.08}, {5, 0.04}}) {
        for (int channels : {1, 2}) {
            SCOPED_TRACE(::testing::Message() << bits << " bits, " << channels << " channels");
            const auto& signal = channels == 1 ? left : stereo;
            SampleBudget budget(1 << 20);
            const auto pcm = DecodeEventSound(Sound(1, 2, true, channels == 2, frames, swf::EncodeAdpcm(signal, channels, bits)), budget);
            ASSERT_TRUE(pcm);
            ASSERT_EQ(pcm->samples.size(), signal.size());
            EXPECT_LT(RmsError(pcm->samples, signal), bound * Rms(signal));
            EXPECT_EQ(pcm->samples[4096 * channels], signal[4096 * channels]); // a packet's initial sample is exact
        }
    }
}

TEST(AdpcmRoundTrip, LoudNoiseStaysInStepAcrossAPacketStart)
{
    // Full-scale noise drives the step index above 63, which the 6-bit packet field
    // cannot hold, and the prediction into the 16-bit limits.
    std::vector<std::int16_t> noise;
    std::uint32_t x = 1;
    for (int i = 0; i < 9000; ++i) {
        x = x * 1664525u + 1013904223u;
        noise.push_back(static_cast<std::int16_t>(static_cast<int>(x >> 16) - 32768));
    }
    SampleBudget budget(1 << 20);
    const auto n = DecodeEventSound(Sound(1, 2, true, false, 9000, swf::EncodeAdpcm(noise, 1, 4)), budget);
    ASSERT_TRUE(n);
    ASSERT_EQ(n->samples.size(), noise.size());
    EXPECT_LT(RmsError(std::span(n->samples).subspan(4096, 100), std::span(noise).subspan(4096, 100)), 9000);
}

TEST(AdpcmStream, EveryBlockStartsAFreshDecoder)
{
    swfplay::Timeline tl;
    tl.streamHead = swfplay::StreamHead{{1, 2, true, false}, 2205, 0};
    const auto signal = Sine(300, 22050, 2205 * 3, 8000);
    std::vector<Bytes> blocks;
    for (int b = 0; b < 3; ++b) blocks.push_back(swf::EncodeAdpcm(std::span(signal).subspan(2205 * b, 2205), 1, 4));
    tl.streamBlocks.assign(blocks.begin(), blocks.end());
    SampleBudget budget(1 << 20);
    const auto stream = swfplay::DecodeStream(tl, budget);
    ASSERT_TRUE(stream);
    ASSERT_EQ(stream->pcm.Frames(), signal.size());
    EXPECT_EQ(stream->blockStart, (std::vector<std::size_t>{0, 2205, 4410}));
    EXPECT_EQ(stream->pcm.samples[2205], signal[2205]);
}

// One second of a 440 Hz tone at 22.05 kHz mono, MP3 frames only.
const Bytes& Mp3Tone()
{
    static const Bytes tone = moviemaker::EncodeMp3(Sine(440, 22050, 22050), 1, 22050, 64).data;
    return tone;
}

TEST(Mp3Sound, PlaysTheDeclaredLengthAtItsOwnRateAndPitchAfterItsSeekSamples)
{
    SampleBudget budget(1 << 22);
    // The SWF claims 44.1 kHz stereo; the MP3 is 22.05 kHz mono.
    const auto pcm = DecodeEventSound(Sound(2, 3, true, true, 20000, swf::Mp3SoundData(0, Mp3Tone())), budget);
    ASSERT_TRUE(pcm);
    EXPECT_DOUBLE_EQ(pcm->rate, 22050);
    EXPECT_EQ(pcm->channels, 1);
    EXPECT_EQ(pcm->Frames(), 20000u);
    const std::span<const std::int16_t> middle(pcm->samples.data() + 4000, 11025);
    EXPECT_NEAR(ToneFrequency(middle, 22050), 440, 5);
    EXPECT_GT(Rms(middle), 5000);

    const auto whole = DecodeEventSound(Sound(2, 2, true, false, 60000, swf::Mp3SoundData(0, Mp3Tone())), budget);
    const auto trimmed = DecodeEventSound(Sound(2, 2, true, false, 1000, swf::Mp3SoundData(1105, Mp3Tone())), budget);
    ASSERT_TRUE(whole && trimmed);
    EXPECT_GT(whole->Frames(), 22050u); // the encoder's delay and padding are there untrimmed
    ASSERT_EQ(trimmed->Frames(), 1000u);
    EXPECT_TRUE(std::equal(trimmed->samples.begin(), trimmed->samples.end(), whole->samples.begin() + 1105));
}

TEST(Mp3Sound, StreamBlocksRunThroughOneDecoder)
{
    const Bytes& tone = Mp3Tone();
    swfplay::Timeline tl;
    tl.streamHead = swfplay::StreamHead{{2, 3, true, false}, 1152, 0};
    // Cut through the middle of MP3 frames: the decoder must carry across.
    const std::size_t third = tone.size() / 3;
    std::vector<Bytes> blocks;
    for (std::size_t i = 0; i < 3; ++i) {
        const auto begin = tone.begin() + static_cast<std::ptrdiff_t>(i * third);
        const auto end = i == 2 ? tone.end() : begin + static_cast<std::ptrdiff_t>(third);
        blocks.push_back(swf::Mp3StreamBlockData(1152, 0, std::vector<std::uint8_t>(begin, end)));
    }
    tl.streamBlocks.assign(blocks.begin(), blocks.end());
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

} // namespace
} // namespace wd::testing
