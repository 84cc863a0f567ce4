// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// The movie player's costs, against its targets:
//   - reading and decoding each movie (off the UI thread, so it only delays
//     the first sound);
//   - SetMovie's return (< 5 ms) and the time from SetMovie to the first mixed
//     buffer that holds sound (< 20 ms);
//   - the mixer's cost while movies play (< 2 % of one core);
//   - each hostile movie's load: its time and the process's peak memory on the
//     way (the high-water mark is reset before each one).
// Run: bench_swf_player [folder of .swf files]; by default the game's "swf"
// folder beside the build, or, when that is empty, a few movies made here. The
// hostile movies come from the build's "hostile" folder.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <malloc.h>
#include <string>
#include <vector>

#include <QCoreApplication>
#include <QTemporaryDir>

#include "AdpcmEncoder.h"
#include "SwfWriter.h"
#include "platform/SoundOutput.h"
#include "platform/swf/Mixer.h"
#include "platform/swf/PreparedMovie.h"
#include "ui/AnimationPanel.h"

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double ThreadCpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

// Stand-ins for the game's movies: ten seconds of a chord in each format.
void MakeMovies(const fs::path& dir)
{
    using namespace wd::swf;
    const std::size_t n = 22050 * 10;
    std::vector<std::int16_t> chord(n);
    for (std::size_t i = 0; i < n; ++i)
        chord[i] = static_cast<std::int16_t>(6000 * (std::sin(i * 0.0627) + std::sin(i * 0.0790) + std::sin(i * 0.0940)));
    const SoundFormatInfo pcm{SoundFormat::UncompressedLittleEndian, SoundRate::Hz22050, true, false};
    const SoundFormatInfo adpcm{SoundFormat::Adpcm, SoundRate::Hz22050, true, false};
    MovieHeader h;
    h.frameRate = 12;
    const auto save = [&](const char* name, const Bytes& b) {
        std::FILE* f = std::fopen((dir / name).c_str(), "wb");
        std::fwrite(b.data(), 1, b.size(), f);
        std::fclose(f);
    };
    TagStream e;
    e.DefineSound(1, pcm, static_cast<std::uint32_t>(n), Pcm16Bytes(chord)).StartSound(1).ShowFrame();
    for (int i = 0; i < 119; ++i) e.ShowFrame();
    e.End();
    save("event_pcm_cws.swf", BuildMovie(h, e, Container::Zlib));
    TagStream a;
    a.DefineSound(1, adpcm, static_cast<std::uint32_t>(n), EncodeAdpcm(chord, 1, 4)).StartSound(1).ShowFrame();
    for (int i = 0; i < 119; ++i) a.ShowFrame();
    a.End();
    save("event_adpcm.swf", BuildMovie(h, a));
    TagStream s;
    s.SoundStreamHead(adpcm, adpcm, 22050 / 12);
    for (std::size_t f = 0; f * 1837 < n; ++f)
        s.SoundStreamBlock(EncodeAdpcm(std::span(chord).subspan(f * 1837, std::min<std::size_t>(1837, n - f * 1837)), 1, 4)).ShowFrame();
    s.End();
    save("stream_adpcm.swf", BuildMovie(h, s));
}

// The process's resident and peak resident memory, in KiB, from /proc.
long StatusKib(const char* field)
{
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(field, 0) == 0) return std::stol(line.substr(std::string(field).size()));
    return -1;
}

void HostileLoads(const fs::path& dir)
{
    std::vector<fs::path> files;
    if (fs::is_directory(dir))
        for (const auto& e : fs::directory_iterator(dir))
            if (e.path().extension() == ".swf") files.push_back(e.path());
    std::sort(files.begin(), files.end());
    std::printf("\n%-22s %9s %10s %8s %10s %10s %10s %5s\n", "hostile movie", "bytes", "load ms", "cpu ms", "peak MiB",
                "kept MiB", "sound s", "cuts");
    double worstMs = 0, worstMib = 0;
    wd::swfplay::Mixer mixer; // every hostile movie playing at once, afterwards
    std::vector<std::shared_ptr<wd::swfplay::Player>> players;
    for (const auto& path : files) {
        malloc_trim(0); // what earlier loads freed goes back, so that it cannot hide this one
        std::ofstream("/proc/self/clear_refs") << "5"; // resets the peak to what is resident now
        const long before = StatusKib("VmRSS:");
        const auto t0 = Clock::now();
        const double c0 = ThreadCpuSeconds();
        auto movie = wd::swfplay::PrepareFile(path);
        const double ms = Ms(Clock::now() - t0);
        const double cpuMs = 1000 * (ThreadCpuSeconds() - c0);
        const double mib = static_cast<double>(StatusKib("VmHWM:") - before) / 1024;
        double seconds = 0;
        if (movie) {
            for (const auto& [id, pcm] : movie->sounds) seconds += pcm.Frames() / pcm.rate;
            if (movie->stream) seconds += movie->stream->pcm.Frames() / movie->stream->pcm.rate;
        }
        const double kept = movie ? static_cast<double>(movie->KeptBytes()) / (1 << 20) : 0;
        const unsigned cuts = movie ? movie->cuts : 0;
        players.push_back(std::make_shared<wd::swfplay::Player>(wd::swfplay::Player::Play::On));
        mixer.Attach(players.back());
        players.back()->Install(players.back()->Expect(), std::move(movie));
        worstMs = std::max(worstMs, ms);
        worstMib = std::max(worstMib, mib);
        std::printf("%-22s %9ju %10.1f %8.1f %10.1f %10.1f %10.1f %5x\n", path.filename().c_str(),
                    static_cast<std::uintmax_t>(fs::file_size(path)), ms, cpuMs, mib, kept, seconds, cuts);
    }
    if (files.empty()) return;
    std::printf("hostile movies: slowest load %.1f ms, highest peak %.1f MiB\n", worstMs, worstMib);
    std::vector<std::int16_t> buf(2 * 1024);
    constexpr double kAudioSeconds = 10;
    const double c0 = ThreadCpuSeconds();
    for (std::size_t done = 0; done < kAudioSeconds * 44100; done += 1024) mixer.Pull(buf.data(), 1024);
    std::printf("mixing the %zu hostile movies at once: %.3f %% of one core\n", files.size(),
                100 * (ThreadCpuSeconds() - c0) / kAudioSeconds);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    wd::SoundOutput::Instance().DisableDevice(); // measure the work, not the device
    fs::path dir = argc > 1 ? fs::path(argv[1]) : fs::path(WD_SWF_DIR);
    QTemporaryDir own;
    std::vector<fs::path> movies;
    const auto collect = [&] {
        movies.clear();
        if (fs::is_directory(dir))
            for (const auto& e : fs::directory_iterator(dir))
                if (e.path().extension() == ".swf") movies.push_back(e.path());
        std::sort(movies.begin(), movies.end());
    };
    collect();
    if (movies.empty()) {
        std::printf("no movies in %s; using movies made here\n", dir.c_str());
        dir = own.path().toStdString();
        MakeMovies(dir);
        collect();
    }

    std::printf("%-22s %9s %10s %10s %22s %12s\n", "movie", "bytes", "sound s", "prepare ms",
                "SetMovie us med/max", "1st sound ms");
    double worstSet = 0, worstFirst = 0;
    std::vector<double> allSets;
    for (const auto& path : movies) {
        constexpr int kRuns = 5;
        double prepare = 1e9;
        std::shared_ptr<const wd::swfplay::PreparedMovie> movie;
        for (int i = 0; i < kRuns; ++i) {
            const auto t0 = Clock::now();
            movie = wd::swfplay::PrepareFile(path);
            prepare = std::min(prepare, Ms(Clock::now() - t0));
        }
        double seconds = 0;
        if (movie) {
            for (const auto& [id, pcm] : movie->sounds) seconds += pcm.Frames() / pcm.rate;
            if (movie->stream) seconds += movie->stream->pcm.Frames() / movie->stream->pcm.rate;
        }

        double setUs = 0, firstMs = -1;
        std::vector<double> sets;
        for (int i = 0; i < kRuns; ++i) {
            wd::AnimationPanel panel(wd::AnimationPanel::Play::On);
            auto& mixer = wd::SoundOutput::Instance().Mixer();
            const auto t0 = Clock::now();
            panel.SetMovie(QString::fromStdString(path.string()));
            const auto t1 = Clock::now();
            setUs = std::max(setUs, Ms(t1 - t0) * 1000);
            sets.push_back(Ms(t1 - t0) * 1000);
            allSets.push_back(sets.back());
            // Pull as a device would, a millisecond at a time, until sound comes.
            double first = -1;
            while (Ms(Clock::now() - t0) < 1000) {
                const auto mix = mixer.Pull(44);
                if (std::any_of(mix.begin(), mix.end(), [](std::int16_t s) { return s != 0; })) {
                    first = Ms(Clock::now() - t0);
                    break;
                }
                std::this_thread::sleep_for(std::chrono::microseconds(200));
            }
            firstMs = std::max(firstMs, first);
            panel.WaitLoaded(5000);
        }
        worstSet = std::max(worstSet, setUs);
        worstFirst = std::max(worstFirst, firstMs);
        std::sort(sets.begin(), sets.end());
        std::printf("%-22s %9ju %10.2f %10.2f %11.1f /%9.1f %12.2f\n", path.filename().c_str(),
                    static_cast<std::uintmax_t>(fs::file_size(path)), seconds, prepare, sets[sets.size() / 2], setUs,
                    firstMs);
    }

    // Every movie playing at once, far more than any screen plays.
    std::vector<std::unique_ptr<wd::AnimationPanel>> panels;
    for (const auto& path : movies) {
        panels.push_back(std::make_unique<wd::AnimationPanel>(wd::AnimationPanel::Play::On));
        panels.back()->SetMovie(QString::fromStdString(path.string()));
        panels.back()->WaitLoaded(5000);
    }
    auto& mixer = wd::SoundOutput::Instance().Mixer();
    std::vector<std::int16_t> buf(2 * 1024);
    constexpr double kAudioSeconds = 20;
    const double c0 = ThreadCpuSeconds();
    for (std::size_t done = 0; done < kAudioSeconds * 44100; done += 1024) mixer.Pull(buf.data(), 1024);
    const double cpu = ThreadCpuSeconds() - c0;
    std::sort(allSets.begin(), allSets.end());
    std::printf("\nSetMovie median %.1f us; ", allSets[allSets.size() / 2]);
    std::printf("worst SetMovie %.1f us (target < 5000), worst first sound %.2f ms (target < 20)\n", worstSet,
                worstFirst);
    std::printf("mixing %zu movies at once: %.3f s CPU for %.0f s of sound = %.3f %% of one core (target < 2)\n",
                movies.size(), cpu, kAudioSeconds, 100 * cpu / kAudioSeconds);
    panels.clear();
    HostileLoads(WD_HOSTILE_DIR);
    return 0;
}
