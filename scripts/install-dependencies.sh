#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when missing.
set -euo pipefail
packages=(cmake g++ make pkg-config ninja-build qt6-base-dev libjpeg62-turbo-dev
  libavformat-dev libavcodec-dev libswresample-dev libavfilter-dev libsdl2-dev libcdio-dev ffmpeg
  libgtest-dev libgmock-dev libbenchmark-dev fonts-liberation2 fonts-dejavu-core
  xvfb xauth clang libclang-rt-14-dev lld
  ffmpeg eyed3 id3v2 mpg123 sox libsox-fmt-mp3 python3
  librsvg2-bin desktop-file-utils appstream dpkg-dev file
  qt6-translations-l10n xdotool
  dbus)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi
