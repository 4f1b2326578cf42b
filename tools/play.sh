#!/usr/bin/env bash
# play.sh: builds the game (installing what the build needs) and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh
cmake -S . -B build -DTAVIREL_TESTS=OFF -DTAVIREL_BENCH=OFF
cmake --build build -j"$(nproc)"
exec build/tavirel
