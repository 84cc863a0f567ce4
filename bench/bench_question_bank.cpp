// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// The two marked draws at their slowest ordinary point: with all but the last
// few rows played, most random ids miss and are drawn again.
// Run on the sample file: bench_question_bank [path to wending.bin]
#include <benchmark/benchmark.h>

#include <filesystem>
#include <stdexcept>
#include <string>

#include <QTemporaryDir>

#include "game/Module1.h"
#include "game/QuestionBank.h"
#include "platform/Random.h"

namespace {

std::filesystem::path g_sample;

// A private copy of the sample file with `played` rows of `table` marked.
struct Setup {
    Setup(const char* table, int played)
    {
        std::filesystem::copy_file(g_sample, copy);
        bank.OpenQuestionBank();
        if (!bank.Usable()) throw std::runtime_error(bank.ProblemText().toStdString());
        Mark(table, played);
    }
    void Mark(const char* table, int played)
    {
        bank.DbConnection().Execute(std::string("update ") + table + " set played=0");
        bank.DbConnection().Execute(std::string("update ") + table + " set played=1 where id<=" + std::to_string(played));
    }
    QTemporaryDir dir;
    std::filesystem::path copy{dir.filePath(QStringLiteral("wending.bin")).toStdString()};
    wd::Module1 session;
    wd::ClockSeededRandom random;
    wd::QuestionBank bank{session, random, copy};
};

void BM_DrawNextQuestion_149of159Played(benchmark::State& state)
{
    Setup s("question", 149);
    for (auto _ : state) {
        auto q = s.bank.DrawNextQuestion();
        if (!q) state.SkipWithError("draw failed");
        benchmark::DoNotOptimize(q);
        state.PauseTiming();
        s.Mark("question", 149); // back to 149 marked, not the reset that 150 would bring
        state.ResumeTiming();
    }
}
BENCHMARK(BM_DrawNextQuestion_149of159Played)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_DrawEasyQuestion_28of33Played(benchmark::State& state)
{
    Setup s("easy", 28);
    for (auto _ : state) {
        auto q = s.bank.DrawEasyQuestion();
        if (!q) state.SkipWithError("draw failed");
        benchmark::DoNotOptimize(q);
        state.PauseTiming();
        s.Mark("easy", 28);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_DrawEasyQuestion_28of33Played)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv)
{
    g_sample = argc > 1 && argv[1][0] != '-' ? std::filesystem::path(argv[1])
                                             : std::filesystem::path(argv[0]).parent_path().parent_path() / "wending.bin";
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
