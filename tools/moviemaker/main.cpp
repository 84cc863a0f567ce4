// wd-moviemaker OUTDIR: writes the game's movies into OUTDIR.
//   wd-moviemaker --wav OUTDIR   also writes each movie's music as a WAV, for listening.
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>

#include "Movies.h"
#include "Mp3Encoder.h"

int main(int argc, char** argv)
{
    using namespace wd::moviemaker;
    const bool wav = argc == 3 && std::strcmp(argv[1], "--wav") == 0;
    if (argc != 2 && !wav) {
        std::fprintf(stderr, "usage: wd-moviemaker [--wav] OUTDIR\n");
        return 2;
    }
    const std::filesystem::path out = argv[argc - 1];
    try {
        std::filesystem::create_directories(out);
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
