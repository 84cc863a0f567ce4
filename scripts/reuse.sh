#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
# SPDX-License-Identifier: GPL-3.0-or-later

# Runs reuse on the source files alone, copied into a clean folder: in a git
# tree the files git tracks, in an unpacked source release (no git) every file
# but the build folders (build*/), which reuse would not know to leave out
# there since it reads .gitignore only through git.
#   bash scripts/reuse.sh lint      # fails when a file lacks its licence or copyright
#   bash scripts/reuse.sh spdx      # the licence and copyright of every file
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd -P)
copy=$(mktemp -d)
trap 'rm -rf "$copy"' EXIT
cd "$root"
# Only a tree whose top is this folder counts: a release unpacked inside some
# other git work tree is still a release.
if [ "$(git rev-parse --show-toplevel 2>/dev/null)" = "$root" ]; then
  git ls-files -z | while IFS= read -r -d '' f; do
    if [ -e "$f" ] || [ -L "$f" ]; then printf '%s\0' "$f"; fi # deleted, not yet committed
  done
else
  find . -path './build*' -prune -o \( -type f -o -type l \) -printf '%P\0'
fi | tar --null --files-from=- -cf - | tar -xf - -C "$copy"
# The copy has no git of its own, which reuse would say on every run.
reuse --root "$copy" "$@" 2> >(grep -v 'could not find supported VCS' >&2)
