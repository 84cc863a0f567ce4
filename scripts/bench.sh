#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
# SPDX-License-Identifier: GPL-3.0-or-later

# Builds the benchmarks (Release, in build-bench/) and runs every one of them,
# then prints one table of the figures against their targets.
#
#   bash scripts/bench.sh           # the clock over the game's 240 seconds
#   bash scripts/bench.sh --quick   # 30 clock ticks, 5 start-up runs each
#
# Run it on an otherwise idle machine: the clock and start-up figures are
# wall-clock times.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build-bench}
ticks=240
runs=11
if [ "${1:-}" = "--quick" ]; then ticks=30; runs=5; fi

cmake --preset bench -B "$build" >/dev/null
cmake --build "$build" --target bench_question_bank bench_swf_player bench_clock \
  startup_probe minimal_qt bench_startup question_file movies >/dev/null

export QT_QPA_PLATFORM=offscreen
log=$(mktemp -d)
trap 'rm -rf "$log"' EXIT
b=$build/bench

echo "question bank draws ..." >&2
"$b/bench_question_bank" --benchmark_format=csv >"$log/bank.csv" 2>/dev/null
echo "movie set-up ..." >&2
"$b/bench_swf_player" >"$log/swf.txt"
echo "start-up, $runs runs of each program ..." >&2
"$b/bench_startup" --runs "$runs" "$b/game/startup_probe" "$b/minimal_qt" >"$log/startup.txt"
echo "clock, $ticks ticks ..." >&2
"$b/bench_clock" "$ticks" >"$log/clock.txt"

# name,iterations,real_time,cpu_time,time_unit,...: the median rows.
median() { awk -F, -v n="$1" 'index($1, n) && $1 ~ /_median"?$/ { printf "%.1f %s", $3, $5 }' "$log/bank.csv"; }
field() { sed -n "s/.*$2 \([-+0-9.]*\).*/\1/p" "$log/$1" | head -n1; }

next=$(median DrawNextQuestion)
easy=$(median DrawEasyQuestion)
# The game's own movies come first; the hostile ones follow under a header of their own.
prepare=$(awk '/^hostile movie/ { exit } /\.swf / { if ($4 > m) m = $4 } END { printf "%.2f", m }' "$log/swf.txt")
hostile_ms=$(field swf.txt "slowest load")
hostile_mib=$(field swf.txt "highest peak")
set_med=$(field swf.txt "SetMovie median")
set_max=$(field swf.txt "worst SetMovie")
first=$(field swf.txt "worst first sound")
mixing=$(sed -n 's/.*= \([0-9.]*\) % of one core.*/\1/p' "$log/swf.txt")
read -r _ _ g_shown _ m_shown _ r_shown < <(grep '^shown_ms' "$log/startup.txt")
read -r _ _ g_cpu _ m_cpu _ r_cpu < <(grep '^cpu_ms' "$log/startup.txt")
read -r _ _ g_peak _ m_peak _ r_peak < <(grep '^peak_mib' "$log/startup.txt")
drift=$(field clock.txt "total drift")
late=$(field clock.txt "latest tick")

# verdict VALUE LIMIT: "yes" when |VALUE| <= LIMIT.
verdict() { awk -v v="$1" -v l="$2" 'BEGIN { if (v < 0) v = -v; print (v <= l ? "yes" : "NO") }'; }

row() { printf '| %-44s | %-28s | %-12s | %-4s |\n' "$@"; }
echo
echo "$(date -u +%Y-%m-%d), $(nproc) cores, $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n1)"
echo
row "Measure" "Figure" "Target" "Met"
row "---" "---" "---" "---"
row "Question draw, 149 of 159 played (median)" "$next" "" ""
row "Easy draw, 28 of 33 played (median)" "$easy" "" ""
row "Movie read and decode, slowest movie" "$prepare ms" "" ""
row "SetMovie return, median / worst" "$set_med / $set_max us" "< 5000 us" "$(verdict "$set_max" 5000)"
row "SetMovie to first sound, worst" "$first ms" "< 20 ms" "$(verdict "$first" 20)"
row "Mixing every movie at once" "$mixing % of one core" "< 2 %" "$(verdict "$mixing" 2)"
row "Hostile movie load, slowest" "$hostile_ms ms" "< 1000 ms" "$(verdict "$hostile_ms" 1000)"
row "Hostile movie load, highest process peak" "$hostile_mib MiB" "" ""
row "Start-up to start screen shown (median)" "$g_shown ms ($m_shown ms minimal)" "<= 1.3x" "$(verdict "$r_shown" 1.3)"
row "  ratio to the minimal Qt program" "${r_shown}x" "" ""
row "CPU time until shown, all threads (median)" "$g_cpu ms ($m_cpu ms minimal)" "" ""
row "  ratio to the minimal Qt program" "${r_cpu}x" "" ""
row "Peak memory (max RSS, median)" "$g_peak MiB ($m_peak MiB minimal)" "<= 1.3x" "$(verdict "$r_peak" 1.3)"
row "  ratio to the minimal Qt program" "${r_peak}x" "" ""
row "Clock, total drift after $ticks ticks" "$drift ms" "within 50 ms" "$(verdict "$drift" 50)"
row "Clock, latest tick" "$late ms" "<= 20 ms" "$(verdict "$late" 20)"
