#!/usr/bin/env bash
# make-deb.sh: builds the Debian package of the game into build-deb/ and prints its path.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh --package

# Built with Debian's own flags and every hardening it knows (stack protector, FORTIFY, full
# RELRO with BIND_NOW, PIE), as a Debian package is built.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cxxflags="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
ldflags=$(dpkg-buildflags --get LDFLAGS)
cmake -S . -B build-deb -DCMAKE_BUILD_TYPE=None -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$ldflags" \
    -DCMAKE_INSTALL_PREFIX=/usr -DTAVIREL_PACKAGE=ON -DTAVIREL_TESTS=OFF -DTAVIREL_BENCH=OFF >/dev/null
cmake --build build-deb -j"$(nproc)"
# Stripped as Debian strips: the compiler's notes go as well.
strip --remove-section=.comment --remove-section=.note --strip-unneeded build-deb/tavirel
(cd build-deb && cpack -G DEB >/dev/null)
ls "$PWD"/build-deb/tavirel_*.deb
