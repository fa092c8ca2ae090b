#!/usr/bin/env bash
# Makes the README's picture, docs/gallery.png, from the gallery itself: one sheet with every page,
# as the headless run draws it. Run it after changing a page or a control the gallery shows.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target parvane-gallery
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
./build/tools/parvane-gallery --out "$out" >/dev/null
cp "$out/gallery.png" docs/gallery.png
echo "docs/gallery.png written: every page of the gallery on one sheet"
