#!/usr/bin/env bash
# The main job: encodes the built-in sample picture. Installs and builds what it needs first.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/install-deps.sh"
bash "$root/scripts/build.sh" native
mkdir -p "$root/out"
"$root/build/native/tools/rasqet-encode" --progress --sample "$root/out/sample.bmp"
echo "Wrote $root/out/sample.bmp"
