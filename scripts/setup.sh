#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
# SPDX-License-Identifier: GPL-3.0-or-later

# Installs every Debian package that building, playing and testing the game needs.
# Idempotent and non-interactive; quick when everything is already present.
set -euo pipefail

packages=(
  # tool chain
  g++ cmake ninja-build pkg-config git
  clang libclang-rt-14-dev
  # libraries
  qt6-base-dev qt6-base-dev-tools qt6-translations-l10n qt6-qpa-plugins
  libsqlite3-dev libmpg123-dev zlib1g-dev liblzma-dev
  # sound: the sound server's client library; a test starts a server of its own
  # to play to, stops it and starts it again: PulseAudio, and PipeWire with
  # its session manager and PulseAudio service
  libpulse-dev pulseaudio pulseaudio-utils pipewire wireplumber pipewire-pulse
  libgtest-dev libgmock-dev libbenchmark-dev
  # fonts for Chinese text
  fonts-wqy-microhei
  # movie maker (MP3 encoder), web page launcher, helpers used by tests
  lame xdg-utils desktop-file-utils appstream
  # the Debian package (scripts/package.sh) and its checks, the licence and
  # copyright of every file, the manual pages, the source release (scripts/dist.sh)
  dpkg-dev file lintian reuse man-db groff-base xz-utils
  # an X server of the tests' own for the desktop and install tests, a session
  # bus, key events through XTest, and the input methods typed through: IBus and
  # Fcitx 5 with pinyin
  xvfb xauth dbus-daemon libxtst-dev
  ibus ibus-libpinyin dconf-gsettings-backend fcitx5 fcitx5-chinese-addons fcitx5-frontend-qt6
  # a Wayland compositor of the tests' own, and Qt's Wayland plugin
  weston qt6-wayland
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "setup: installing ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
