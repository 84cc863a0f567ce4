#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
# SPDX-License-Identifier: GPL-3.0-or-later

# Writes the source release build-dist/wendingwuguan-<version>.tar.xz from the
# committed tree (HEAD): no build folders, nothing untracked, no uncommitted
# change. The same commit gives the same bytes: git archive stamps every file
# with the commit's time, and xz runs single-threaded.
set -euo pipefail
cd "$(dirname "$0")/.."
version=$(sed -n 's/^project(WenDingWuGuan VERSION \([0-9.]*\) .*/\1/p' CMakeLists.txt)
[ -n "$version" ] || { echo "dist: no version in CMakeLists.txt" >&2; exit 1; }
name=wendingwuguan-$version
if [ -n "$(git status --porcelain --untracked-files=no)" ]; then
  echo "dist: uncommitted changes are left out; the release is HEAD $(git rev-parse --short HEAD)" >&2
fi
mkdir -p build-dist
git archive --format=tar --prefix="$name/" HEAD | xz -9 -T1 >"build-dist/$name.tar.xz.new"
mv "build-dist/$name.tar.xz.new" "build-dist/$name.tar.xz"
echo "build-dist/$name.tar.xz"
