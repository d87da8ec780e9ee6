#!/usr/bin/env bash
# Runs tools/web/browser_test.js on a web build: installs Debian's Chromium and the browser driver
# (playwright-core from npm, which uses the installed browser and downloads none) the first time.
#   tools/web/browser_test.sh [build folder, default build-web] [--readme docs/shots/web.png]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(realpath -m "${1:-$root/build-web}")
shift || true
driver_version=1.65.2
if ! command -v chromium >/dev/null; then
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends chromium >/dev/null
fi
if [ ! -f "$build/node/node_modules/playwright-core/package.json" ] ||
   ! grep -q "\"version\": \"$driver_version\"" "$build/node/node_modules/playwright-core/package.json"; then
  mkdir -p "$build/node"
  npm install --silent --no-audit --no-fund --prefix "$build/node" "playwright-core@$driver_version" >/dev/null
fi
exec node "$root/tools/web/browser_test.js" "$build" "$build/shots" "$@"
