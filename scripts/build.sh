#!/usr/bin/env bash
# build.sh KIND: configures and builds one of the three builds into build/KIND.
#   native   Linux x86-64, optimised, with tests and benchmarks
#   asan     Linux x86-64 tests under AddressSanitizer + UndefinedBehaviorSanitizer
#   win32    32-bit Windows cross-build with mingw-w64
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
kind=${1:?usage: build.sh native|asan|win32}
dir="$root/build/$kind"
case "$kind" in
  native) args=(-DCMAKE_BUILD_TYPE=Release) ;;
  asan)   args=(-DCMAKE_BUILD_TYPE=Debug -DRASQET_SANITIZE=ON -DRASQET_BENCH=OFF) ;;
  win32)  args=(-DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake") ;;
  *) echo "unknown build kind: $kind" >&2; exit 2 ;;
esac
cmake -S "$root" -B "$dir" -G Ninja "${args[@]}" >/dev/null
cmake --build "$dir" -j "$(nproc)"
