// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/swf/SwfReader.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>

#include <lzma.h>
#include <zlib.h>

#include "platform/swf/ByteReader.h"
#include "platform/swf/Limits.h"

namespace wd::swfplay {

double SoundSpec::Rate() const
{
    static constexpr std::array<double, 4> kRates{5512.5, 11025.0, 22050.0, 44100.0};
    return kRates[rateCode & 3];
}

namespace {

constexpr std::size_t kChunk = 64 * 1024;

std::uint32_t LittleU32(std::span<const std::uint8_t> b, std::size_t at)
{
    return static_cast<std::uint32_t>(b[at]) | (static_cast<std::uint32_t>(b[at + 1]) << 8) |
           (static_cast<std::uint32_t>(b[at + 2]) << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

// Room for one more chunk of inflated body. The body starts at the size the
// file declares and grows as data really arrives, but never past the cap.
std::size_t MakeRoom(std::vector<std::uint8_t>& out)
{
    const std::size_t room = std::min(kChunk, kMaxBodyBytes - out.size());
    if (out.size() + room > out.capacity())
        out.reserve(std::min(kMaxBodyBytes, std::max(out.size() + room, 2 * out.capacity())));
    out.resize(out.size() + room);
    return room;
}

std::vector<std::uint8_t> InflateZlib(std::span<const std::uint8_t> in, std::size_t declared, unsigned& cuts)
{
    std::vector<std::uint8_t> out;
    out.reserve(std::min(declared, kMaxBodyBytes));
    z_stream z{};
    if (inflateInit(&z) != Z_OK) return out;
    z.next_in = const_cast<Bytef*>(in.data());
    z.avail_in = static_cast<uInt>(std::min<std::size_t>(in.size(), UINT32_MAX));
    int rc = Z_OK;
    while (out.size() < kMaxBodyBytes) {
        const std::size_t have = out.size();
        const std::size_t room = MakeRoom(out);
        z.next_out = out.data() + have;
        z.avail_out = static_cast<uInt>(room);
        rc = inflate(&z, Z_SYNC_FLUSH);
        out.resize(have + (room - z.avail_out));
        if (rc != Z_OK) break;                          // the end, damage or a cut: keep what came out
        if (z.avail_in == 0 && z.avail_out != 0) break; // input used up
    }
    if (out.size() >= kMaxBodyBytes && rc != Z_STREAM_END) cuts |= kCutBody;
    inflateEnd(&z);
    return out;
}

// "ZWS": bytes 8..11 the compressed length, 12..16 the LZMA properties, data
// from 17. liblzma's "alone" format wants the properties followed by the
// 64-bit uncompressed size, which is FileLength - 8. No match reaches further
// back than the body kept, so a dictionary larger than that is cut to it.
std::vector<std::uint8_t> InflateLzma(std::span<const std::uint8_t> file, std::uint32_t fileLength, unsigned& cuts)
{
    std::vector<std::uint8_t> out;
    if (file.size() < 17) return out;
    const std::size_t declared = fileLength >= 8 ? fileLength - 8 : SIZE_MAX;
    // The header goes in first, then the data straight from the file.
    std::array<std::uint8_t, 13> head{};
    std::copy(file.begin() + 12, file.begin() + 17, head.begin());
    const auto dict = std::min<std::size_t>(LittleU32(head, 1), std::max<std::size_t>(4096, std::min(declared, kMaxBodyBytes)));
    for (int i = 0; i < 4; ++i) head[1 + i] = static_cast<std::uint8_t>(dict >> (8 * i));
    const std::uint64_t size = declared == SIZE_MAX ? UINT64_MAX : declared;
    for (int i = 0; i < 8; ++i) head[5 + i] = static_cast<std::uint8_t>(size >> (8 * i));

    out.reserve(std::min(declared, kMaxBodyBytes));
    lzma_stream z = LZMA_STREAM_INIT;
    if (lzma_alone_decoder(&z, kLzmaMemLimit) != LZMA_OK) return out;
    z.next_in = head.data();
    z.avail_in = head.size();
    bool onData = false;
    lzma_ret rc = LZMA_OK;
    while (out.size() < kMaxBodyBytes) {
        if (!onData && z.avail_in == 0) {
            z.next_in = file.data() + 17;
            z.avail_in = file.size() - 17;
            onData = true;
        }
        const std::size_t have = out.size();
        const std::size_t room = MakeRoom(out);
        z.next_out = out.data() + have;
        z.avail_out = room;
        rc = lzma_code(&z, onData ? LZMA_FINISH : LZMA_RUN);
        out.resize(have + (room - z.avail_out));
        if (rc != LZMA_OK) break; // end, damage, memory limit, or cut short
    }
    if (out.size() >= kMaxBodyBytes && rc != LZMA_STREAM_END) cuts |= kCutBody;
    lzma_end(&z);
    return out;
}

bool IsSwf(std::span<const std::uint8_t> file)
{
    return file.size() >= 8 && (file[0] == 'F' || file[0] == 'C' || file[0] == 'Z') && file[1] == 'W' && file[2] == 'S';
}

// The body of a file IsSwf says is one; a plain file's own bytes become it.
std::vector<std::uint8_t> Body(std::vector<std::uint8_t>&& file, unsigned& cuts)
{
    const std::uint32_t fileLength = LittleU32(file, 4);
    if (file[0] == 'F') {
        file.erase(file.begin(), file.begin() + 8);
        if (file.size() > kMaxBodyBytes) {
            file.resize(kMaxBodyBytes);
            cuts |= kCutBody;
        }
        return std::move(file);
    }
    std::vector<std::uint8_t> in = std::move(file); // freed on the way out
    if (in[0] == 'C') return InflateZlib(std::span(in).subspan(8), fileLength >= 8 ? fileLength - 8 : SIZE_MAX, cuts);
    return InflateLzma(in, fileLength, cuts);
}

// A map node's own bookkeeping, about.
constexpr std::size_t kNodeBytes = 48;

struct ReadState {
    Movie& movie;
    std::map<std::string, std::uint16_t> names; // exported sound names
    bool truncated = false;
    bool full = false; // the timeline's room is used up: reading stops here

    bool Charge(std::size_t bytes)
    {
        if (full || movie.timelineBytes + bytes > kMaxTimelineBytes) {
            full = true;
            movie.cuts |= kCutTimeline;
            return false;
        }
        movie.timelineBytes += bytes;
        return true;
    }
    // Appends to v, charging each growth of its storage as it happens.
    template <class T>
    bool Push(std::vector<T>& v, T x)
    {
        if (v.size() == v.capacity()) {
            const std::size_t grow = std::max<std::size_t>(v.capacity(), 4);
            if (!Charge(grow * sizeof(T))) return false;
            v.reserve(v.capacity() + grow);
        }
        v.push_back(std::move(x));
        return true;
    }
};

std::optional<SoundInfo> ReadSoundInfo(ByteReader& r)
{
    SoundInfo info;
    const std::uint8_t flags = r.U8();
    info.syncStop = flags & 0x20;
    info.syncNoMultiple = flags & 0x10;
    const bool hasEnvelope = flags & 0x08;
    const bool hasLoops = flags & 0x04;
    const bool hasOut = flags & 0x02;
    const bool hasIn = flags & 0x01;
    if (hasIn) info.inPoint = r.U32();
    if (hasOut) info.outPoint = r.U32();
    if (hasLoops) info.loops = std::max<std::uint16_t>(1, r.U16());
    if (hasEnvelope) r.Skip(8u * r.U8()); // 44.1 kHz position, left and right level
    if (r.Failed()) return std::nullopt;
    return info;
}

SoundSpec SpecFromByte(std::uint8_t b)
{
    SoundSpec s;
    s.format = b >> 4;
    s.rateCode = (b >> 2) & 3;
    s.sixteenBit = b & 2;
    s.stereo = b & 1;
    return s;
}

void AddEvent(Frame& frame, FrameEvent e, ReadState& st)
{
    if (frame.events.size() < kMaxEventsPerFrame) st.Push(frame.events, std::move(e));
}

void ReadActions(std::span<const std::uint8_t> body, Frame& frame, ReadState& st)
{
    ByteReader r(body);
    while (r.Remaining() > 0 && frame.events.size() < kMaxEventsPerFrame && !st.full) {
        const std::uint8_t code = r.U8();
        if (code == 0) break;
        std::span<const std::uint8_t> payload;
        if (code >= 0x80) {
            const std::uint16_t len = r.U16();
            payload = r.Bytes(len);
            if (r.Failed()) break;
        }
        FrameEvent e;
        switch (code) {
        case 0x06: e.action = ActionKind::Play; break;
        case 0x07: e.action = ActionKind::Stop; break;
        case 0x09: e.action = ActionKind::StopSounds; break;
        case 0x81:
            if (payload.size() < 2) continue;
            e.action = ActionKind::GotoFrame;
            e.frame = static_cast<std::uint16_t>(payload[0] | (payload[1] << 8));
            break;
        default: continue; // every other action is ignored
        }
        AddEvent(frame, e, st);
    }
}

bool FrameHasContent(const Frame& f) { return !f.events.empty() || f.streamBlock.has_value(); }

void ReadTimeline(std::span<const std::uint8_t> data, Timeline& tl, ReadState& st, int depth)
{
    Movie& movie = st.movie;
    ByteReader r(data);
    Frame pending;
    bool ended = false;
    while (r.Remaining() > 0 && movie.tagsRead < kMaxTags && !st.full) {
        const std::uint16_t head = r.U16();
        std::uint32_t length = head & 0x3f;
        const std::uint16_t code = head >> 6;
        if (length == 0x3f) length = r.U32();
        if (r.Failed() || length > r.Remaining()) {
            st.truncated = true;
            break;
        }
        const auto body = r.Bytes(length);
        ++movie.tagsRead;
        ByteReader t(body);
        switch (code) {
        case 0: ended = true; break;
        case 1: // ShowFrame
            if (tl.frames.size() < kMaxFrames) st.Push(tl.frames, std::move(pending));
            pending = Frame{};
            break;
        case 12: ReadActions(body, pending, st); break;
        case 14: { // DefineSound
            DefinedSound s;
            s.id = t.U16();
            s.coding = SpecFromByte(t.U8());
            s.sampleCount = t.U32();
            if (t.Failed()) break;
            s.data = t.Rest();
            if (movie.sounds.count(s.id))
                movie.sounds[s.id] = s;
            else if (movie.sounds.size() < kMaxSounds && st.Charge(kNodeBytes + sizeof(std::pair<const std::uint16_t, DefinedSound>)))
                movie.sounds.emplace(s.id, s);
            break;
        }
        case 15:   // StartSound
        case 89: { // StartSound2, which names an exported sound
            FrameEvent e;
            e.kind = FrameEvent::Kind::StartSound;
            if (code == 15) {
                e.soundId = t.U16();
            } else {
                const std::string name = t.CString();
                const auto it = st.names.find(name);
                if (t.Failed() || it == st.names.end()) break;
                e.soundId = it->second;
            }
            auto info = ReadSoundInfo(t);
            if (!info) break;
            e.info = *info;
            AddEvent(pending, std::move(e), st);
            break;
        }
        case 18:   // SoundStreamHead
        case 45: { // SoundStreamHead2
            StreamHead h;
            t.U8(); // the playback settings, a hint only
            h.coding = SpecFromByte(t.U8());
            h.samplesPerBlock = t.U16();
            if (h.coding.format == static_cast<std::uint8_t>(SoundFormat::Mp3)) h.latencySeek = t.S16();
            if (t.Failed()) break;
            tl.streamHead = h;
            break;
        }
        case 19: // SoundStreamBlock: one per frame
            if (!tl.streamHead || pending.streamBlock) break;
            if (st.Push(tl.streamBlocks, body)) pending.streamBlock = tl.streamBlocks.size() - 1;
            break;
        case 39: { // DefineSprite
            if (depth + 1 > kMaxSpriteDepth) break;
            const std::uint16_t id = t.U16();
            t.U16(); // declared frame count; the ShowFrame tags count
            if (t.Failed() || !st.Charge(kNodeBytes + sizeof(std::pair<const std::uint16_t, Timeline>))) break;
            Timeline sprite;
            ReadTimeline(t.Rest(), sprite, st, depth + 1);
            movie.sprites[id] = std::move(sprite);
            break;
        }
        case 56:   // ExportAssets
        case 76: { // SymbolClass
            const std::uint16_t n = t.U16();
            for (int i = 0; i < n && !t.Failed(); ++i) {
                const std::uint16_t id = t.U16();
                std::string name = t.CString();
                if (t.Failed()) break;
                if (const auto it = st.names.find(name); it != st.names.end())
                    it->second = id;
                else if (st.Charge(kNodeBytes + sizeof(std::pair<const std::string, std::uint16_t>) + name.size()))
                    st.names.emplace(std::move(name), id);
            }
            break;
        }
        default: break; // not about sound
        }
        if (ended) break;
    }
    if (!ended && depth == 0 && r.Remaining() == 0 && movie.tagsRead < kMaxTags) st.truncated = true;
    // What came after the last ShowFrame of a cut file still makes a frame.
    if (FrameHasContent(pending) && tl.frames.size() < kMaxFrames) st.Push(tl.frames, std::move(pending));
}

} // namespace

std::optional<std::vector<std::uint8_t>> Inflate(std::span<const std::uint8_t> file, unsigned* cuts)
{
    if (!IsSwf(file)) return std::nullopt;
    unsigned ignored = 0;
    return Body(std::vector<std::uint8_t>(file.begin(), file.end()), cuts ? *cuts : ignored);
}

std::optional<Movie> ReadMovie(std::span<const std::uint8_t> file)
{
    return ReadMovie(std::vector<std::uint8_t>(file.begin(), file.end()));
}

std::optional<Movie> ReadMovie(std::vector<std::uint8_t> file)
{
    if (!IsSwf(file)) return std::nullopt;
    Movie movie;
    movie.signature = static_cast<char>(file[0]);
    movie.version = file[3];
    movie.fileLength = LittleU32(file, 4);
    movie.body = Body(std::move(file), movie.cuts);
    const std::span<const std::uint8_t> body(movie.body);

    BitReader bits(body);
    const int n = static_cast<int>(bits.Bits(5));
    const std::int32_t xmin = bits.SignedBits(n);
    const std::int32_t xmax = bits.SignedBits(n);
    const std::int32_t ymin = bits.SignedBits(n);
    const std::int32_t ymax = bits.SignedBits(n);
    if (bits.Failed()) return std::nullopt;
    movie.frameWidthTwips = static_cast<std::int32_t>(static_cast<std::int64_t>(xmax) - xmin);
    movie.frameHeightTwips = static_cast<std::int32_t>(static_cast<std::int64_t>(ymax) - ymin);

    ByteReader r(body.subspan(bits.BytePosition()));
    const std::uint16_t rate = r.U16();
    movie.frameRate = rate / 256.0; // unsigned 8.8 fixed point
    movie.declaredFrames = r.U16();
    if (r.Failed()) return std::nullopt;

    ReadState st{movie, {}, false};
    ReadTimeline(r.Rest(), movie.main, st, 0);
    movie.truncated = st.truncated;
    return movie;
}

} // namespace wd::swfplay
