#!/usr/bin/env bash
# test.sh: builds the game and runs the whole test suite, once as
# built for players (with either SDL 1.2 library) and once with AddressSanitizer and
# UndefinedBehaviorSanitizer, runs the static analyser on the game's code, then builds the Debian
# package, checks it with lintian and plays the installed game, then the Windows build under Wine
# (tools/test-windows.sh), and last runs the long checks. Each test brings up its own virtual X
# server (tests/own-x-server.sh). The builds of the tests treat a compiler warning as an error.
#
#   tools/test.sh [--quick]
#
# --quick: the everyday lane, a few minutes: the one build for players and the suite alone, with
# this machine's SDL library.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh --test

quick=
case "${1:-}" in
    --quick) quick=1 ;;
    "") ;;
    *) echo "test.sh: unknown argument $1 (only --quick)" >&2; exit 2 ;;
esac

jobs=$(nproc)

cmake -S . -B build -DTAVIREL_BENCH=ON -DTAVIREL_WERROR=ON -DCMAKE_EXPORT_COMPILE_COMMANDS=ON
cmake --build build -j"$jobs"
(cd build && ctest --output-on-failure -j"$jobs")
if [ -n "$quick" ]; then
    echo "test.sh --quick: the suite passed (the whole run: tools/test.sh)"
    exit 0
fi

# The static analyser on the game's own code, with the checks .clang-tidy names; a finding fails.
echo "== clang-tidy on the game's code"
run-clang-tidy -p build -j "$jobs" -quiet "$PWD/(app|audio|base|game|gfx|input|menu|text)/" >build/clang-tidy.log 2>&1 || {
    grep -E 'warning:|error:' build/clang-tidy.log >&2 || tail -n 40 build/clang-tidy.log >&2
    echo "test.sh: clang-tidy found faults (all of its output: build/clang-tidy.log)" >&2
    exit 1
}

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
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DTAVIREL_BENCH=OFF -DTAVIREL_SANITIZE=address,undefined -DTAVIREL_WERROR=ON
cmake --build build-asan -j"$jobs"
(cd build-asan && ASAN_OPTIONS=detect_leaks=0 ctest --output-on-failure -j"$jobs")

# The Debian package, installed and played by a player who may not write the game's folder.
tools/test-package.sh

# The Windows build, cross-built here, its tests and a player's sessions under Wine.
tools/test-windows.sh

# The long checks, each for a bounded time: fuzzing, saves killed half-way, a read-only folder
# and a full disk, damaged media, and the soak of every screen.
tools/long-checks.sh
