// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// wd-moviemaker OUTDIR: writes the game's movies into OUTDIR.
//   wd-moviemaker --wav OUTDIR   also writes each movie's music as a WAV, for listening.
//   wd-moviemaker --hostile OUTDIR   writes the movies made to hurt a player instead.
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>

#include "HostileMovies.h"
#include "Movies.h"
#include "Mp3Encoder.h"

int main(int argc, char** argv)
{
    using namespace wd::moviemaker;
    const bool wav = argc == 3 && std::strcmp(argv[1], "--wav") == 0;
    const bool hostile = argc == 3 && std::strcmp(argv[1], "--hostile") == 0;
    if (argc != 2 && !wav && !hostile) {
        std::fprintf(stderr, "usage: wd-moviemaker [--wav | --hostile] OUTDIR\n");
        return 2;
    }
    const std::filesystem::path out = argv[argc - 1];
    try {
        std::filesystem::create_directories(out);
        if (hostile) {
            for (const auto& m : wd::swf::HostileMovies(true)) {
                WriteFile(out / m.name, m.file);
                std::printf("%-16s %9zu bytes  %s\n", m.name.c_str(), m.file.size(), m.about.c_str());
            }
            return 0;
        }
        for (const Movie& m : GameMovies()) {
            WriteFile(out / m.name, m.file);
            std::printf("%-12s %7zu bytes  %s\n", m.name.c_str(), m.file.size(), m.about.c_str());
        }
        if (wav) {
            auto save = [&](const char* name, const Pcm& p) {
                WriteFile(out / name, WavFile(p.samples, p.channels, p.sampleRate));
            };
            save("bantou.wav", TitleTheme());
            for (int level = 1; level <= 5; ++level) save((std::to_string(level) + ".wav").c_str(), LevelMusic(level));
            save("noend.wav", Fanfare());
            save("explore.wav", Suspense());
            save("tick.wav", Tick(true));
            save("tock.wav", Tick(false));
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "wd-moviemaker: %s\n", e.what());
        return 1;
    }
    return 0;
}
