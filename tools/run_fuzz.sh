#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (address sanitizer) and runs each for a bounded time:
# picture readers, WAV, pack archives, z files, INI documents and level maps.
# Usage: tools/run_fuzz.sh [seconds per target, default 15]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-15}"
if [ "$(id -u)" = 0 ] && command -v apt-get >/dev/null && ! command -v clang++ >/dev/null; then
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends clang >/dev/null
fi
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DMM_FUZZ=ON -DMM_TESTS=OFF \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
targets=$(cd tests/fuzz && ls fuzz_*.cpp | sed 's/\.cpp$//')
# shellcheck disable=SC2086
cmake --build build-fuzz --target $targets
mkdir -p build-fuzz/corpus
for t in $targets; do
  mkdir -p "build-fuzz/corpus/$t"
  echo "== $t (${seconds}s)"
  (cd build-fuzz && "./tests/fuzz/$t" -max_total_time="$seconds" -rss_limit_mb=2048 -print_final_stats=0 \
    "corpus/$t" 2>&1 | tail -3)
  # libFuzzer leaves crash-* files behind on a finding; the pipe hides its exit code, so look.
  if ls build-fuzz/crash-* build-fuzz/leak-* build-fuzz/timeout-* >/dev/null 2>&1; then
    echo "fuzzing found a fault in $t" >&2
    exit 1
  fi
done
