#!/usr/bin/env bash
# bench-loop.sh: builds the game and measures its main loop's pacing under a virtual X server.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh --test
cmake -S . -B build -DTAVIREL_BENCH=ON >/dev/null
cmake --build build -j"$(nproc)" --target bench_loop tavirel >/dev/null
SDL_AUDIODRIVER=dummy tests/own-x-server.sh build/bench_loop "${1:-12}"
