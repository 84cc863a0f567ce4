// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "SwfWriter.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include <lzma.h>
#include <zlib.h>

namespace wd::swf {

std::optional<SoundRate> RateCode(int hz)
{
    switch (hz) {
    case 5512:
    case 5513: return SoundRate::Hz5512;
    case 11025: return SoundRate::Hz11025;
    case 22050: return SoundRate::Hz22050;
    case 44100: return SoundRate::Hz44100;
    default: return std::nullopt;
    }
}

double RateHz(SoundRate rate)
{
    switch (rate) {
    case SoundRate::Hz5512: return 5512.5;
    case SoundRate::Hz11025: return 11025;
    case SoundRate::Hz22050: return 22050;
    case SoundRate::Hz44100: return 44100;
    }
    return 0;
}

std::uint8_t FormatByte(const SoundFormatInfo& f)
{
    return static_cast<std::uint8_t>((static_cast<unsigned>(f.format) & 0x0F) << 4
                                     | (static_cast<unsigned>(f.rate) & 0x03) << 2
                                     | (f.sixteenBit ? 2u : 0u) | (f.stereo ? 1u : 0u));
}

void BitWriter::Unsigned(std::uint32_t value, int bits)
{
    for (int i = bits - 1; i >= 0; --i) {
        if (bitsFree_ == 0) {
            data_.push_back(0);
            bitsFree_ = 8;
        }
        --bitsFree_;
        if ((value >> i) & 1u) data_.back() = static_cast<std::uint8_t>(data_.back() | (1u << bitsFree_));
    }
}

void BitWriter::Signed(std::int32_t value, int bits)
{
    Unsigned(static_cast<std::uint32_t>(value), bits); // two's complement, low bits
}

void BitWriter::AlignToByte()
{
    bitsFree_ = 0;
}

Bytes BitWriter::Take()
{
    bitsFree_ = 0;
    return std::move(data_);
}

void PutU8(Bytes& out, std::uint8_t v)
{
    out.push_back(v);
}

void PutU16(Bytes& out, std::uint16_t v)
{
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void PutS16(Bytes& out, std::int16_t v)
{
    PutU16(out, static_cast<std::uint16_t>(v));
}

void PutU32(Bytes& out, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>((v >> (8 * i)) & 0xFF));
}

void PutBytes(Bytes& out, std::span<const std::uint8_t> data)
{
    out.insert(out.end(), data.begin(), data.end());
}

void PutString(Bytes& out, const std::string& s)
{
    out.insert(out.end(), s.begin(), s.end());
    out.push_back(0);
}

namespace {
int SignedBitsFor(std::int32_t v)
{
    // The width of the shortest two's complement field holding v.
    int bits = 1;
    while (bits < 32) {
        const std::int64_t lo = -(std::int64_t{1} << (bits - 1));
        const std::int64_t hi = (std::int64_t{1} << (bits - 1)) - 1;
        if (v >= lo && v <= hi) break;
        ++bits;
    }
    return bits;
}
} // namespace

int RectBits(const Rect& r)
{
    int bits = 1;
    for (std::int32_t v : {r.xMin, r.xMax, r.yMin, r.yMax}) bits = std::max(bits, SignedBitsFor(v));
    if (bits > 31) throw std::invalid_argument("rectangle too large for SWF");
    return bits;
}

Bytes EncodeRect(const Rect& r)
{
    const int bits = RectBits(r);
    BitWriter w;
    w.Unsigned(static_cast<std::uint32_t>(bits), 5);
    w.Signed(r.xMin, bits);
    w.Signed(r.xMax, bits);
    w.Signed(r.yMin, bits);
    w.Signed(r.yMax, bits);
    return w.Take();
}

std::uint16_t FrameRate88(double fps)
{
    const double fixed = std::round(fps * 256.0);
    if (fixed < 0 || fixed > 65535) throw std::invalid_argument("frame rate out of range");
    return static_cast<std::uint16_t>(fixed);
}

Bytes TagHeader(std::uint16_t code, std::uint32_t length, bool forceLong)
{
    if (code > 0x3FF) throw std::invalid_argument("tag code above 1023");
    Bytes out;
    if (length < 0x3F && !forceLong) {
        PutU16(out, static_cast<std::uint16_t>(code << 6 | length));
    } else {
        PutU16(out, static_cast<std::uint16_t>(code << 6 | 0x3F));
        PutU32(out, length);
    }
    return out;
}

Bytes EncodeSoundInfo(const SoundInfo& info)
{
    Bytes out;
    std::uint8_t flags = 0;
    if (info.syncStop) flags |= 0x20;
    if (info.syncNoMultiple) flags |= 0x10;
    if (info.envelope) flags |= 0x08;
    if (info.loopCount) flags |= 0x04;
    if (info.outPoint) flags |= 0x02;
    if (info.inPoint) flags |= 0x01;
    PutU8(out, flags);
    if (info.inPoint) PutU32(out, *info.inPoint);
    if (info.outPoint) PutU32(out, *info.outPoint);
    if (info.loopCount) PutU16(out, *info.loopCount);
    if (info.envelope) {
        if (info.envelope->size() > 255) throw std::invalid_argument("more than 255 envelope points");
        PutU8(out, static_cast<std::uint8_t>(info.envelope->size()));
        for (const auto& p : *info.envelope) {
            PutU32(out, p.pos44);
            PutU16(out, p.left);
            PutU16(out, p.right);
        }
    }
    return out;
}

Actions& Actions::GotoFrame(std::uint16_t zeroBasedFrame)
{
    Bytes payload;
    PutU16(payload, zeroBasedFrame);
    return Record(kActionGotoFrame, payload);
}

Actions& Actions::Code(std::uint8_t code)
{
    data_.push_back(code);
    return *this;
}

Actions& Actions::Record(std::uint8_t code, std::span<const std::uint8_t> payload)
{
    if (code < 0x80) throw std::invalid_argument("actions below 0x80 carry no payload");
    if (payload.size() > 0xFFFF) throw std::invalid_argument("action payload too long");
    data_.push_back(code);
    PutU16(data_, static_cast<std::uint16_t>(payload.size()));
    PutBytes(data_, payload);
    return *this;
}

Bytes Actions::End() const
{
    Bytes out = data_;
    out.push_back(0);
    return out;
}

Bytes Mp3SoundData(std::int16_t seekSamples, std::span<const std::uint8_t> frames)
{
    Bytes out;
    PutS16(out, seekSamples);
    PutBytes(out, frames);
    return out;
}

Bytes Mp3StreamBlockData(std::uint16_t sampleCount, std::int16_t seekSamples, std::span<const std::uint8_t> frames)
{
    Bytes out;
    PutU16(out, sampleCount);
    PutS16(out, seekSamples);
    PutBytes(out, frames);
    return out;
}

Bytes Pcm16Bytes(std::span<const std::int16_t> samples)
{
    Bytes out;
    out.reserve(samples.size() * 2);
    for (std::int16_t s : samples) PutS16(out, s);
    return out;
}

Bytes Pcm8Bytes(std::span<const std::int16_t> samples)
{
    Bytes out;
    out.reserve(samples.size());
    for (std::int16_t s : samples) {
        // Round to the nearest 8-bit step, then offset so that 128 is silence.
        const int v = std::clamp((static_cast<int>(s) + 128) >> 8, -128, 127);
        out.push_back(static_cast<std::uint8_t>(v + 128));
    }
    return out;
}

TagStream& TagStream::Tag(std::uint16_t code, std::span<const std::uint8_t> body, bool forceLong)
{
    PutBytes(data_, TagHeader(code, static_cast<std::uint32_t>(body.size()), forceLong));
    PutBytes(data_, body);
    if (code == kTagShowFrame) ++showFrames_;
    return *this;
}

TagStream& TagStream::Raw(std::span<const std::uint8_t> bytes)
{
    PutBytes(data_, bytes);
    return *this;
}

TagStream& TagStream::ShowFrame()
{
    return Tag(kTagShowFrame, {});
}

TagStream& TagStream::DoAction(const Actions& actions)
{
    return Tag(kTagDoAction, actions.End());
}

TagStream& TagStream::DefineSound(std::uint16_t id, const SoundFormatInfo& format, std::uint32_t sampleCount,
                                  std::span<const std::uint8_t> data)
{
    Bytes body;
    PutU16(body, id);
    PutU8(body, FormatByte(format));
    PutU32(body, sampleCount);
    PutBytes(body, data);
    return Tag(kTagDefineSound, body);
}

TagStream& TagStream::StartSound(std::uint16_t id, const SoundInfo& info)
{
    Bytes body;
    PutU16(body, id);
    PutBytes(body, EncodeSoundInfo(info));
    return Tag(kTagStartSound, body);
}

TagStream& TagStream::StartSound2(const std::string& className, const SoundInfo& info)
{
    Bytes body;
    PutString(body, className);
    PutBytes(body, EncodeSoundInfo(info));
    return Tag(kTagStartSound2, body);
}

TagStream& TagStream::SoundStreamHead(const SoundFormatInfo& playback, const SoundFormatInfo& stream,
                                      std::uint16_t samplesPerBlock, std::int16_t latencySeek, bool head2)
{
    Bytes body;
    // The playback byte has no format field: its upper four bits are reserved.
    PutU8(body, static_cast<std::uint8_t>(FormatByte(playback) & 0x0F));
    PutU8(body, FormatByte(stream));
    PutU16(body, samplesPerBlock);
    if (stream.format == SoundFormat::Mp3) PutS16(body, latencySeek);
    return Tag(head2 ? kTagSoundStreamHead2 : kTagSoundStreamHead, body);
}

TagStream& TagStream::SoundStreamBlock(std::span<const std::uint8_t> data)
{
    return Tag(kTagSoundStreamBlock, data);
}

TagStream& TagStream::DefineSprite(std::uint16_t id, std::uint16_t frameCount, const TagStream& tags)
{
    Bytes body;
    PutU16(body, id);
    PutU16(body, frameCount);
    PutBytes(body, tags.Data());
    return Tag(kTagDefineSprite, body);
}

Bytes BuildMovie(const MovieHeader& header, const TagStream& tags, Container container)
{
    MovieWriter w(header, header.frameCount.value_or(static_cast<std::uint16_t>(tags.ShowFrames())), container);
    return w.Put(tags.Data()).Finish();
}

// One compressor, fed a piece at a time; what it has made so far goes to `out`.
struct MovieWriter::Coder {
    Container container;
    z_stream z{};
    lzma_stream x = LZMA_STREAM_INIT;

    explicit Coder(Container c) : container(c)
    {
        if (c == Container::Zlib && deflateInit(&z, Z_BEST_COMPRESSION) != Z_OK)
            throw std::runtime_error("zlib compression failed");
        if (c == Container::Lzma) {
            lzma_options_lzma opt;
            lzma_lzma_preset(&opt, 6);
            if (lzma_alone_encoder(&x, &opt) != LZMA_OK) throw std::runtime_error("LZMA compression failed");
        }
    }
    ~Coder()
    {
        if (container == Container::Zlib) deflateEnd(&z);
        lzma_end(&x);
    }
    void Code(std::span<const std::uint8_t> in, bool finish, Bytes& out)
    {
        std::uint8_t chunk[65536];
        if (container == Container::Zlib) {
            z.next_in = const_cast<Bytef*>(in.data());
            z.avail_in = static_cast<uInt>(in.size());
            int rc = Z_OK;
            do {
                z.next_out = chunk;
                z.avail_out = sizeof chunk;
                rc = deflate(&z, finish ? Z_FINISH : Z_NO_FLUSH);
                out.insert(out.end(), chunk, chunk + (sizeof chunk - z.avail_out));
            } while (finish ? rc == Z_OK : z.avail_out == 0);
            if (rc == Z_STREAM_ERROR) throw std::runtime_error("zlib compression failed");
            return;
        }
        x.next_in = in.data();
        x.avail_in = in.size();
        lzma_ret rc = LZMA_OK;
        do {
            x.next_out = chunk;
            x.avail_out = sizeof chunk;
            rc = lzma_code(&x, finish ? LZMA_FINISH : LZMA_RUN);
            out.insert(out.end(), chunk, chunk + (sizeof chunk - x.avail_out));
        } while (rc == LZMA_OK && (finish || x.avail_in > 0 || x.avail_out == 0));
        if (rc != LZMA_OK && rc != LZMA_STREAM_END) throw std::runtime_error("LZMA compression failed");
    }
};

MovieWriter::MovieWriter(const MovieHeader& header, std::uint16_t frameCount, Container container)
    : header_(header), container_(container)
{
    out_ = {container == Container::Zlib ? std::uint8_t('C') : container == Container::Lzma ? std::uint8_t('Z')
                                                                                             : std::uint8_t('F'),
            'W', 'S', header.version};
    PutU32(out_, 0); // FileLength, once known
    if (container != Container::Plain) coder_ = std::make_unique<Coder>(container);
    Bytes start = EncodeRect(header.frame);
    PutU16(start, FrameRate88(header.frameRate));
    PutU16(start, frameCount);
    Put(start);
}

MovieWriter::~MovieWriter() = default;

MovieWriter& MovieWriter::Put(std::span<const std::uint8_t> bytes)
{
    bodySize_ += bytes.size();
    if (coder_)
        coder_->Code(bytes, false, out_);
    else
        PutBytes(out_, bytes);
    return *this;
}

Bytes MovieWriter::Finish()
{
    if (coder_) coder_->Code({}, true, out_);
    const auto length = header_.fileLength.value_or(static_cast<std::uint32_t>(8 + bodySize_));
    for (int i = 0; i < 4; ++i) out_[4 + i] = static_cast<std::uint8_t>(length >> (8 * i));
    if (container_ == Container::Lzma) {
        // liblzma's "alone" header is 5 property bytes and 8 size bytes; ZWS keeps
        // the properties behind the compressed length and drops the size.
        Bytes zws(out_.begin(), out_.begin() + 8);
        PutU32(zws, static_cast<std::uint32_t>(out_.size() - 8 - 13));
        zws.insert(zws.end(), out_.begin() + 8, out_.begin() + 13);
        zws.insert(zws.end(), out_.begin() + 21, out_.end());
        return zws;
    }
    return std::move(out_);
}

} // namespace wd::swf
