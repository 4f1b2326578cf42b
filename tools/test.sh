#!/usr/bin/env bash
# test.sh: builds the game and runs the whole test suite under a virtual X server, once as
# built for players and once with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh --test

jobs=$(nproc)
xvfb=(xvfb-run -a -s "-screen 0 1024x768x24 -noreset")
export SDL_AUDIODRIVER=dummy

cmake -S . -B build -DTAVIREL_BENCH=ON
cmake --build build -j"$jobs"
(cd build && "${xvfb[@]}" ctest --output-on-failure -j"$jobs")

# Loaded pictures and sounds live until the process ends, by design: leaks are not faults here.
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DTAVIREL_BENCH=OFF -DTAVIREL_SANITIZE=address,undefined
cmake --build build-asan -j"$jobs"
(cd build-asan && ASAN_OPTIONS=detect_leaks=0 "${xvfb[@]}" ctest --output-on-failure -j"$jobs")
