// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

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

std::string DescribeCuts(unsigned cuts)
{
    std::string out;
    const auto add = [&](unsigned flag, const char* what, std::size_t bytes) {
        if (!(cuts & flag)) return;
        out += (out.empty() ? "" : "; ") + std::string(what) + std::to_string(bytes >> 20) + " MB";
    };
    add(kCutFile, "the file is longer than the part read, ", kMaxFileBytes);
    add(kCutBody, "it inflates to more than ", kMaxBodyBytes);
    add(kCutTimeline, "its frames, events and names take more than ", kMaxTimelineBytes);
    add(kCutSound, "its sound decodes to more than ", kMaxSoundBytes);
    return out;
}

namespace {

std::shared_ptr<const PreparedMovie> PrepareOwned(std::vector<std::uint8_t> file, unsigned cuts)
{
    auto movie = ReadMovie(std::move(file));
    if (!movie) return nullptr;
    auto out = std::make_shared<PreparedMovie>();
    out->frameRate = PlayableFrameRate(movie->frameRate);
    SampleBudget budget(kMaxPcmSamples);
    for (auto& [id, sound] : movie->sounds) {
        if (!sound.data.empty() && budget.Clamp(1) == 0) break;
        if (auto pcm = DecodeEventSound(sound, budget)) out->sounds.emplace(id, std::move(*pcm));
    }
    out->stream = DecodeStream(movie->main, budget);
    for (auto& [id, sound] : movie->sounds) sound.data = {};
    movie->main.streamBlocks = {};
    for (auto& [id, sprite] : movie->sprites) sprite.streamBlocks = {};
    movie->body = {};
    for (const auto& [id, pcm] : out->sounds) out->soundBytes += pcm.samples.size() * sizeof(std::int16_t);
    if (out->stream) out->soundBytes += out->stream->pcm.samples.size() * sizeof(std::int16_t);
    out->cuts = cuts | movie->cuts | (budget.Spent() ? kCutSound : 0u);
    out->movie = std::move(*movie);
    return out;
}

} // namespace

std::shared_ptr<const PreparedMovie> Prepare(std::vector<std::uint8_t> file) { return PrepareOwned(std::move(file), 0); }

std::shared_ptr<const PreparedMovie> Prepare(std::span<const std::uint8_t> file)
{
    return PrepareOwned(std::vector<std::uint8_t>(file.begin(), file.end()), 0);
}

std::shared_ptr<const PreparedMovie> PrepareFile(const std::filesystem::path& path)
{
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    std::ifstream in(path, std::ios::binary);
    if (ec || !in) return nullptr;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(std::min<std::uintmax_t>(size, kMaxFileBytes)));
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(std::max<std::streamsize>(0, in.gcount())));
    return PrepareOwned(std::move(bytes), size > kMaxFileBytes ? kCutFile : 0u);
}

} // namespace wd::swfplay
