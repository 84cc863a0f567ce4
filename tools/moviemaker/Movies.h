// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// The game's movies: what each one sounds like and how its sound is stored.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "SwfWriter.h"

namespace wd::moviemaker {

// How a sound is stored in the movie.
enum class Coding { Pcm8, Pcm16, Adpcm, Mp3 };

struct SoundPlan {
    Coding coding = Coding::Adpcm;
    int adpcmBits = 4;
    bool formatZero = false; // uncompressed as format 0 rather than 3
    int mp3Kbps = 32;
};

// A synthesized sound, ready to store.
struct Pcm {
    std::vector<std::int16_t> samples; // interleaved
    int channels = 1;
    int sampleRate = 22050;
    std::size_t Frames() const { return samples.size() / static_cast<std::size_t>(channels); }
};

// One event sound in frame 1, started with SyncNoMultiple and `loops` repeats
// (0 = once), then empty frames up to `frames`.
swf::Bytes EventSoundMovie(const Pcm& pcm, const SoundPlan& plan, int frames, double fps, std::uint16_t loops,
                           swf::Container container);
// Stream sound: a head in frame 1 and one block for every frame; the frame count
// follows the sound's length.
swf::Bytes StreamSoundMovie(const Pcm& pcm, const SoundPlan& plan, double fps, swf::Container container);

// The DefineSound data and sample count of a sound stored as `plan` says.
struct StoredSound {
    swf::SoundFormatInfo format;
    std::uint32_t sampleCount = 0;
    swf::Bytes data;
};
StoredSound StoreSound(const Pcm& pcm, const SoundPlan& plan);

struct Movie {
    std::string name;
    std::string about; // one line: sound kind, format, length
    swf::Bytes file;
};

// The nine movies of the game.
std::vector<Movie> GameMovies();

// The music alone, for listening and measuring. `level` 1..5.
Pcm TitleTheme();
Pcm LevelMusic(int level);
Pcm Fanfare();
Pcm Suspense();
Pcm Tick(bool high);

inline constexpr double kFps = 15;
// Beats last whole frames, so music and timeline loop together.
int LevelFramesPerBeat(int level);

} // namespace wd::moviemaker
