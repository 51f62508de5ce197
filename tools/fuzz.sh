#!/usr/bin/env bash
# Builds the fuzz targets of the image decoders and the world file reader
# with clang (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer) in
# build-fuzz/ and runs each for FUZZ_SECONDS seconds (default 120), seeded
# with the test fixtures and fuzz/seeds/.
# Arguments choose the targets: tga, png, jpeg, world (default: all four).
# Inputs that crash are left in build-fuzz/ as crash-* files.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/setup.sh fuzz
cmake -S . -B build-fuzz -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCUBEWRIGHT_FUZZ=ON \
  -DCUBEWRIGHT_TESTS=OFF -DCUBEWRIGHT_BENCHMARKS=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(tga png jpeg world)
for target in "${targets[@]}"; do cmake --build build-fuzz -j2 --target "fuzz_$target"; done

seeds=build-fuzz/seeds
mkdir -p "$seeds/tga" "$seeds/png" "$seeds/jpeg" "$seeds/world"
cp fuzz/seeds/*.dat "$seeds/world/"
cp tests/fixtures/images/tga/*.tga "$seeds/tga/"
cp tests/fixtures/images/pngsuite/*.png tests/fixtures/images/crashers/*.png "$seeds/png/"
if [ ! -e "$seeds/jpeg/colour.jpg" ]; then
  convert -size 24x16 gradient:red-blue "$seeds/jpeg/colour.jpg"
  convert -size 16x16 gradient: -colorspace Gray "$seeds/jpeg/grey.jpg"
  convert -size 32x8 plasma:fractal -interlace JPEG "$seeds/jpeg/progressive.jpg"
fi

seconds=${FUZZ_SECONDS:-120}
status=0
for target in "${targets[@]}"; do
  corpus=build-fuzz/corpus/$target
  mkdir -p "$corpus"
  echo "== fuzz_$target for $seconds seconds"
  options=()
  [ "$target" != world ] || options=(-dict=../fuzz/world.dict)
  (cd build-fuzz && "fuzz/fuzz_$target" -max_total_time="$seconds" -max_len=65536 -rss_limit_mb=2560 \
     -print_final_stats=1 ${options[@]+"${options[@]}"} "corpus/$target" "seeds/$target") || status=1
done
exit $status
