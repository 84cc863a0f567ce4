#pragma once
// Bounds on what a movie file may make the player do. A movie beyond them is
// cut short where it crosses the line; nothing here is ever sized from a count
// the file declares alone.
#include <cstddef>
#include <cstdint>

namespace wd::swfplay {

inline constexpr std::size_t kMaxFileBytes = 64u << 20;       // bytes read from disk
inline constexpr std::size_t kMaxBodyBytes = 64u << 20;       // after zlib or LZMA
inline constexpr std::uint64_t kLzmaMemLimit = 64u << 20;     // liblzma's own working memory
inline constexpr std::size_t kMaxTags = 200000;               // tags read over the whole file
inline constexpr std::size_t kMaxFrames = 65535;              // frames of one timeline
inline constexpr std::size_t kMaxSounds = 1024;               // DefineSound tags kept
inline constexpr int kMaxSpriteDepth = 2;                     // DefineSprite inside DefineSprite
inline constexpr std::size_t kMaxPcmSamples = 48u << 20;      // decoded samples over a movie
inline constexpr std::size_t kMaxInstances = 32;              // sounds playing at once per movie
inline constexpr int kMaxJumpsPerFrame = 16;                  // GotoFrame chains within one frame
inline constexpr std::size_t kMaxEventsPerFrame = 4096;       // StartSound and actions in one frame

} // namespace wd::swfplay

// The per-sample loops of the mix branch on nothing a fuzzer can learn from;
// keeping coverage hooks out of them lets a fuzzer run many more inputs.
#if defined(__clang__)
#define WD_NO_COVERAGE __attribute__((no_sanitize("coverage")))
#else
#define WD_NO_COVERAGE
#endif
