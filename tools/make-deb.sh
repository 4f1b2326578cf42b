#!/usr/bin/env bash
# make-deb.sh: builds the Debian package of the game into build-deb/ and prints its path.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh --package

cmake -S . -B build-deb -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr -DTAVIREL_PACKAGE=ON \
    -DTAVIREL_TESTS=OFF -DTAVIREL_BENCH=OFF >/dev/null
cmake --build build-deb -j"$(nproc)"
(cd build-deb && cpack -G DEB >/dev/null)
ls "$PWD"/build-deb/tavirel_*.deb
