#!/usr/bin/env bash
# Builds the web version: the libraries once (tools/web/build_libs.sh), then the whole tree with
# Emscripten into build-web/ (the game as meadowmark.html with its .js, .wasm and .data; the
# content tools; the file tests that run under node as web_test_files.js), then says how to open
# it. Debian 12, as root the first time (it installs emscripten and the sources it needs).
#
#   tools/web/build.sh [build folder, default build-web]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(realpath -m "${1:-$root/build-web}")
prefix=$(realpath -m "${MM_WEB_LIBS:-$root/build-weblibs}")
export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}  # the optimiser needs a module Debian keeps there

"$root/tools/web/build_libs.sh" "$prefix"
# Ninja, and GoogleTest's sources for the file tests that run under node.
command -v ninja >/dev/null || DEBIAN_FRONTEND=noninteractive apt-get install -y -qq ninja-build >/dev/null
[ -f /usr/src/googletest/CMakeLists.txt ] ||
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends googletest >/dev/null
emcmake cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DMM_UNITY=ON -DCMAKE_FIND_ROOT_PATH="$prefix" >/dev/null
cmake --build "$build" "${@:2}"
cat <<MSG
The web version is in $build/meadowmark.html. Serve it and open it in a browser:
    node $root/tools/web/serve.js $build     (then open http://127.0.0.1:8080/meadowmark.html)
MSG
