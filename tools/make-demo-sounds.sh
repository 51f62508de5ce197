#!/usr/bin/env bash
# Makes the demo game's sounds with sox (installed by tools/setup.sh). The
# sounds are committed in game/sound/; run this after changing it, then commit
# what it wrote. An argument names another output folder (default: game).
set -euo pipefail
cd "$(dirname "$0")/.."

out=${1:-game}/sound
command -v sox >/dev/null || { echo "missing sox: run tools/setup.sh" >&2; exit 1; }
mkdir -p "$out"
# 16-bit mono at 22050 Hz: small files that ALUT reads directly.
format=(-r 22050 -c 1 -b 16)

# A short two-tone bell for the demo's key.
sox -n "${format[@]}" "$out/bell.wav" synth 0.6 sine 880 sine 1320 remix 1-2 fade q 0.005 0.6 0.55 vol 0.7
# A soft rising chime for the title.
sox -n "${format[@]}" "$out/chime.wav" synth 0.25 sine 523.25 : synth 0.25 sine 659.25 : synth 0.4 sine 783.99 \
  fade q 0.01 0.4 0.3 vol 0.6
# The player's footstep and jump.
sox -n "${format[@]}" "$out/walk.wav" synth 0.12 brownnoise fade q 0.005 0.12 0.1 vol 0.5
sox -n "${format[@]}" "$out/jump.wav" synth 0.25 sine 300-700 fade q 0.005 0.25 0.2 vol 0.6
ls -l "$out"
