#!/usr/bin/env bash
# Builds the libraries the web version links (SDL2, zlib, libpng, libjpeg-turbo, libogg,
# libvorbis, TinyXML and stb_image) as static WebAssembly libraries, once, into a prefix
# folder (default build-weblibs/ in the source tree). Emscripten's own "ports" download their
# sources at build time, which cannot work offline: these come from Debian's source packages of
# the release the desktop build uses, so both builds run the same library code.
#
#   tools/web/build_libs.sh [prefix]      (as root on Debian 12; a few minutes on 2 cores)
#
# A prefix whose stamp names the same package versions is kept as it is; a build that stopped half
# way goes on from the library it stopped at.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
prefix=$(realpath -m "${1:-$root/build-weblibs}")
release=bookworm
packages=(libsdl2 zlib libpng1.6 libjpeg-turbo libogg libvorbis tinyxml)
jobs=$(nproc)
export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}

log() { printf 'build_libs: %s\n' "$*" >&2; }

if ! command -v emcc >/dev/null || ! command -v dpkg-source >/dev/null; then
  [ "$(id -u)" = 0 ] || { log "needs emscripten and dpkg-dev: run as root or install them"; exit 1; }
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
    emscripten dpkg-dev cmake make pkg-config libstb-dev >/dev/null
fi
[ -d /usr/include/stb ] || DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends libstb-dev >/dev/null

# The sources of the release itself, with its point releases: the security archive serves no
# sources here.
src_list=/etc/apt/sources.list.d/meadowmark-web-src.sources
if ! apt-cache showsrc libsdl2 2>/dev/null | grep -q '^Package:'; then
  [ "$(id -u)" = 0 ] || { log "needs deb-src lines for $release: run as root once"; exit 1; }
  cat >"$src_list" <<SRC
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: $release
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
  apt-get update -qq -o Dir::Etc::sourcelist="$src_list" -o Dir::Etc::sourceparts=- \
    -o APT::Get::List-Cleanup=0
fi

versions="recipe=2 "  # raise it when the way the libraries are built changes
for p in "${packages[@]}"; do
  v=$(apt-cache showsrc "$p" | awk '/^Version:/ { print $2 }' | sort -V | tail -1)
  [ -n "$v" ] || { log "no source package $p in $release"; exit 1; }
  versions+="$p=$v "
done
stamp="$prefix/.built"
if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$versions" ]; then
  log "libraries in $prefix are up to date"
  exit 0
fi

work="$prefix/work"
if [ "$(cat "$prefix/.versions" 2>/dev/null)" != "$versions" ]; then
  rm -rf "$prefix"
  mkdir -p "$work" "$prefix/include" "$prefix/lib/pkgconfig"
  echo "$versions" >"$prefix/.versions"
fi
cd "$work"
for p in "${packages[@]}"; do
  [ -f "$p.fetched" ] && continue
  log "fetching $p"
  apt-get source -qq --only-source "$p/$release" >/dev/null 2>"$p.fetch.log" \
    || { cat "$p.fetch.log" >&2; exit 1; }
  touch "$p.fetched"
done
# Each library once: a finished one leaves its mark.
done_mark() { [ -f "$work/$1.done" ]; }
srcdir() { find "$work" -maxdepth 1 -mindepth 1 -type d -name "$1-*" | head -1; }

cmake_lib() {  # name source-folder cmake-options...
  local name=$1 src=$2
  shift 2
  done_mark "$name" && return 0
  log "building $name"
  emcmake cmake -S "$src" -B "$work/build-$name" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_FIND_ROOT_PATH="$prefix" -DCMAKE_PREFIX_PATH="$prefix" \
    -DBUILD_SHARED_LIBS=OFF "$@" >"$work/$name.log" 2>&1 \
    && cmake --build "$work/build-$name" -j "$jobs" >>"$work/$name.log" 2>&1 \
    && cmake --install "$work/build-$name" >>"$work/$name.log" 2>&1 \
    || { tail -40 "$work/$name.log" >&2; log "$name failed (log: $work/$name.log)"; exit 1; }
  touch "$work/$name.done"
}

# zlib: its own configure script, which takes the compiler from CC.
if ! done_mark zlib; then
  log "building zlib"
  (cd "$(srcdir zlib)" && emconfigure ./configure --static --prefix="$prefix" \
    && emmake make -j "$jobs" libz.a && emmake make install) >"$work/zlib.log" 2>&1 \
    || { tail -40 "$work/zlib.log" >&2; exit 1; }
  touch "$work/zlib.done"
fi

# Compiles C files (each argument a file, or a folder for all of its own) relative to a source
# folder, as many at a time as there are cores, into one archive: for libraries whose configure
# step would take longer than their build, as checks run through the web compiler are slow.
compile_lib() {  # name source-folder "compiler flags" file-or-folder...
  local name=$1 src=$2 flags=$3
  shift 3
  mkdir -p "$work/build-$name"
  (cd "$src" && for f in "$@"; do if [ -d "$f" ]; then ls "$f"/*.c; else echo "$f"; fi; done) \
    >"$work/$name.files"
  (cd "$src" && xargs -P "$jobs" -I{} sh -c \
    'o="$0/$(echo "{}" | tr / _).o"; emcc -O2 -w '"$flags"' -c "{}" -o "$o" || { echo "failed: {}"; exit 255; }' \
    "$work/build-$name" <"$work/$name.files") >"$work/$name.log" 2>&1 \
    && emar rcs "$prefix/lib/lib$name.a" "$work/build-$name"/*.o >>"$work/$name.log" 2>&1 \
    || { tail -40 "$work/$name.log" >&2; log "$name failed (log: $work/$name.log)"; exit 1; }
}

# SDL2: the browser's canvas, input and Web Audio, with the configuration SDL itself keeps for
# Emscripten (include/SDL_config_emscripten.h, chosen by its SDL_config.h), so there is no
# configure step (its few hundred checks took minutes). Threads stay off
# (they would need shared memory, which a plain static server cannot grant the page). Every file of
# the folders is compiled; a file of a feature that configuration leaves out compiles to nothing.
if ! done_mark sdl2; then
  log "building sdl2"
  sdl=$(srcdir libsdl2)
  compile_lib SDL2 "$sdl" "-Iinclude -Isrc/video/khronos" \
    src src/atomic src/audio src/audio/emscripten src/audio/disk src/audio/dummy src/cpuinfo \
    src/dynapi src/events src/file src/filesystem/emscripten src/haptic src/haptic/dummy \
    src/joystick src/joystick/emscripten src/libm src/loadso/dlopen src/locale \
    src/locale/emscripten src/misc src/misc/emscripten src/power src/power/emscripten src/render \
    src/render/opengles2 src/render/software src/sensor src/sensor/dummy src/stdlib src/thread \
    src/thread/generic src/timer src/timer/unix src/video src/video/emscripten src/video/dummy \
    src/video/yuv2rgb
  mkdir -p "$prefix/include/SDL2"
  cp "$sdl"/include/*.h "$prefix/include/SDL2/"
  touch "$work/sdl2.done"
fi

cmake_lib png "$(srcdir libpng1.6)" -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF \
  -DPNG_EXECUTABLES=OFF -DPNG_HARDWARE_OPTIMIZATIONS=OFF -DZLIB_ROOT="$prefix" \
  -DZLIB_INCLUDE_DIR="$prefix/include" -DZLIB_LIBRARY="$prefix/lib/libz.a"

# libjpeg-turbo: its type size checks read the sizes out of a compiled program, which does not
# work with WebAssembly output, so the sizes of wasm32 are given.
cmake_lib jpeg "$(srcdir libjpeg-turbo)" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_SIMD=OFF \
  -DWITH_TURBOJPEG=OFF -DWITH_JAVA=OFF -DHAVE_SIZE_T=TRUE -DSIZE_T=4 \
  -DHAVE_UNSIGNED_LONG=TRUE -DUNSIGNED_LONG=4

# Ogg and Vorbis: the decoder's sources, as their build lists them, with the one header their
# configure step writes (the sizes of the integer types) made from its template.
if ! done_mark ogg; then
  log "building ogg"
  ogg=$(srcdir libogg)
  mkdir -p "$prefix/include/ogg"
  sed -e 's/@INCLUDE_[A-Z_]*_H@/1/' -e 's/@SIZE\([0-9]*\)@/int\1_t/' -e 's/@USIZE\([0-9]*\)@/uint\1_t/' \
    "$ogg/include/ogg/config_types.h.in" >"$prefix/include/ogg/config_types.h"
  cp "$ogg"/include/ogg/ogg.h "$ogg"/include/ogg/os_types.h "$prefix/include/ogg/"
  compile_lib ogg "$ogg" "-I$prefix/include" src/bitwise.c src/framing.c
  touch "$work/ogg.done"
fi
if ! done_mark vorbis; then
  log "building vorbis"
  vorbis=$(srcdir libvorbis)
  mkdir -p "$prefix/include/vorbis"
  cp "$vorbis"/include/vorbis/codec.h "$vorbis"/include/vorbis/vorbisfile.h "$prefix/include/vorbis/"
  compile_lib vorbis "$vorbis" "-Iinclude -Ilib -I$prefix/include" \
    $(for f in mdct smallft block envelope window lsp lpc analysis synthesis psy info floor1 floor0 \
      res0 mapping0 registry codebook sharedbook lookup bitrate; do echo "lib/$f.c"; done)
  compile_lib vorbisfile "$vorbis" "-Iinclude -I$prefix/include" lib/vorbisfile.c
  touch "$work/vorbis.done"
fi

# TinyXML: four sources, built as the Debian package builds them (its header turns on the
# std::string interface).
if ! done_mark tinyxml; then
  log "building tinyxml"
  (cd "$(srcdir tinyxml)" \
    && for f in tinyxml tinystr tinyxmlerror tinyxmlparser; do em++ -O2 -c "$f.cpp" -o "$work/$f.o" || exit 1; done \
    && emar rcs "$prefix/lib/libtinyxml.a" "$work"/tiny*.o \
    && cp tinyxml.h tinystr.h "$prefix/include/") >"$work/tinyxml.log" 2>&1 \
    || { tail -40 "$work/tinyxml.log" >&2; exit 1; }
  touch "$work/tinyxml.done"
fi

# stb: Debian's copy of the header the game includes, and its code built as Debian's libstb is.
if ! done_mark stb; then
  log "building stb"
  mkdir -p "$prefix/include/stb"
  cp /usr/include/stb/stb_image.h "$prefix/include/stb/"
  printf '#define STB_IMAGE_IMPLEMENTATION\n#include "stb_image.h"\n' >"$work/stb_image.c"
  (emcc -O2 -I"$prefix/include/stb" -c "$work/stb_image.c" -o "$work/stb_image.o" \
    && emar rcs "$prefix/lib/libstb.a" "$work/stb_image.o") >"$work/stb.log" 2>&1 \
    || { tail -40 "$work/stb.log" >&2; exit 1; }
  touch "$work/stb.done"
fi

echo "$versions" >"$stamp"
rm -rf "$work"/build-*
log "done: $(du -sh "$prefix/lib" | cut -f1) of libraries in $prefix/lib ($versions)"
