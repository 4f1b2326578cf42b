#!/usr/bin/env bash
# test.sh: builds the game and runs the whole test suite, once as
# built for players (with either SDL 1.2 library) and once with AddressSanitizer and
# UndefinedBehaviorSanitizer, then builds the Debian package, checks it with lintian and plays the
# installed game, and last runs the long checks. Each test brings up its own virtual X server
# (tests/own-x-server.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh --test

jobs=$(nproc)

cmake -S . -B build -DTAVIREL_BENCH=ON
cmake --build build -j"$jobs"
(cd build && ctest --output-on-failure -j"$jobs")

# The same built tests once more against the other SDL 1.2 library (the classic one, or SDL 2's
# stand-in sdl12-compat that Debian 13 and later ship), fetched and unpacked beside the build:
# the two packages conflict, so the machine keeps its own.
other=$(tools/other-sdl.sh build/other-sdl)
libraries=$(LD_LIBRARY_PATH=$other ldd build/tavirel)
if ! grep -q "$other/libSDL-1.2.so.0" <<<"$libraries"; then
    echo "test.sh: the game does not load the other SDL 1.2 library from $other" >&2
    exit 1
fi
echo "== the tests again with $(basename "$(realpath "$other/libSDL-1.2.so.0")") from $other"
(cd build && LD_LIBRARY_PATH=$other ctest --output-on-failure -j"$jobs")

# Loaded pictures and sounds live until the process ends, by design: leaks are not faults here.
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DTAVIREL_BENCH=OFF -DTAVIREL_SANITIZE=address,undefined
cmake --build build-asan -j"$jobs"
(cd build-asan && ASAN_OPTIONS=detect_leaks=0 ctest --output-on-failure -j"$jobs")

# The Debian package, installed and played by a player who may not write the game's folder.
tools/test-package.sh

# The long checks, each for a bounded time: fuzzing, saves killed half-way, a read-only folder
# and a full disk, damaged media, and the soak of every screen.
tools/long-checks.sh
