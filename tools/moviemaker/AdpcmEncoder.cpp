// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "AdpcmEncoder.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

namespace wd::swf {

namespace {

void CheckBits(int codeBits)
{
    if (codeBits < 2 || codeBits > 5) throw std::invalid_argument("ADPCM codes are 2 to 5 bits");
}

// A starting step index that suits the first movement of the signal.
int StartIndex(std::span<const std::int16_t> interleaved, int channels, int channel, std::size_t frames)
{
    if (frames < 2) return 0;
    const int delta = std::abs(interleaved[static_cast<std::size_t>(channels + channel)] - interleaved[static_cast<std::size_t>(channel)]);
    int index = 0;
    while (index < 88 && kAdpcmStepTable[static_cast<std::size_t>(index)] < delta) ++index;
    return index;
}
} // namespace

void AdpcmApplyCode(AdpcmChannelState& state, unsigned code, int codeBits)
{
    const unsigned signBit = 1u << (codeBits - 1);
    const unsigned magnitude = code & (signBit - 1);
    int step = kAdpcmStepTable[static_cast<std::size_t>(state.index)];
    // diff = step * (magnitude + 1/2) / 2^(bits-2), computed by shifts.
    int diff = 0;
    for (unsigned bit = signBit >> 1; bit != 0; bit >>= 1) {
        if (magnitude & bit) diff += step;
        step >>= 1;
    }
    diff += step;
    state.predictor = std::clamp((code & signBit) ? state.predictor - diff : state.predictor + diff, -32768, 32767);
    state.index = std::clamp(state.index + AdpcmIndexTable(codeBits)[magnitude], 0, 88);
}

unsigned AdpcmEncodeSample(AdpcmChannelState& state, int sample, int codeBits)
{
    const unsigned signBit = 1u << (codeBits - 1);
    int delta = sample - state.predictor;
    unsigned code = 0;
    if (delta < 0) {
        code = signBit;
        delta = -delta;
    }
    int step = kAdpcmStepTable[static_cast<std::size_t>(state.index)];
    for (unsigned bit = signBit >> 1; bit != 0; bit >>= 1) {
        if (delta >= step) {
            code |= bit;
            delta -= step;
        }
        step >>= 1;
    }
    AdpcmApplyCode(state, code, codeBits);
    return code;
}

Bytes EncodeAdpcm(std::span<const std::int16_t> interleaved, int channels, int codeBits)
{
    CheckBits(codeBits);
    if (channels != 1 && channels != 2) throw std::invalid_argument("ADPCM is mono or stereo");
    const std::size_t frames = interleaved.size() / static_cast<std::size_t>(channels);

    BitWriter w;
    w.Unsigned(static_cast<std::uint32_t>(codeBits - 2), 2);
    std::array<AdpcmChannelState, 2> state{};
    for (int c = 0; c < channels; ++c) state[static_cast<std::size_t>(c)].index = StartIndex(interleaved, channels, c, frames);

    auto at = [&](std::size_t frame, int c) { return interleaved[frame * static_cast<std::size_t>(channels) + static_cast<std::size_t>(c)]; };
    for (std::size_t start = 0; start < frames; start += kAdpcmSamplesPerPacket) {
        const std::size_t end = std::min(frames, start + kAdpcmSamplesPerPacket);
        for (int c = 0; c < channels; ++c) {
            auto& s = state[static_cast<std::size_t>(c)];
            s.predictor = at(start, c);
            // The packet's index field has six bits: steps above 63 cannot start a packet.
            s.index = std::min(s.index, 63);
            w.Signed(s.predictor, 16);
            w.Unsigned(static_cast<std::uint32_t>(s.index), 6);
        }
        for (std::size_t f = start + 1; f < end; ++f)
            for (int c = 0; c < channels; ++c)
                w.Unsigned(AdpcmEncodeSample(state[static_cast<std::size_t>(c)], at(f, c), codeBits), codeBits);
    }
    return w.Take();
}

} // namespace wd::swf
