#!/usr/bin/env bash
# Builds every libFuzzer target (each tests/fuzz/fuzz_*.cpp is one) with clang and runs each for a
# bounded time, starting from its seeds: the files in tests/fuzz/seeds/<target>/ and the demo files
# of the format it reads. A finding (crash, leak, timeout) stops the run with status 1 and leaves
# the input that caused it in the fuzz folder.
# Usage: tools/run_fuzz.sh [seconds per target, default 15] [target ...]
# MM_FUZZ_BUILD names the build folder (default build-fuzz); a folder configured already (CI's
# sanitizer build) is used as it is.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
seconds="${1:-15}"
shift || true
build="${MM_FUZZ_BUILD:-build-fuzz}"
case "$build" in /*) ;; *) build="$root/$build" ;; esac

if [ "$(id -u)" = 0 ] && command -v apt-get >/dev/null && ! command -v clang++ >/dev/null; then
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends clang libclang-rt-14-dev >/dev/null
fi
if [ ! -f "$build/CMakeCache.txt" ]; then
  CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DMM_FUZZ=ON -DMM_TESTS=OFF \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi

if [ $# -gt 0 ]; then
  targets="$*"
else
  targets=$(cd tests/fuzz && ls fuzz_*.cpp | sed 's/\.cpp$//')
fi
# shellcheck disable=SC2086
cmake --build "$build" --target $targets

# Demo files worth starting from, by target (small ones only: libFuzzer grows its inputs from them).
demo_seeds() {
  case "$1" in
    fuzz_ogg) ls demo/data/snd/*.ogg ;;
    fuzz_wav) ls demo/data/snd/*.wav ;;
    fuzz_ini) ls demo/*.ini demo/data/*.ini demo/data/menu/*.ini ;;
    fuzz_image) ls demo/data/anims/*.png demo/data/menu/demo/*.png ;;
    fuzz_anim_catalogue) ls demo/data/animations.xml ;;
    fuzz_pfx) ls demo/data/fx/*.pfx ;;
    fuzz_font) ls demo/data/fonts/*.fh ;;
  esac 2>/dev/null | while read -r f; do [ "$(stat -c %s "$f")" -le 65536 ] && echo "$f"; done
  return 0
}

# Readers are fed through files each target writes; a file system in memory keeps that cheap.
work_root="$build/fuzz"
mkdir -p "$work_root"
# One target: prepares its folder and seeds, fuzzes, and prints its summary (or its finding, with
# status 1) in one piece, so runs side by side do not mix their lines.
fuzz_one() {
  local t=$1 work="$work_root/$1" rc
  mkdir -p "$work/corpus" "$work/seeds"
  rm -f "$work"/crash-* "$work"/leak-* "$work"/timeout-* "$work"/oom-*
  [ -d "tests/fuzz/seeds/$t" ] && cp -f "tests/fuzz/seeds/$t"/* "$work/seeds/" 2>/dev/null
  for f in $(demo_seeds "$t"); do cp -f "$f" "$work/seeds/"; done
  # Every reader logs its complaints to gerr.log; millions of them are of no use here.
  ln -sf /dev/null "$work/gerr.log"
  (cd "$work" && MEADOWMARK_HEADLESS=null SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy \
    "$build/tests/fuzz/$t" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=20 \
    -print_final_stats=1 corpus seeds >"$work/log.txt" 2>&1)
  rc=$?
  {
    echo "== $t (${seconds}s, $(ls "$work/seeds" | wc -l) seeds)"
    grep -E "DONE|^Done " "$work/log.txt" | tail -2
  } >"$work/summary.txt"
  if [ $rc -ne 0 ] || ls "$work"/crash-* "$work"/leak-* "$work"/timeout-* "$work"/oom-* >/dev/null 2>&1; then
    {
      echo "fuzzing found a fault in $t (status $rc); its report:"
      grep -E -A30 "^==[0-9]+==ERROR|runtime error|deadly signal|Test unit written" "$work/log.txt" | head -60
    } >>"$work/summary.txt"
    return 1
  fi
  return 0
}

# Targets run side by side, one per core (MM_FUZZ_JOBS overrides).
jobs="${MM_FUZZ_JOBS:-$(nproc)}"
status=0
set +e
running=0
for t in $targets; do
  if [ "$running" -ge "$jobs" ]; then
    wait -n || status=1
    running=$((running - 1))
  fi
  fuzz_one "$t" &
  running=$((running + 1))
done
while [ "$running" -gt 0 ]; do
  wait -n || status=1
  running=$((running - 1))
done
set -e
for t in $targets; do cat "$work_root/$t/summary.txt"; done
[ $status -ne 0 ] && echo "fuzzing found faults: see the reports above" >&2
exit $status
