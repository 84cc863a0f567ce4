#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
# SPDX-License-Identifier: GPL-3.0-or-later

# Installs what is missing, builds the game and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake --preset default
cmake --build --preset default
exec ./build/wendingwuguan
