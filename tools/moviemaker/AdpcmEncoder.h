// SWF's flavour of IMA ADPCM: 2 to 5 bits a code, packets of 4096 samples per
// channel (a 16-bit initial sample, a 6-bit step index, then 4095 codes), packed
// most significant bit first and never byte-aligned between packets.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "SwfWriter.h"

namespace wd::swf {

inline constexpr int kAdpcmSamplesPerPacket = 4096; // per channel, the initial sample included

inline constexpr std::array<int, 89> kAdpcmStepTable = {
    7,     8,     9,     10,    11,    12,    13,    14,    16,    17,    19,    21,    23,    25,    28,
    31,    34,    37,    41,    45,    50,    55,    60,    66,    73,    80,    88,    97,    107,   118,
    130,   143,   157,   173,   190,   209,   230,   253,   279,   307,   337,   371,   408,   449,   494,
    544,   598,   658,   724,   796,   876,   963,   1060,  1166,  1282,  1411,  1552,  1707,  1878,  2066,
    2272,  2499,  2749,  3024,  3327,  3660,  4026,  4428,  4871,  5358,  5894,  6484,  7132,  7845,  8630,
    9493,  10442, 11487, 12635, 13899, 15289, 16818, 18500, 20350, 22385, 24623, 27086, 29794, 32767};

// How the step index moves after a code, indexed by the code without its sign bit
// (2^(bits-1) entries for 2 to 5 bits).
std::span<const int> AdpcmIndexTable(int codeBits);

struct AdpcmChannelState {
    int predictor = 0; // the last reconstructed sample
    int index = 0;     // 0..88
};

// Applies one code to the state exactly as a decoder does.
void AdpcmApplyCode(AdpcmChannelState& state, unsigned code, int codeBits);

// Chooses the code that brings the predictor closest to `sample`, applies it and
// returns it.
unsigned AdpcmEncodeSample(AdpcmChannelState& state, int sample, int codeBits);

// The whole ADPCM data of a sound (or of one stream block): the 2-bit code size,
// then packets. `interleaved` holds frames of `channels` (1 or 2) samples. The last
// byte is padded with zero bits. Each call starts from fresh encoder state.
Bytes EncodeAdpcm(std::span<const std::int16_t> interleaved, int channels, int codeBits);

} // namespace wd::swf
