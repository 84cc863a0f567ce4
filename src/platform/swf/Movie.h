// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// What the player keeps of a movie file: its header, its sound definitions and
// the sound-related content of each frame. Shapes, text and the display list are
// not kept; the panel is never seen. The coded sound data is not copied: it is
// read in place from the movie's body, which lives only until it is decoded.
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace wd::swfplay {

enum class SoundFormat : std::uint8_t {
    PcmNative = 0,   // read as little-endian
    Adpcm = 1,
    Mp3 = 2,
    PcmLittle = 3,
    Nellymoser16k = 4,
    Nellymoser8k = 5,
    Nellymoser = 6,
    Speex = 11,
};

struct SoundSpec {
    std::uint8_t format = 0; // SoundFormat, or anything else the file says
    std::uint8_t rateCode = 0; // 0..3: 5512.5, 11025, 22050, 44100 Hz
    bool sixteenBit = false;
    bool stereo = false;

    double Rate() const;
    int Channels() const { return stereo ? 2 : 1; }
};

struct DefinedSound {
    std::uint16_t id = 0;
    SoundSpec coding;
    std::uint32_t sampleCount = 0; // declared, per channel
    std::span<const std::uint8_t> data; // in Movie::body
};

struct SoundInfo {
    bool syncStop = false;
    bool syncNoMultiple = false;
    std::optional<std::uint32_t> inPoint;  // in 44.1 kHz samples
    std::optional<std::uint32_t> outPoint; // in 44.1 kHz samples
    std::uint16_t loops = 1;               // 0 in the file means once
    // Envelopes are passed over: every sound plays at full level.
};

enum class ActionKind : std::uint8_t { Play, Stop, StopSounds, GotoFrame };

struct FrameEvent {
    enum class Kind : std::uint8_t { StartSound, Action } kind = Kind::Action;
    std::uint16_t soundId = 0; // StartSound
    SoundInfo info;            // StartSound
    ActionKind action = ActionKind::Play;
    std::uint16_t frame = 0;   // GotoFrame, 0-based
};

struct StreamHead {
    SoundSpec coding;
    std::uint16_t samplesPerBlock = 0;
    std::int16_t latencySeek = 0; // MP3 only
};

struct Frame {
    std::vector<FrameEvent> events;               // in the order of the file
    std::optional<std::size_t> streamBlock;       // index into Timeline::streamBlocks
};

struct Timeline {
    std::vector<Frame> frames;
    std::optional<StreamHead> streamHead;
    std::vector<std::span<const std::uint8_t>> streamBlocks; // in Movie::body
};

// What was left out of a movie to keep it within its bounds (Limits.h).
enum Cut : unsigned {
    kCutFile = 1,     // the file is longer than is read
    kCutBody = 2,     // its body inflates to more than is kept
    kCutTimeline = 4, // its frames, events and names take more room than allowed
    kCutSound = 8,    // its sounds decode to more samples than allowed
};

struct Movie {
    Movie() = default;
    Movie(Movie&&) = default;
    Movie& operator=(Movie&&) = default;
    Movie(const Movie&) = delete; // its spans point into its own body

    std::vector<std::uint8_t> body; // after the 8-byte header, inflated
    char signature = 'F'; // 'F', 'C' or 'Z'
    std::uint8_t version = 0;
    std::uint32_t fileLength = 0;
    std::int32_t frameWidthTwips = 0;
    std::int32_t frameHeightTwips = 0;
    double frameRate = 0;          // as declared; the player clamps it
    std::uint16_t declaredFrames = 0;
    bool truncated = false;        // the data ended before the End tag
    std::size_t tagsRead = 0;
    unsigned cuts = 0;             // Cut flags
    std::size_t timelineBytes = 0; // what the timelines, sound definitions and names take

    Timeline main;
    std::map<std::uint16_t, DefinedSound> sounds;
    // Sprites are read so that their tags are checked and counted, but the
    // player does not play them: nothing places them on a stage it keeps.
    std::map<std::uint16_t, Timeline> sprites;
};

} // namespace wd::swfplay
