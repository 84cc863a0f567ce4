#include "platform/swf/PreparedMovie.h"

#include <algorithm>
#include <fstream>
#include <system_error>
#include <vector>

#include "platform/swf/Limits.h"
#include "platform/swf/SwfReader.h"

namespace wd::swfplay {

double PlayableFrameRate(double declared)
{
    if (!(declared >= 1.0 / 256)) return 12.0;
    return std::clamp(declared, 1.0, 120.0);
}

std::shared_ptr<const PreparedMovie> Prepare(std::span<const std::uint8_t> file)
{
    auto movie = ReadMovie(file);
    if (!movie) return nullptr;
    auto out = std::make_shared<PreparedMovie>();
    out->frameRate = PlayableFrameRate(movie->frameRate);
    SampleBudget budget(kMaxPcmSamples);
    for (auto& [id, sound] : movie->sounds) {
        if (auto pcm = DecodeEventSound(sound, budget)) out->sounds.emplace(id, std::move(*pcm));
        sound.data = {};
    }
    out->stream = DecodeStream(movie->main, budget);
    movie->main.streamBlocks = {};
    for (auto& [id, sprite] : movie->sprites) sprite.streamBlocks = {};
    out->movie = std::move(*movie);
    return out;
}

std::shared_ptr<const PreparedMovie> PrepareFile(const std::filesystem::path& path)
{
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec || size > kMaxFileBytes) return nullptr;
    std::ifstream in(path, std::ios::binary);
    if (!in) return nullptr;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(std::max<std::streamsize>(0, in.gcount())));
    return Prepare(bytes);
}

} // namespace wd::swfplay
