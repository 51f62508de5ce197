#!/usr/bin/env bash
# Sets up the machine, builds the engine and runs the demo game in game/.
# With a display the game opens in a window. Without one it runs inside a
# virtual display for a few seconds (CUBEWRIGHT_DEMO_SECONDS, default 6) and
# saves what it showed to screenshot.png in the repository root.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

bash tools/setup.sh
cmake -S . -B build >/dev/null
cmake --build build -j"$(nproc)" --target cubewright

cd game
if [ -n "${DISPLAY:-}" ]; then
  exec "$root/build/cubewright" "$@"
fi

seconds=${CUBEWRIGHT_DEMO_SECONDS:-6}
echo "No display: running the demo in a virtual one for $seconds seconds."
export CUBEWRIGHT_NO_DIALOG=1
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  "$0" "${@:3}" &
  game=$!
  sleep "$1"
  import -window root "$2"
  if kill -0 $game 2>/dev/null; then
    kill $game; wait $game || true
  else
    wait $game; status=$?
    echo "The game ended by itself with status $status."
    exit $status
  fi' "$root/build/cubewright" "$seconds" "$root/screenshot.png" "$@"
echo "Screenshot saved to $root/screenshot.png"
