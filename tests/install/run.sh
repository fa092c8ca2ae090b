#!/usr/bin/env bash
# Installs the build into a temporary prefix, moves the tree elsewhere (it must run from wherever
# it lies), then builds and runs a small host against it twice: with find_package and with
# pkg-config.   run.sh BUILD_DIR WORK_DIR SOURCE_DIR CXX
set -euo pipefail
build=$1 work=$2 src=$3 cxx=$4
rm -rf "$work"
mkdir -p "$work"
cmake --install "$build" --prefix "$work/stage" > "$work/install.log"
mv "$work/stage" "$work/prefix"
prefix=$work/prefix
unset LD_LIBRARY_PATH

fail() { echo "install test: $*" >&2; exit 1; }

# What hosts must not see: the libraries' own headers, FreeType's types.
[[ -z $(find "$prefix/include" -path '*/detail/*' -print -quit) ]] || fail "detail headers installed"
! grep -rlE 'ft2build|FT_FREETYPE_H' "$prefix/include" || fail "an installed header includes FreeType"

# Libraries find each other, tools find the libraries, relative to where they lie.
libdir=$(dirname "$(find "$prefix" -name 'libParvaneU.so' -print -quit)")
[[ -d $libdir ]] || fail "libParvaneU.so not installed"
for lib in libParvaneU.so libKestruneU.so libwinport.so; do
  readelf -d "$libdir/$lib" | grep -E 'R(UN)?PATH' | grep -qF '$ORIGIN' || fail "$lib has no \$ORIGIN run path"
done
if [[ -x $prefix/bin/parvane-gallery ]]; then
  "$prefix/bin/parvane-gallery" --help > /dev/null || fail "installed parvane-gallery does not run"
  said=$("$prefix/bin/parvane-gallery" --page dialogs --out "$work/gallery" 2>&1) || fail "installed gallery: $said"
  [[ $said != *"no resource folder"* ]] || fail "installed gallery does not find its resources: $said"
  [[ -x $prefix/bin/parvane-scope || ! -e $build/tools/parvane-scope ]] || fail "parvane-scope not installed"
fi

# find_package(ParvaneU) and the target ParvaneU.
cmake -S "$src/tests/install/host" -B "$work/host-cmake" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_CXX_COMPILER="$cxx" -DCMAKE_PREFIX_PATH="$prefix" > "$work/host-cmake.log"
cmake --build "$work/host-cmake" >> "$work/host-cmake.log"
"$work/host-cmake/parvane-host"

# pkg-config ParvaneU.
export PKG_CONFIG_PATH=$libdir/pkgconfig
"$cxx" -o "$work/host-pc" "$src/tests/install/host/main.cpp" $(pkg-config --cflags --libs ParvaneU) \
  -Wl,-rpath,"$(pkg-config --variable=libdir ParvaneU)"
"$work/host-pc"
echo "install test: passed"
