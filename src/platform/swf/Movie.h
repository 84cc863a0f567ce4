#pragma once
// What the player keeps of a movie file: its header, its sound definitions and
// the sound-related content of each frame. Shapes, text and the display list are
// not kept; the panel is never seen.
#include <cstdint>
#include <map>
#include <optional>
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
    std::vector<std::uint8_t> data;
};

struct EnvelopePoint {
    std::uint32_t pos44 = 0;
    std::uint16_t left = 0;
    std::uint16_t right = 0;
};

struct SoundInfo {
    bool syncStop = false;
    bool syncNoMultiple = false;
    std::optional<std::uint32_t> inPoint;  // in 44.1 kHz samples
    std::optional<std::uint32_t> outPoint; // in 44.1 kHz samples
    std::uint16_t loops = 1;               // 0 in the file means once
    std::vector<EnvelopePoint> envelope;   // read but not applied
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
    std::vector<std::vector<std::uint8_t>> streamBlocks;
};

struct Movie {
    char signature = 'F'; // 'F', 'C' or 'Z'
    std::uint8_t version = 0;
    std::uint32_t fileLength = 0;
    std::int32_t frameWidthTwips = 0;
    std::int32_t frameHeightTwips = 0;
    double frameRate = 0;          // as declared; the player clamps it
    std::uint16_t declaredFrames = 0;
    bool truncated = false;        // the data ended before the End tag
    std::size_t tagsRead = 0;

    Timeline main;
    std::map<std::uint16_t, DefinedSound> sounds;
    // Sprites are read so that their tags are checked and counted, but the
    // player does not play them: nothing places them on a stage it keeps.
    std::map<std::uint16_t, Timeline> sprites;
};

} // namespace wd::swfplay
