#!/usr/bin/env bash
# Output bytes must not depend on the build: encodes the same pictures with every JPEG and BMP
# setting family through the native x86-64 rasqet-encode and a 32-bit x86 (SSE2) build of it,
# and compares the files byte for byte.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
native="$root/build/native/tools/rasqet-encode"
dir="$root/build/m32"
CFLAGS=-m32 CXXFLAGS=-m32 LDFLAGS=-m32 cmake -S "$root" -B "$dir" -G Ninja \
  -DCMAKE_BUILD_TYPE=Release -DRASQET_TESTS=OFF -DRASQET_BENCH=OFF >/dev/null
cmake --build "$dir" -j "$(nproc)" --target rasqet-encode >/dev/null
narrow="$dir/tools/rasqet-encode"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
c++ -O2 -std=c++17 -o "$work/images" "$root/bench/jpeg_bench_images.cpp"
"$work/images" "$work/cad.ppm" "$work/photo.ppm" 401 403

settings=(
  "" "--progressive" "-q 1" "-q 2" "-q 33" "-q 66" "-q 100"
  "--grayscale" "--grayscale --progressive" "--restart-rows 1" "--restart-rows 3 -q 90"
  "--sampling 2x2,1x1,1x1" "--sampling 2x1,1x1,1x1 --progressive" "--sampling 4x2,1x1,1x1"
  "--progressive --scan 2:0:2 --scan 12:0:1 --scan 2:5:3 --scan 2:63:1 --scan 4:63:13 --scan 8:63:0"
  "--comment rasqet"
)
passed=0 failed=0
for input in "$work/cad.ppm" "$work/photo.ppm"; do
  for options in "${settings[@]}"; do
    # shellcheck disable=SC2086  # options are words
    "$native" $options "$input" "$work/a.jpg"
    # shellcheck disable=SC2086
    "$narrow" $options "$input" "$work/b.jpg"
    if cmp -s "$work/a.jpg" "$work/b.jpg"; then
      passed=$((passed + 1))
    else
      failed=$((failed + 1))
      echo "differs between builds: $(basename "$input") $options" >&2
    fi
  done
  for bits in 16 24 32; do
    "$native" --bmp-bits $bits "$input" "$work/a.bmp"
    "$narrow" --bmp-bits $bits "$input" "$work/b.bmp"
    if cmp -s "$work/a.bmp" "$work/b.bmp"; then passed=$((passed + 1)); else
      failed=$((failed + 1))
      echo "differs between builds: $(basename "$input") --bmp-bits $bits" >&2
    fi
  done
done
echo "build-independent bytes: $passed passed, $failed failed"
((failed == 0))
