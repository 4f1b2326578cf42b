#!/usr/bin/env bash
# test.sh: builds the game and runs the whole test suite, once as
# built for players and once with AddressSanitizer and UndefinedBehaviorSanitizer, then builds
# the Debian package and plays the installed game. Each test brings up its own virtual X server
# (tests/own-x-server.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh --test

jobs=$(nproc)

cmake -S . -B build -DTAVIREL_BENCH=ON
cmake --build build -j"$jobs"
(cd build && ctest --output-on-failure -j"$jobs")

# Loaded pictures and sounds live until the process ends, by design: leaks are not faults here.
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DTAVIREL_BENCH=OFF -DTAVIREL_SANITIZE=address,undefined
cmake --build build-asan -j"$jobs"
(cd build-asan && ASAN_OPTIONS=detect_leaks=0 ctest --output-on-failure -j"$jobs")

# The Debian package, installed and played by a player who may not write the game's folder.
tools/test-package.sh

# The long checks, each for a bounded time: fuzzing, saves killed half-way, a read-only folder
# and a full disk, damaged media, and the soak of every screen.
tools/long-checks.sh
