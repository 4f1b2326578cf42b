#!/usr/bin/env bash
# bench-play.sh: builds the game and measures what a play-screen frame costs under a virtual X
# server, and how much of a core a running game takes: in an 800 x 600 window (on a 1024 x 768
# screen), then in a window twice as large (on a 2560 x 1440 screen).
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh --test
cmake -S . -B build -DTAVIREL_BENCH=ON >/dev/null
cmake --build build -j"$(nproc)" --target bench_play tavirel >/dev/null
for screen in 1024x768 2560x1440; do
    echo "== a screen of $screen"
    OWN_X_SCREEN=$screen SDL_AUDIODRIVER=dummy tests/own-x-server.sh build/bench_play
done
