#!/usr/bin/env bash
# Installs the Debian packages the game needs (as root) and configures the build in build/.
set -euo pipefail
cd "$(dirname "$0")/.."

# Another apt run (an unattended upgrade, a second terminal) may hold apt's locks for minutes:
# wait for it instead of failing. dpkg's lock is waited for by apt itself; the package lists'
# lock of "apt-get update" is not in every apt version, so a refusal for a held lock is retried.
APT_WAIT_SECONDS=${APT_WAIT_SECONDS:-600}
apt_run() {
  local waited=0 log rc
  log=$(mktemp)
  while :; do
    rc=0
    apt-get -o DPkg::Lock::Timeout="$APT_WAIT_SECONDS" "$@" 2>"$log" || rc=$?
    if [ "$rc" = 0 ]; then
      grep -v '^W: ' "$log" >&2 || true
      rm -f "$log"
      return 0
    fi
    if ! grep -qiE 'could not get lock|unable to lock|another process' "$log" || [ "$waited" -ge "$APT_WAIT_SECONDS" ]; then
      cat "$log" >&2
      rm -f "$log"
      return "$rc"
    fi
    [ "$waited" = 0 ] && echo "setup.sh: another apt run holds its lock; waiting for it (up to ${APT_WAIT_SECONDS} s)" >&2
    sleep 5
    waited=$((waited + 5))
  done
}

if [ "$(id -u)" = 0 ] && command -v apt-get >/dev/null; then
  apt_run update -qq
  DEBIAN_FRONTEND=noninteractive apt_run install -y -qq --no-install-recommends \
    build-essential cmake ninja-build pkg-config libgtest-dev \
    libsdl2-dev libvorbis-dev libogg-dev libtinyxml-dev libstb-dev libpng-dev libjpeg-dev \
    zlib1g-dev libgl1-mesa-dri libegl1-mesa-dev python3-pil >/dev/null
fi
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
