// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/swf/ByteReader.h"

namespace wd::swfplay {

std::uint8_t ByteReader::U8()
{
    if (pos_ >= data_.size()) {
        failed_ = true;
        return 0;
    }
    return data_[pos_++];
}

std::uint16_t ByteReader::U16()
{
    auto b = Bytes(2);
    if (b.empty()) return 0;
    return static_cast<std::uint16_t>(b[0] | (b[1] << 8));
}

std::uint32_t ByteReader::U32()
{
    auto b = Bytes(4);
    if (b.empty()) return 0;
    return static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
           (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
}

std::string ByteReader::CString()
{
    std::string s;
    while (pos_ < data_.size()) {
        const auto c = data_[pos_++];
        if (c == 0) return s;
        s.push_back(static_cast<char>(c));
    }
    failed_ = true;
    return {};
}

std::span<const std::uint8_t> ByteReader::Bytes(std::size_t n)
{
    if (n > Remaining()) {
        pos_ = data_.size();
        failed_ = true;
        return {};
    }
    auto out = data_.subspan(pos_, n);
    pos_ += n;
    return out;
}

std::span<const std::uint8_t> ByteReader::Rest() { return Bytes(Remaining()); }

std::uint32_t BitReader::Bits(int n)
{
    if (n <= 0) return 0;
    if (n > 32 || static_cast<std::size_t>(n) > BitsLeft()) {
        bit_ = data_.size() * 8;
        failed_ = true;
        return 0;
    }
    std::uint64_t v = 0;
    for (int i = 0; i < n; ++i) {
        const std::uint8_t byte = data_[bit_ >> 3];
        v = (v << 1) | ((byte >> (7 - (bit_ & 7))) & 1u);
        ++bit_;
    }
    return static_cast<std::uint32_t>(v);
}

std::int32_t BitReader::SignedBits(int n)
{
    const std::uint32_t v = Bits(n);
    if (n <= 0 || n > 32) return 0;
    if (n == 32) return static_cast<std::int32_t>(v);
    const std::uint32_t sign = 1u << (n - 1);
    return static_cast<std::int32_t>((v ^ sign)) - static_cast<std::int32_t>(sign);
}

} // namespace wd::swfplay
