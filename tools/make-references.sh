#!/usr/bin/env bash
# make-references.sh: draws every screen of the picture test anew into tests/pictures/, for when
# a screen is meant to look different. Look at each picture before committing it.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh --test
cmake -S . -B build >/dev/null
cmake --build build -j"$(nproc)" --target tavirel_tests
TAVIREL_WRITE_REFERENCES=1 SDL_AUDIODRIVER=dummy \
    tests/own-x-server.sh build/tavirel_tests --gtest_filter='Pictures.*'
git status --short tests/pictures
