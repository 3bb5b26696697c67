#!/usr/bin/env bash
# Renders the Linvara window with the demo profile into a PNG, without a display.
#   scripts/screenshot.sh OUT.png [view]
# view: start, all (default), safari, chrome, flat, folder, cookies, chromecookies.
# BUILD names the build folder (default: build); it is configured and built when needed.
set -euo pipefail

if [ $# -lt 1 ]; then
  echo "usage: $0 OUT.png [view]" >&2
  exit 2
fi
out=$1
view=${2:-all}
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD:-$root/build}
case $build in /*) ;; *) build=$root/$build ;; esac

if [ ! -x "$build/src/ui/linvara" ] || [ ! -x "$build/src/cli/linvara-cli" ]; then
  [ -f "$build/CMakeCache.txt" ] || cmake -S "$root" -B "$build" -DLINVARA_BUILD_GUI=ON >/dev/null
  cmake --build "$build" --target linvara linvara-cli -j"$(nproc)"
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/src/cli/linvara-cli" make-demo "$work/home" >/dev/null

case $out in /*) ;; *) out=$PWD/$out ;; esac
QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$work} \
  "$build/src/ui/linvara" --home "$work/home" --layout macos --screenshot "$out" --view "$view" 2>/dev/null
echo "wrote $out ($view)"
