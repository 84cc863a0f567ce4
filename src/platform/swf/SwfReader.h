// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Reads an SWF file ("FWS", "CWS" zlib, "ZWS" LZMA) into a Movie. Every tag is
// read within its own body; a tag that does not make sense is skipped; a tag
// whose length runs past the data ends the reading with what was read so far.
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "platform/swf/Movie.h"

namespace wd::swfplay {

// The file's bytes after the 8-byte header, inflated when compressed, at most
// kMaxBodyBytes (more sets kCutBody in `cuts`). Nothing when the signature is
// unknown; short when the compressed data is cut.
std::optional<std::vector<std::uint8_t>> Inflate(std::span<const std::uint8_t> file, unsigned* cuts = nullptr);

// Nothing when the file is not an SWF at all (no signature, no header). The
// movie keeps its body; a plain file's bytes become it without a copy.
std::optional<Movie> ReadMovie(std::vector<std::uint8_t> file);
std::optional<Movie> ReadMovie(std::span<const std::uint8_t> file);

} // namespace wd::swfplay
