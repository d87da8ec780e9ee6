#!/bin/sh
# Remakes the README's screenshots (docs/shots/*.png): builds the game, copies the demo folder, and
# plays it headless on real OpenGL with a user folder of its own, so no player's profile is touched.
# Usage: tools/readme_shots.sh [build folder, default build]
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build}
case "$build" in /*) ;; *) build="$root/$build" ;; esac
cmake --build "$build" --target readme_shots
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$root/demo" "$work/demo"
mkdir -p "$work/user" "$root/docs/shots"
(cd "$work/demo" && XDG_DATA_HOME="$work/user" MEADOWMARK_HEADLESS=gl SDL_AUDIODRIVER=dummy \
  "$build/readme_shots" "$root/docs/shots")
