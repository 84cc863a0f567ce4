#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
# SPDX-License-Identifier: GPL-3.0-or-later

# Builds the Debian package build-package/wendingwuguan_<version>_<arch>.deb
# from a Release build with Debian's compiler and linker flags:
#   sudo apt install ./build-package/wendingwuguan_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

# The same sources give the same package: file times from the last commit.
if [ -z "${SOURCE_DATE_EPOCH:-}" ] && git rev-parse --git-dir >/dev/null 2>&1; then
  SOURCE_DATE_EPOCH=$(git log -1 --format=%ct)
  export SOURCE_DATE_EPOCH
fi
# Debian's hardening; no debug information, which the stripped package would
# not carry anyway and whose build paths would change the binary's build id.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all DEB_CFLAGS_MAINT_STRIP=-g DEB_CXXFLAGS_MAINT_STRIP=-g
flags() { dpkg-buildflags --get "$1"; }

cmake --preset package \
  "-DCMAKE_C_FLAGS=$(flags CFLAGS) $(flags CPPFLAGS)" \
  "-DCMAKE_CXX_FLAGS=$(flags CXXFLAGS) $(flags CPPFLAGS)" \
  "-DCMAKE_EXE_LINKER_FLAGS=$(flags LDFLAGS)"
cmake --build build-package
rm -f build-package/*.deb
(cd build-package && cpack --config CPackConfig.cmake)
ls build-package/*.deb
