#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "AdpcmEncoder.h"

using namespace wd::swf;

namespace {
// A reader of the packed stream written here from the format description, so the
// tests do not lean on the encoder's own update function.
class Bits {
public:
    explicit Bits(const Bytes& d) : d_(d) {}
    bool Has(int n) const { return pos_ + static_cast<std::size_t>(n) <= d_.size() * 8; }
    unsigned U(int n)
    {
        unsigned v = 0;
        for (int i = 0; i < n; ++i, ++pos_) v = v << 1 | ((d_[pos_ / 8] >> (7 - pos_ % 8)) & 1u);
        return v;
    }
    int S16() { return static_cast<std::int16_t>(U(16)); }

private:
    const Bytes& d_;
    std::size_t pos_ = 0;
};

std::vector<std::int16_t> Decode(const Bytes& data, int channels, std::size_t frames)
{
    static const int idx2[] = {-1, 2}, idx3[] = {-1, -1, 2, 4}, idx4[] = {-1, -1, -1, -1, 2, 4, 6, 8},
                     idx5[] = {-1, -1, -1, -1, -1, -1, -1, -1, 1, 2, 4, 6, 8, 10, 13, 16};
    static const int* const tables[] = {idx2, idx3, idx4, idx5};
    Bits b(data);
    const int bits = static_cast<int>(b.U(2)) + 2;
    std::vector<std::int16_t> out;
    int pred[2]{}, index[2]{};
    while (out.size() < frames * channels && b.Has(22 * channels)) {
        for (int c = 0; c < channels; ++c) {
            pred[c] = b.S16();
            index[c] = static_cast<int>(b.U(6));
            out.push_back(static_cast<std::int16_t>(pred[c]));
        }
        for (int n = 1; n < 4096 && out.size() < frames * channels && b.Has(bits * channels); ++n) {
            for (int c = 0; c < channels; ++c) {
                const unsigned code = b.U(bits);
                const unsigned mag = code & ((1u << (bits - 1)) - 1);
                const int step = kAdpcmStepTable[index[c]];
                int diff = step >> (bits - 1);
                for (int k = 0; k < bits - 1; ++k)
                    if (mag & (1u << (bits - 2 - k))) diff += step >> k;
                pred[c] = std::clamp(code >> (bits - 1) ? pred[c] - diff : pred[c] + diff, -32768, 32767);
                index[c] = std::clamp(index[c] + tables[bits - 2][mag], 0, 88);
                out.push_back(static_cast<std::int16_t>(pred[c]));
            }
        }
    }
    return out;
}

std::vector<std::int16_t> Tone(std::size_t n, double hz, double amp, double rate = 22050)
{
    std::vector<std::int16_t> s(n);
    for (std::size_t i = 0; i < n; ++i)
        s[i] = static_cast<std::int16_t>(std::lround(amp * std::sin(2 * std::numbers::pi * hz * i / rate)));
    return s;
}

double RmsError(const std::vector<std::int16_t>& a, const std::vector<std::int16_t>& b)
{
    double sum = 0;
    for (std::size_t i = 0; i < a.size(); ++i) sum += (a[i] - b[i]) * double(a[i] - b[i]);
    return std::sqrt(sum / a.size());
}

Bytes B(std::initializer_list<int> v)
{
    Bytes out;
    for (int x : v) out.push_back(static_cast<std::uint8_t>(x));
    return out;
}
} // namespace

TEST(AdpcmEncoder, HandWorkedFourBitPacket)
{
    // size field 10, sample 1000, index 0 (step 7 matches the first move of 7), code 0100
    const std::int16_t s[] = {1000, 1007};
    EXPECT_EQ(EncodeAdpcm(s, 1, 4), B({0x80, 0xFA, 0x00, 0x40}));
}

TEST(AdpcmEncoder, HandWorkedThreeBitNegativeStep)
{
    // size field 01, sample 0, index 15 (step 31), then -30 is coded as sign + magnitude 01,
    // which a decoder turns into -(15 + 7) = -22.
    const std::int16_t s[] = {0, -30};
    const Bytes data = EncodeAdpcm(s, 1, 3);
    EXPECT_EQ(data, B({0x40, 0x00, 0x0F, 0xA0}));
    EXPECT_EQ(Decode(data, 1, 2), (std::vector<std::int16_t>{0, -22}));
}

TEST(AdpcmEncoder, PacketsAreNotByteAlignedAndRestartFromTheTrueSample)
{
    const auto tone = Tone(4097, 300, 9000);
    const Bytes data = EncodeAdpcm(tone, 1, 4);
    // 2 + (22 + 4095 * 4) + 22 bits, padded only at the very end.
    EXPECT_EQ(data.size(), (2 + 22 + 4095 * 4 + 22 + 7) / 8u);
    const auto decoded = Decode(data, 1, tone.size());
    ASSERT_EQ(decoded.size(), tone.size());
    EXPECT_EQ(decoded[0], tone[0]);
    EXPECT_EQ(decoded[4096], tone[4096]);
}

TEST(AdpcmEncoder, MoreBitsGiveSmallerErrorAndFourBitsTrackATone)
{
    const auto tone = Tone(20000, 440, 12000);
    double previous = 1e9;
    for (int bits = 2; bits <= 5; ++bits) {
        const auto decoded = Decode(EncodeAdpcm(tone, 1, bits), 1, tone.size());
        ASSERT_EQ(decoded.size(), tone.size()) << bits;
        const double err = RmsError(tone, decoded);
        EXPECT_LT(err, previous) << bits << " bits";
        previous = err;
        if (bits == 4) {
            EXPECT_LT(err, 12000 * 0.02);
        }
    }
}

TEST(AdpcmEncoder, StereoKeepsChannelsApartAcrossPackets)
{
    const auto left = Tone(6000, 220, 10000);
    const auto right = Tone(6000, 1000, -5000);
    std::vector<std::int16_t> inter;
    for (std::size_t i = 0; i < left.size(); ++i) {
        inter.push_back(left[i]);
        inter.push_back(right[i]);
    }
    const Bytes data = EncodeAdpcm(inter, 2, 5);
    EXPECT_EQ(data.size(), (2 + 44 + 4095 * 10 + 44 + 1903 * 10 + 7) / 8u);
    const auto decoded = Decode(data, 2, left.size());
    ASSERT_EQ(decoded.size(), inter.size());
    std::vector<std::int16_t> l, r;
    for (std::size_t i = 0; i < decoded.size(); i += 2) {
        l.push_back(decoded[i]);
        r.push_back(decoded[i + 1]);
    }
    EXPECT_LT(RmsError(left, l), 100);
    EXPECT_LT(RmsError(right, r), 100);
}

TEST(AdpcmEncoder, ExtremeSignalsClampInsteadOfWrapping)
{
    std::vector<std::int16_t> square;
    for (int i = 0; i < 2000; ++i) square.push_back((i / 50) % 2 ? 32767 : -32768);
    const auto decoded = Decode(EncodeAdpcm(square, 1, 2), 1, square.size());
    ASSERT_EQ(decoded.size(), square.size());
    // Once settled, each half-period ends on the right side of zero.
    for (int i = 249; i < 2000; i += 50) EXPECT_EQ(decoded[i] > 0, square[i] > 0) << i;
}

TEST(AdpcmEncoder, LoudNoiseAcrossAPacketStartStaysInStep)
{
    // Loud noise drives the step index above 63, which the 6-bit packet field cannot hold.
    std::vector<std::int16_t> noise;
    std::uint32_t x = 1;
    for (int i = 0; i < 9000; ++i) {
        x = x * 1664525u + 1013904223u;
        noise.push_back(static_cast<std::int16_t>(static_cast<int>(x >> 16) - 32768));
    }
    const auto decoded = Decode(EncodeAdpcm(noise, 1, 4), 1, noise.size());
    ASSERT_EQ(decoded.size(), noise.size());
    std::vector<std::int16_t> after(noise.begin() + 4096, noise.begin() + 4196);
    std::vector<std::int16_t> decodedAfter(decoded.begin() + 4096, decoded.begin() + 4196);
    EXPECT_LT(RmsError(after, decodedAfter), 9000);
}

TEST(AdpcmEncoder, RejectsCodeSizesAndChannelCountsTheFormatCannotHold)
{
    const std::int16_t s[] = {0, 1};
    EXPECT_THROW(EncodeAdpcm(s, 1, 6), std::invalid_argument);
    EXPECT_THROW(EncodeAdpcm(s, 3, 4), std::invalid_argument);
    EXPECT_EQ(AdpcmIndexTable(5).size(), 16u);
    EXPECT_EQ(AdpcmIndexTable(2).size(), 2u);
}
