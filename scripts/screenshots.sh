#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
# SPDX-License-Identifier: GPL-3.0-or-later

# Draws every screen in its characteristic states into docs/screenshots/, as
# the README shows them. Builds the screenshot tool and the question file it
# reads first. BUILD_DIR picks the build folder (default build/).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
out=docs/screenshots

[ -f "$build/build.ninja" ] || cmake --preset default -B "$build"
cmake --build "$build" --target screenshot question_file

export QT_QPA_PLATFORM=offscreen
mkdir -p "$out"
errors=$(mktemp)
trap 'rm -f "$errors"' EXIT
# Qt's and the sound output's remarks about the headless platform go to the
# side; they are shown only when a shot fails.
"$build/bin/screenshot" --list | while read -r screen state; do
  if ! "$build/bin/screenshot" "$screen" "$state" "$out/$screen-$state.png" 2>"$errors"; then
    cat "$errors" >&2
    exit 1
  fi
  echo "$out/$screen-$state.png"
done
