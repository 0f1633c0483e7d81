#!/usr/bin/env bash
# Installs the Debian packages the build and tests need, skipping those already present.
# Runs as root on a fresh Debian 12 machine.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  libjpeg62-turbo-dev libjpeg-turbo-progs libpng-dev zlib1g-dev
  python3 python3-pil
  g++-mingw-w64-i686 mingw-w64 g++-multilib
)
# Extra packages named by later parts of the build.
if [[ -f "$(dirname "$0")/extra-packages.txt" ]]; then
  while read -r name; do [[ -n "$name" && "$name" != \#* ]] && packages+=("$name"); done \
    < "$(dirname "$0")/extra-packages.txt"
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
