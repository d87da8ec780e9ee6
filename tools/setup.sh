#!/usr/bin/env bash
# Installs the Debian packages the game needs (as root) and configures the build in build/.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "$(id -u)" = 0 ] && command -v apt-get >/dev/null; then
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
    build-essential cmake ninja-build pkg-config libgtest-dev \
    libsdl2-dev libvorbis-dev libogg-dev libtinyxml-dev libstb-dev libpng-dev libjpeg-dev \
    zlib1g-dev libgl1-mesa-dri libegl1-mesa-dev >/dev/null
fi
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
