#!/usr/bin/env bash
# Installs every Debian package the build, the demo generator and the tests need.
# Idempotent: packages already present are left alone.
set -euo pipefail
PACKAGES=(
  build-essential cmake ninja-build pkg-config git
  libsdl2-dev libgl-dev libgl1-mesa-dri
  libvorbis-dev libavformat-dev libavcodec-dev libavutil-dev libswscale-dev libswresample-dev
  libpng-dev nlohmann-json3-dev libinih-dev
  libcairo2-dev libfreetype-dev fonts-dejavu-core
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  xvfb xauth
  espeak-ng vorbis-tools ffmpeg
)
missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
