#!/usr/bin/env bash
# Builds the libraries the web version links (SDL2, zlib, libpng, libjpeg-turbo, libogg,
# libvorbis, TinyXML and stb_image) as static WebAssembly libraries, once, into a prefix
# folder (default build-weblibs/ in the source tree). Emscripten's own "ports" download their
# sources at build time, which cannot work offline: these come from Debian's source packages of
# the release the desktop build uses, so both builds run the same library code.
#
#   tools/web/build_libs.sh [prefix]      (as root on Debian 12; 5 to 10 minutes on 2 cores)
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

versions=""
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

# SDL2: the browser's canvas, input and Web Audio; threads stay off (they would need shared
# memory, which a plain static server cannot grant the page).
cmake_lib sdl2 "$(srcdir libsdl2)" -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF -DSDL_TESTS=OFF \
  -DSDL_PTHREADS=OFF -DSDL_THREADS=OFF

cmake_lib png "$(srcdir libpng1.6)" -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF \
  -DPNG_EXECUTABLES=OFF -DPNG_HARDWARE_OPTIMIZATIONS=OFF -DZLIB_ROOT="$prefix" \
  -DZLIB_INCLUDE_DIR="$prefix/include" -DZLIB_LIBRARY="$prefix/lib/libz.a"

# libjpeg-turbo: its type size checks read the sizes out of a compiled program, which does not
# work with WebAssembly output, so the sizes of wasm32 are given.
cmake_lib jpeg "$(srcdir libjpeg-turbo)" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_SIMD=OFF \
  -DWITH_TURBOJPEG=OFF -DWITH_JAVA=OFF -DHAVE_SIZE_T=TRUE -DSIZE_T=4 \
  -DHAVE_UNSIGNED_LONG=TRUE -DUNSIGNED_LONG=4

autotools_lib() {  # name source-folder configure-options...
  local name=$1 src=$2
  shift 2
  done_mark "$name" && return 0
  log "building $name"
  (cd "$src" && emconfigure ./configure --host=wasm32 --prefix="$prefix" --disable-shared \
    --enable-static "$@" && emmake make -j "$jobs" && emmake make install) >"$work/$name.log" 2>&1 \
    || { tail -40 "$work/$name.log" >&2; log "$name failed (log: $work/$name.log)"; exit 1; }
  touch "$work/$name.done"
}
autotools_lib ogg "$(srcdir libogg)"
autotools_lib vorbis "$(srcdir libvorbis)" --with-ogg="$prefix" --disable-oggtest --disable-docs \
  --disable-examples

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
