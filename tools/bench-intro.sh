#!/usr/bin/env bash
# bench-intro.sh: builds the game and measures what its title screen costs under a virtual X
# server: CPU time per intro frame, and the share of a core used idling on the main menu.
# Usage: tools/bench-intro.sh [seconds] [another built tavirel to measure idling beside it]
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh --test
cmake -S . -B build -DTAVIREL_BENCH=ON >/dev/null
cmake --build build -j"$(nproc)" --target bench_intro tavirel >/dev/null
SDL_AUDIODRIVER=dummy tests/own-x-server.sh build/bench_intro "$@"
