// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The tables of SWF's IMA ADPCM, shared by the player's decoder and the movie
// maker's encoder.
#include <array>
#include <span>

namespace wd::adpcm {

inline constexpr int kMaxIndex = 88;

inline constexpr std::array<int, 89> kStepTable{
    7,     8,     9,     10,    11,    12,    13,    14,    16,    17,    19,    21,    23,    25,    28,
    31,    34,    37,    41,    45,    50,    55,    60,    66,    73,    80,    88,    97,    107,   118,
    130,   143,   157,   173,   190,   209,   230,   253,   279,   307,   337,   371,   408,   449,   494,
    544,   598,   658,   724,   796,   876,   963,   1060,  1166,  1282,  1411,  1552,  1707,  1878,  2066,
    2272,  2499,  2749,  3024,  3327,  3660,  4026,  4428,  4871,  5358,  5894,  6484,  7132,  7845,  8630,
    9493,  10442, 11487, 12635, 13899, 15289, 16818, 18500, 20350, 22385, 24623, 27086, 29794, 32767};

// How the step index moves after a code, indexed by the code without its sign
// bit (2^(bits-1) entries), for code sizes 2 to 5.
inline constexpr std::array<int, 2> kIndex2{-1, 2};
inline constexpr std::array<int, 4> kIndex3{-1, -1, 2, 4};
inline constexpr std::array<int, 8> kIndex4{-1, -1, -1, -1, 2, 4, 6, 8};
inline constexpr std::array<int, 16> kIndex5{-1, -1, -1, -1, -1, -1, -1, -1, 1, 2, 4, 6, 8, 10, 13, 16};

constexpr std::span<const int> IndexTable(int codeBits)
{
    switch (codeBits) {
    case 2: return kIndex2;
    case 3: return kIndex3;
    case 4: return kIndex4;
    default: return kIndex5;
    }
}

} // namespace wd::adpcm
