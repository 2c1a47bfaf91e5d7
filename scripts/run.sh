#!/usr/bin/env bash
# Builds the program and starts its window. Without a display, it starts under Xvfb.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=Release -DVARN_BUILD_TESTS=OFF -DVARN_BUILD_BENCH=OFF
cmake --build "$root/build" --target ostrel-varn -j"$(nproc)"
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
  echo "No display: running under xvfb-run on a virtual screen of its own, which nothing else can" \
    "reach. To see and use the window, start a virtual screen yourself and set DISPLAY (README," \
    "\"Without a display\")."
  exec xvfb-run -a -s "-screen 0 1600x1000x24" "$root/build/qt/ostrel-varn"
fi
exec "$root/build/qt/ostrel-varn"
