// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Bounds-checked readers over a byte span: little-endian fields, and the
// most-significant-bit-first bit fields that SWF uses for records and ADPCM.
// Reading past the end never touches memory; it sets the failed flag and
// yields zeros.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace wd::swfplay {

class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> data) : data_(data) {}

    std::uint8_t U8();
    std::uint16_t U16();
    std::int16_t S16() { return static_cast<std::int16_t>(U16()); }
    std::uint32_t U32();
    // A NUL-terminated string; fails when no NUL is left.
    std::string CString();
    // The next n bytes; fails (and returns an empty span) when fewer remain.
    std::span<const std::uint8_t> Bytes(std::size_t n);
    std::span<const std::uint8_t> Rest();
    void Skip(std::size_t n) { Bytes(n); }

    std::size_t Position() const { return pos_; }
    std::size_t Remaining() const { return data_.size() - pos_; }
    bool Failed() const { return failed_; }

private:
    std::span<const std::uint8_t> data_;
    std::size_t pos_ = 0;
    bool failed_ = false;
};

class BitReader {
public:
    explicit BitReader(std::span<const std::uint8_t> data) : data_(data) {}

    // n in 0..32; unsigned and sign-extended fields.
    std::uint32_t Bits(int n);
    std::int32_t SignedBits(int n);
    bool Has(std::size_t n) const { return BitsLeft() >= n; }
    std::size_t BitsLeft() const { return data_.size() * 8 - bit_; }
    // Bytes consumed, counting a partly read byte as whole.
    std::size_t BytePosition() const { return (bit_ + 7) / 8; }
    bool Failed() const { return failed_; }

private:
    std::span<const std::uint8_t> data_;
    std::size_t bit_ = 0;
    bool failed_ = false;
};

} // namespace wd::swfplay
