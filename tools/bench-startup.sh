#!/usr/bin/env bash
# bench-startup.sh: builds the game and compares its start-up with a bare SDL + OpenGL window under
# a virtual X server: time from process start to the first swapped frame, and peak memory.
# Targets: the game's first frame within 1.3 x the bare window's, its peak memory at most 25 MB above.
# The bare window drawing one textured quad shows what the OpenGL driver alone adds for that.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh --test
cmake -S . -B build -DTAVIREL_BENCH=ON >/dev/null
cmake --build build -j"$(nproc)" --target bench_startup bench_bare tavirel >/dev/null

# A normal start-up: the game alone in a folder with its media, no settings file yet.
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
cp build/tavirel "$folder/"
cp -r media "$folder/"

SDL_AUDIODRIVER=dummy tests/own-x-server.sh \
    build/bench_startup -r "${1:-7}" bare="$PWD/build/bench_bare" -- \
    bare-textured="$PWD/build/bench_bare" 0 textured -- game="$folder/tavirel"
