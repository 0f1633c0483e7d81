#!/usr/bin/env bash
# Runs every test: the native tests, the same tests under ASan + UBSan, the check that a
# 32-bit build writes the same bytes, and the Windows cross-build. Installs what it needs first.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/install-deps.sh"

bash "$root/scripts/build.sh" native
(cd "$root/build/native" && ctest --output-on-failure -j "$(nproc)")

bash "$root/scripts/build.sh" asan
(cd "$root/build/asan" && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --output-on-failure -j "$(nproc)")

bash "$root/scripts/check-build-bytes.sh"

bash "$root/scripts/build.sh" win32
echo "Windows cross-build: OK"
