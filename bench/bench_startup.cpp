// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// Start-up against a minimal Qt Widgets program: each is started in turn
// (alternately, so that both see the same state of the machine's caches),
// with its own start timestamp, and reports when its first window has been
// painted; its peak memory comes from the kernel when it ends. Prints the
// median of each and the ratios. The CPU time until shown is the steadier
// figure on a busy machine, where the wall time waits for the other loads.
//
//   bench_startup [--runs N] [--settle MS] GAME_PROBE MINIMAL_PROBE
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

extern char** environ;

namespace {

long long MonotonicNs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<long long>(ts.tv_sec) * 1000000000LL + ts.tv_nsec;
}

struct Run {
    double shownMs = -1;
    double cpuMs = -1; // CPU time of all its threads until then
    double peakMiB = -1;
};

// Starts the program, reads its report and waits for its end.
Run Once(const char* program, int settleMs)
{
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e)
        if (std::strncmp(*e, "WD_START_NS=", 12) && std::strncmp(*e, "WD_SETTLE_MS=", 13) &&
            std::strncmp(*e, "QT_QPA_PLATFORM=", 16))
            env.emplace_back(*e);
    env.push_back("QT_QPA_PLATFORM=offscreen");
    env.push_back("WD_SETTLE_MS=" + std::to_string(settleMs));
    int out[2];
    if (pipe(out) != 0) return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addclose(&actions, out[1]);

    // The timestamp is the last thing taken before the spawn.
    env.push_back("WD_START_NS=" + std::to_string(MonotonicNs()));
    std::vector<char*> envp;
    for (auto& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    char* argv[] = {const_cast<char*>(program), nullptr};
    pid_t pid = 0;
    const int err = posix_spawn(&pid, program, &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (err != 0) {
        close(out[0]);
        std::fprintf(stderr, "bench_startup: cannot start %s: %s\n", program, std::strerror(err));
        return {};
    }
    std::string text;
    char buf[256];
    for (ssize_t n; (n = read(out[0], buf, sizeof buf)) > 0;) text.append(buf, static_cast<std::size_t>(n));
    close(out[0]);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);

    Run run;
    const auto at = text.find("shown_ns ");
    if (at != std::string::npos && WIFEXITED(status) && WEXITSTATUS(status) == 0) {
        run.shownMs = std::atoll(text.c_str() + at + 9) / 1e6;
        const auto cpu = text.find("cpu_ns ");
        if (cpu != std::string::npos) run.cpuMs = std::atoll(text.c_str() + cpu + 7) / 1e6;
        run.peakMiB = usage.ru_maxrss / 1024.0; // kilobytes on Linux
    } else {
        std::fprintf(stderr, "bench_startup: %s gave no report (status %d)\n", program, status);
    }
    return run;
}

double Median(std::vector<double> v)
{
    if (v.empty()) return -1;
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

} // namespace

int main(int argc, char** argv)
{
    int runs = 11;
    int settleMs = 1000;
    std::vector<const char*> programs;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--runs") && i + 1 < argc)
            runs = std::max(1, std::atoi(argv[++i]));
        else if (!std::strcmp(argv[i], "--settle") && i + 1 < argc)
            settleMs = std::max(0, std::atoi(argv[++i]));
        else
            programs.push_back(argv[i]);
    }
    if (programs.size() != 2) {
        std::fprintf(stderr, "usage: bench_startup [--runs N] [--settle MS] GAME_PROBE MINIMAL_PROBE\n");
        return 2;
    }
    // One run of each first, unmeasured, so that neither pays for a cold disk cache.
    Once(programs[0], 0);
    Once(programs[1], 0);
    std::vector<double> shown[2], cpu[2], peak[2];
    for (int r = 0; r < runs; ++r)
        for (int p = 0; p < 2; ++p) {
            const Run run = Once(programs[p], settleMs);
            if (run.shownMs < 0) return 1;
            shown[p].push_back(run.shownMs);
            cpu[p].push_back(run.cpuMs);
            peak[p].push_back(run.peakMiB);
        }
    const double gameShown = Median(shown[0]), minShown = Median(shown[1]);
    const double gameCpu = Median(cpu[0]), minCpu = Median(cpu[1]);
    const double gamePeak = Median(peak[0]), minPeak = Median(peak[1]);
    std::printf("startup: %d runs each, settle %d ms\n", runs, settleMs);
    std::printf("shown_ms game %.1f minimal %.1f ratio %.2f\n", gameShown, minShown, gameShown / minShown);
    std::printf("cpu_ms game %.1f minimal %.1f ratio %.2f\n", gameCpu, minCpu, gameCpu / minCpu);
    std::printf("peak_mib game %.1f minimal %.1f ratio %.2f\n", gamePeak, minPeak, gamePeak / minPeak);
    return 0;
}
