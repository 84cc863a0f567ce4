// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// Movies made to hurt a player: each shape a broken or hostile file may take to
// make the player hold too much memory or work too long. The benchmark, the
// player's tests and the fuzzer's corpus all use them.
#pragma once

#include <string>
#include <vector>

#include "SwfWriter.h"

namespace wd::swf {

struct HostileMovie {
    std::string name; // a file name
    std::string about;
    Bytes file;
};

// Every shape, most of them in a small compressed file. With `large`, also the
// long PCM sound in a plain file of 60 MB.
std::vector<HostileMovie> HostileMovies(bool large);

} // namespace wd::swf
