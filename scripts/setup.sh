#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the tools need. Idempotent: packages
# already present are skipped, so a warm machine pays only for the dpkg query.
#   scripts/setup.sh          build + tests + gallery
#   scripts/setup.sh --bench  also the peers measured by scripts/bench.sh
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config clang
  ccache                                       # the test command's four builds share compiled objects
  libclang-rt-14-dev                           # clang's sanitizer and fuzzer runtimes
  libfreetype-dev libfontconfig-dev            # text: rasteriser and face matching
  fonts-dejavu-core fonts-liberation2          # Latin faces, metric stand-ins for the classic ones
  fonts-wqy-zenhei                             # CJK coverage for per-character fallback
  libstb-dev                                   # image decode/encode
  zlib1g-dev                                   # deflate of the PNGs written
  libsdl2-dev                                  # the windowed back end
  libglib2.0-dev                               # content types for shell file information
  libkissfft-dev                               # FFT of the spectrum analyser
  libebur128-dev                               # loudness of the level measure (BS.1770 gating, range)
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth                                   # the SDL2 smoke test under a virtual display
  zenity                                       # the desktop file and folder prompts
)
if [[ "${1:-}" == "--bench" ]]; then
  packages+=(ffmpeg)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  SUDO=""
  if [[ $(id -u) -ne 0 ]]; then SUDO="sudo"; fi
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq || true
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
