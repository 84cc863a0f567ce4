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

#include "platform/swf/Decoders.h"
#include "platform/swf/Movie.h"

namespace wd::swfplay {

struct PreparedMovie {
    Movie movie;                  // the sounds' coded data is dropped once decoded
    std::map<std::uint16_t, Pcm> sounds;
    std::optional<StreamPcm> stream;
    double frameRate = 12.0;      // the movie's rate, clamped to something playable
};

// A declared rate of 0 (or nonsense) becomes 12 frames per second; the rest is
// kept within 1..120.
double PlayableFrameRate(double declared);

// Nothing when the data is not a movie at all.
std::shared_ptr<const PreparedMovie> Prepare(std::span<const std::uint8_t> file);
// Nothing when the file is missing, unreadable, too large or not a movie.
std::shared_ptr<const PreparedMovie> PrepareFile(const std::filesystem::path& path);

} // namespace wd::swfplay
