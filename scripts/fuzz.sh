#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
# SPDX-License-Identifier: GPL-3.0-or-later

# Builds the movie player's fuzz target with clang (libFuzzer, ASan, UBSan),
# writes the seed corpus (small movies of every kind, and the hostile movies)
# and runs it. Extra arguments go to libFuzzer, e.g.
#   bash scripts/fuzz.sh -runs=1000000
#   bash scripts/fuzz.sh -max_total_time=600
# Inputs reach 4 MB, enough for compressed bombs; no single allocation may pass
# 96 MB, which is more than the player's whole budget for one movie.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake --preset fuzz >/dev/null
cmake --build build-fuzz --target swf_fuzz swf_fuzz_corpus
corpus=build-fuzz/fuzz/corpus
seeds=build-fuzz/fuzz/seeds
# The game's own movies, when the build has made them, are seeds too.
if compgen -G "build/swf/*.swf" >/dev/null; then cp build/swf/*.swf "$seeds/"; fi
mkdir -p "$corpus"
export ASAN_OPTIONS=${ASAN_OPTIONS:-quarantine_size_mb=64}
exec build-fuzz/fuzz/swf_fuzz -max_len=4194304 -rss_limit_mb=2048 -malloc_limit_mb=96 -timeout=20 \
  -print_final_stats=1 "$@" "$corpus" "$seeds"
