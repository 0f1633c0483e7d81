#!/usr/bin/env bash
# The main job: the stand-in CAD host loads the module with its built-in sample drawing and
# runs a short session, and the image library encodes the built-in sample picture as BMP,
# baseline JPEG and progressive JPEG into out/. Installs and builds what it needs first.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/install-deps.sh"
bash "$root/scripts/build.sh" native
mkdir -p "$root/out"

echo "== rasqet-host session (built-in sample drawing)"
"$root/build/native/standin/rasqet-host" --registry "$root/out/registry.reg" <<'SESSION'
JPEGOPT
ok
quit
SESSION

echo "== rasqet-encode (built-in sample picture)"
encode="$root/build/native/tools/rasqet-encode"
"$encode" --sample "$root/out/sample.bmp"
"$encode" --sample "$root/out/sample.jpg"
"$encode" --progressive --sample "$root/out/sample-progressive.jpg"
ls -l "$root/out"/sample*
