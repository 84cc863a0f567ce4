// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// SWF's flavour of IMA ADPCM: 2 to 5 bits a code, packets of 4096 samples per
// channel (a 16-bit initial sample, a 6-bit step index, then 4095 codes), packed
// most significant bit first and never byte-aligned between packets.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "SwfWriter.h"
#include "platform/swf/AdpcmTables.h"

namespace wd::swf {

inline constexpr int kAdpcmSamplesPerPacket = 4096; // per channel, the initial sample included

// The step table and index tables are the player's own (platform/swf/AdpcmTables.h).
inline constexpr const auto& kAdpcmStepTable = adpcm::kStepTable;
constexpr std::span<const int> AdpcmIndexTable(int codeBits) { return adpcm::IndexTable(codeBits); }

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
