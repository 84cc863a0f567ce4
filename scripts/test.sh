#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
# SPDX-License-Identifier: GPL-3.0-or-later

# Installs what is missing, checks every file's licence and copyright, builds
# the game and runs every test headless: once in the ordinary build, once more
# under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
# Every file says its licence and copyright (REUSE).
bash scripts/reuse.sh lint

export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

cmake --preset default
cmake --build build
# The Debian package, which the install tests check too.
bash scripts/package.sh
ctest --test-dir build --output-on-failure -j "$jobs"

export ASAN_OPTIONS=abort_on_error=1:detect_leaks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# A suppression that is used shows in the test's output (build-asan/Testing/Temporary/LastTest.log).
export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp
cmake --preset asan
cmake --build build-asan
ctest --test-dir build-asan --output-on-failure -j "$jobs"

# The movie player's fuzz target (clang, libFuzzer) over its corpus: the seeds,
# the hostile movies and the game's own. A short regression run, not a search.
bash scripts/fuzz.sh -max_total_time=20
