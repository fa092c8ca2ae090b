#!/usr/bin/env bash
# The main command: build and run the gallery headless; its pictures land in out/.
# Pass --window to see the controls in real windows instead.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target parvane-gallery
if [[ " $* " == *" --window "* ]]; then
  exec ./build/tools/parvane-gallery "$@"
fi
./build/tools/parvane-gallery --out out "$@"
echo "gallery written to out/"
