#!/usr/bin/env bash
# windows.sh: cross-builds the game for 64-bit Windows into build-windows/ (the libraries first,
# from Debian's sources, kept between runs), then its zip and its installer, and prints their
# two paths, one a line. With --no-packages, builds the game and its tests only. TAVIREL_WERROR=ON
# in the environment treats a compiler warning as an error (as tools/test-windows.sh builds).
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh --windows >&2
export TAVIREL_WINDOWS_LIBS
TAVIREL_WINDOWS_LIBS=$(tools/windows-libs.sh build-windows/libs)
cmake -S . -B build-windows/game -DCMAKE_TOOLCHAIN_FILE="$PWD/tools/windows-toolchain.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DTAVIREL_BENCH=OFF -DTAVIREL_WERROR="${TAVIREL_WERROR:-OFF}" >&2
cmake --build build-windows/game -j2 >&2
[ "${1:-}" = "--no-packages" ] && exit 0
(cd build-windows/game && cpack -B "$PWD/../packages" >&2)
version=$(sed -n 's/^project(Tavirel VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
for package in "build-windows/packages/tavirel-$version-windows-x64.zip" "build-windows/packages/tavirel-$version-setup.exe"; do
    [ -f "$package" ] || { echo "windows.sh: $package was not made" >&2; exit 1; }
    cp "$package" build-windows/
    echo "$PWD/build-windows/$(basename "$package")"
done
