// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Bounds on what a movie file may make the player do. A movie beyond them is
// cut short where it crosses the line; nothing here is ever sized from a count
// the file declares alone.
#include <cstddef>
#include <cstdint>

namespace wd::swfplay {

// The budget of one movie. What the player keeps of it, its timeline (frames,
// events, the places of its stream blocks, sprites and exported names) and its
// decoded sound, stays within kMovieBudgetBytes. While it loads, the file's
// bytes, its inflated body and the LZMA decoder's dictionary come on top for a
// moment: kLoadPeakBytes in all. A movie that would take more plays what fits.
inline constexpr std::size_t kMaxTimelineBytes = 4u << 20;
inline constexpr std::size_t kMaxSoundBytes = 64u << 20;      // 16-bit samples, every sound together
inline constexpr std::size_t kMovieBudgetBytes = kMaxTimelineBytes + kMaxSoundBytes;
inline constexpr std::size_t kMaxFileBytes = 8u << 20;        // read from disk; the rest is left unread
inline constexpr std::size_t kMaxBodyBytes = 16u << 20;       // after zlib or LZMA
inline constexpr std::uint64_t kLzmaMemLimit = kMaxBodyBytes + (1u << 20); // a dictionary beyond the body is cut
inline constexpr std::size_t kLoadPeakBytes = kMaxFileBytes + kMaxBodyBytes + kLzmaMemLimit + kMovieBudgetBytes;
inline constexpr std::size_t kMaxPcmSamples = kMaxSoundBytes / sizeof(std::int16_t);

inline constexpr std::size_t kMaxTags = 200000;               // tags read over the whole file
inline constexpr std::size_t kMaxFrames = 65535;              // frames of one timeline
inline constexpr std::size_t kMaxSounds = 1024;               // DefineSound tags kept
inline constexpr int kMaxSpriteDepth = 2;                     // DefineSprite inside DefineSprite
inline constexpr std::size_t kMaxInstances = 32;              // sounds playing at once per movie
inline constexpr int kMaxJumpsPerFrame = 16;                  // GotoFrame chains within one frame
// StartSound and actions kept in one frame, and run in one step of the
// timeline, jumps included: the work of one frame on the output's thread.
inline constexpr std::size_t kMaxEventsPerFrame = 256;

} // namespace wd::swfplay

// The per-sample loops of the mix branch on nothing a fuzzer can learn from;
// keeping coverage hooks out of them lets a fuzzer run many more inputs.
#if defined(__clang__)
#define WD_NO_COVERAGE __attribute__((no_sanitize("coverage")))
#else
#define WD_NO_COVERAGE
#endif
