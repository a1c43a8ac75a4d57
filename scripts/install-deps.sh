#!/usr/bin/env bash
# Installs every Debian package the program, its tests and its tools need.
# Safe to run twice: packages already present are left alone.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools
  qt6-speech-dev qt6-declarative-dev
  qt6-speech-speechd-plugin qt6-speech-flite-plugin
  # the program's own voices (flite), played through the audio server's simple playback
  flite1-dev libpulse-dev
  qt6-translations-l10n
  # the study log (SQLite through Qt SQL)
  libqt6sql6-sqlite
  # the dictionaries meanings are proposed from; the program works without them
  dict-freedict-eng-jpn edict
  # zlib, to read their dictzip files
  zlib1g-dev
  # an audio server the voice tests kill and restart
  pulseaudio
  libgl-dev
  fonts-ipafont-gothic
  xvfb xauth
  # closing the real window from the keyboard in a test
  xdotool
  libbenchmark-dev
  clang libclang-rt-14-dev
  clang-format
  # the tests that kill a command at a chosen system call or limit its file size
  strace util-linux
  # the icons, and the checks of the desktop files, the manuals and the package
  librsvg2-bin
  desktop-file-utils appstream shared-mime-info man-db groff-base
  dpkg-dev lintian
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
