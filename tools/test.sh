#!/usr/bin/env bash
# Sets up the machine, builds everything with warnings as errors and runs
# every test (window tests inside Xvfb). Extra arguments go to ctest.
# CUBEWRIGHT_SANITIZE=1 builds and tests with AddressSanitizer and
# UndefinedBehaviorSanitizer in build-sanitize/.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/setup.sh

build=build
options=(-DCUBEWRIGHT_WERROR=ON)
if [ "${CUBEWRIGHT_SANITIZE:-0}" = 1 ]; then
  build=build-sanitize
  options+=(-DCUBEWRIGHT_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug)
fi
cmake -S . -B "$build" "${options[@]}"
cmake --build "$build" -j"$(nproc)"
ctest --test-dir "$build" --output-on-failure -j"$(nproc)" "$@"
