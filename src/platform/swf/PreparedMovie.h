// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// A movie ready to play: read, with every event sound and the main timeline's
// stream sound decoded. Made once per SetMovie, off the UI thread, and then
// shared read-only with the player.
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/swf/Decoders.h"
#include "platform/swf/Movie.h"

namespace wd::swfplay {

struct PreparedMovie {
    Movie movie;                  // its body, and with it the sounds' coded data, is dropped once decoded
    std::map<std::uint16_t, Pcm> sounds;
    std::optional<StreamPcm> stream;
    double frameRate = 12.0;      // the movie's rate, clamped to something playable
    std::size_t soundBytes = 0;   // the decoded samples of sounds and stream
    unsigned cuts = 0;            // Cut flags: what was left out to keep within the bounds

    // What the movie holds while it plays, by the player's own count: never
    // more than kMovieBudgetBytes.
    std::size_t KeptBytes() const { return movie.timelineBytes + soundBytes; }
};

// A line for the log about what was left out of a movie; empty when nothing was.
std::string DescribeCuts(unsigned cuts);

// A declared rate of 0 (or nonsense) becomes 12 frames per second; the rest is
// kept within 1..120.
double PlayableFrameRate(double declared);

// Nothing when the data is not a movie at all.
std::shared_ptr<const PreparedMovie> Prepare(std::vector<std::uint8_t> file);
std::shared_ptr<const PreparedMovie> Prepare(std::span<const std::uint8_t> file);
// Nothing when the file is missing, unreadable or not a movie. Only the first
// kMaxFileBytes are read.
std::shared_ptr<const PreparedMovie> PrepareFile(const std::filesystem::path& path);

} // namespace wd::swfplay
