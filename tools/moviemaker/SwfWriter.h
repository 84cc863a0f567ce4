// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// A small writer of SWF movies: the header, tags with short or long headers and
// the sound, action and sprite tags our movies use. It writes exactly what it is
// told, so tests can also build odd and broken files with it.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace wd::swf {

using Bytes = std::vector<std::uint8_t>;

// Tag codes.
enum TagCode : std::uint16_t {
    kTagEnd = 0,
    kTagShowFrame = 1,
    kTagDoAction = 12,
    kTagDefineSound = 14,
    kTagStartSound = 15,
    kTagSoundStreamHead = 18,
    kTagSoundStreamBlock = 19,
    kTagDefineSprite = 39,
    kTagSoundStreamHead2 = 45,
    kTagStartSound2 = 89,
};

// Action codes understood by our player.
enum ActionCode : std::uint8_t {
    kActionPlay = 0x06,
    kActionStop = 0x07,
    kActionStopSounds = 0x09,
    kActionGotoFrame = 0x81,
};

enum class SoundFormat : std::uint8_t {
    UncompressedNative = 0, // written little-endian, as every player reads it
    Adpcm = 1,
    Mp3 = 2,
    UncompressedLittleEndian = 3,
};

// The 2-bit rate code: 5512.5, 11025, 22050 or 44100 Hz.
enum class SoundRate : std::uint8_t { Hz5512 = 0, Hz11025 = 1, Hz22050 = 2, Hz44100 = 3 };

// The rate code for a rate in Hz; nullopt for a rate SWF cannot name.
std::optional<SoundRate> RateCode(int hz);
double RateHz(SoundRate rate);

struct SoundFormatInfo {
    SoundFormat format = SoundFormat::UncompressedLittleEndian;
    SoundRate rate = SoundRate::Hz22050;
    bool sixteenBit = true;
    bool stereo = false;
};

// The 8-bit format byte shared by DefineSound and the stream heads:
// format (4 bits), rate (2), size (1), type (1).
std::uint8_t FormatByte(const SoundFormatInfo& f);

// Rectangle in twips.
struct Rect {
    std::int32_t xMin = 0, xMax = 0, yMin = 0, yMax = 0;
};

// Most-significant-bit-first bit packing, as SWF's bit fields are stored.
class BitWriter {
public:
    void Unsigned(std::uint32_t value, int bits);
    void Signed(std::int32_t value, int bits);
    void AlignToByte(); // pads the last byte with zero bits
    const Bytes& Data() const { return data_; }
    Bytes Take();
    std::size_t BitCount() const { return data_.size() * 8 - static_cast<std::size_t>(bitsFree_); }

private:
    Bytes data_;
    int bitsFree_ = 0; // unused low bits in data_.back()
};

// Little-endian byte helpers.
void PutU8(Bytes& out, std::uint8_t v);
void PutU16(Bytes& out, std::uint16_t v);
void PutS16(Bytes& out, std::int16_t v);
void PutU32(Bytes& out, std::uint32_t v);
void PutBytes(Bytes& out, std::span<const std::uint8_t> data);
void PutString(Bytes& out, const std::string& s); // zero-terminated

// The smallest field width that holds every value of the rectangle as a signed field.
int RectBits(const Rect& r);
Bytes EncodeRect(const Rect& r);

// Frame rate as unsigned 8.8 fixed point (rounded to 1/256).
std::uint16_t FrameRate88(double fps);

// The header of a tag: short (code << 6 | length) when the length is under 63 and
// no long header is asked for, else 0x3F followed by a 32-bit length.
Bytes TagHeader(std::uint16_t code, std::uint32_t length, bool forceLong = false);

struct EnvelopePoint {
    std::uint32_t pos44 = 0; // position in 44.1 kHz samples
    std::uint16_t left = 32768;
    std::uint16_t right = 32768;
};

struct SoundInfo {
    bool syncStop = false;
    bool syncNoMultiple = false;
    std::optional<std::uint32_t> inPoint;  // 44.1 kHz samples
    std::optional<std::uint32_t> outPoint; // 44.1 kHz samples
    std::optional<std::uint16_t> loopCount;
    std::optional<std::vector<EnvelopePoint>> envelope;
};
Bytes EncodeSoundInfo(const SoundInfo& info);

// Action records for DoAction. End() appends the terminating zero byte.
class Actions {
public:
    Actions& Play() { return Code(kActionPlay); }
    Actions& Stop() { return Code(kActionStop); }
    Actions& StopSounds() { return Code(kActionStopSounds); }
    Actions& GotoFrame(std::uint16_t zeroBasedFrame);
    Actions& Code(std::uint8_t code);                                   // a record without payload
    Actions& Record(std::uint8_t code, std::span<const std::uint8_t> payload); // code >= 0x80
    Bytes End() const;

private:
    Bytes data_;
};

// Sound data bodies.
// MP3 data of DefineSound: SeekSamples then whole MP3 frames.
Bytes Mp3SoundData(std::int16_t seekSamples, std::span<const std::uint8_t> frames);
// MP3 data of a stream block: SampleCount, SeekSamples, then whole MP3 frames.
Bytes Mp3StreamBlockData(std::uint16_t sampleCount, std::int16_t seekSamples,
                         std::span<const std::uint8_t> frames);
// 16-bit samples as little-endian bytes, and 16-bit to 8-bit unsigned (128 = silence).
Bytes Pcm16Bytes(std::span<const std::int16_t> samples);
Bytes Pcm8Bytes(std::span<const std::int16_t> samples);

// A list of tags: the body of a movie or of a sprite.
class TagStream {
public:
    TagStream& Tag(std::uint16_t code, std::span<const std::uint8_t> body, bool forceLong = false);
    TagStream& Raw(std::span<const std::uint8_t> bytes); // verbatim, for malformed files

    TagStream& End() { return Tag(kTagEnd, {}); }
    TagStream& ShowFrame();
    TagStream& DoAction(const Actions& actions);
    TagStream& DefineSound(std::uint16_t id, const SoundFormatInfo& format, std::uint32_t sampleCount,
                           std::span<const std::uint8_t> data);
    TagStream& StartSound(std::uint16_t id, const SoundInfo& info = {});
    TagStream& StartSound2(const std::string& className, const SoundInfo& info = {});
    // SoundStreamHead (or SoundStreamHead2): playback and stream formats, the average
    // sample count per block, and LatencySeek, which is written only for MP3 streams.
    TagStream& SoundStreamHead(const SoundFormatInfo& playback, const SoundFormatInfo& stream,
                               std::uint16_t samplesPerBlock, std::int16_t latencySeek = 0,
                               bool head2 = false);
    TagStream& SoundStreamBlock(std::span<const std::uint8_t> data);
    // DefineSprite with its own tags (which should end with End()).
    TagStream& DefineSprite(std::uint16_t id, std::uint16_t frameCount, const TagStream& tags);

    const Bytes& Data() const { return data_; }
    int ShowFrames() const { return showFrames_; }

private:
    Bytes data_;
    int showFrames_ = 0;
};

enum class Container { Plain, Zlib, Lzma }; // "FWS", "CWS" or "ZWS"

struct MovieHeader {
    std::uint8_t version = 10;
    Rect frame{0, 20 * 20, 0, 20 * 20}; // 20 x 20 pixels
    double frameRate = 12;
    std::optional<std::uint16_t> frameCount;  // default: the ShowFrame tags written
    std::optional<std::uint32_t> fileLength;  // default: the true length
};

// The whole file: signature, version, FileLength (the uncompressed length including
// the 8 header bytes), then RECT, frame rate, frame count and tags, deflated after
// byte 8 for "CWS"; for "ZWS" the compressed length, the five LZMA properties and
// the LZMA data follow the first 8 bytes.
Bytes BuildMovie(const MovieHeader& header, const TagStream& tags, Container container = Container::Plain);

// The same, written a piece at a time and compressed as it comes, for movies whose
// body is far larger than their file.
class MovieWriter {
public:
    MovieWriter(const MovieHeader& header, std::uint16_t frameCount, Container container);
    ~MovieWriter();
    MovieWriter(const MovieWriter&) = delete;
    MovieWriter& operator=(const MovieWriter&) = delete;

    MovieWriter& Put(std::span<const std::uint8_t> bytes);
    std::size_t BodySize() const { return bodySize_; } // uncompressed, after the 8 header bytes
    Bytes Finish();

private:
    struct Coder;
    MovieHeader header_;
    Container container_;
    std::unique_ptr<Coder> coder_;
    Bytes out_;
    std::size_t bodySize_ = 0;
};

} // namespace wd::swf
