#!/usr/bin/env bash
# bench-play.sh: builds the game and measures what a play-screen frame costs under a virtual X server.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh --test
cmake -S . -B build -DTAVIREL_BENCH=ON >/dev/null
cmake --build build -j"$(nproc)" --target bench_play tavirel >/dev/null
SDL_AUDIODRIVER=dummy tests/own-x-server.sh build/bench_play
