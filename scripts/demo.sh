#!/usr/bin/env bash
# The main command: build and run the gallery headless; its pictures land in out/.
# Pass --window to see the controls in real windows instead, --video FILE for real footage.
set -euo pipefail
cd "$(dirname "$0")/.."
# --video and --audio files are decoded by the ffmpeg program, which setup installs with --bench.
if [[ " $* " == *" --video "* || " $* " == *" --audio "* ]]; then bash scripts/setup.sh --bench; else bash scripts/setup.sh; fi
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target parvane-gallery
if [[ " $* " == *" --window "* ]]; then
  exec ./build/tools/parvane-gallery "$@"
fi
./build/tools/parvane-gallery --out out "$@"
echo "gallery written to out/"
