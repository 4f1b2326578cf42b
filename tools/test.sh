#!/usr/bin/env bash
# test.sh: builds the game and runs the whole test suite: first the rules' tests, which need no X
# server, then the rest, as built for players (with either SDL 1.2 library), with AddressSanitizer
# and UndefinedBehaviorSanitizer, and the start-up tests with ThreadSanitizer; runs the static
# analyser on the game's code, then builds the Debian package, checks it with lintian and plays
# the installed game, then the Windows build under Wine (tools/test-windows.sh) and the browser's
# in headless Chromium (tools/test-web.sh), and last runs the long checks. Each test brings up its
# own virtual X server (tests/own-x-server.sh). The builds of the tests treat a compiler warning as
# an error. Says how long it took.
#
#   tools/test.sh [--quick]
#
# --quick: the everyday lane, a few minutes: the one build for players, the rules' tests, then the
# rest of the suite, with this machine's SDL library.
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
started=$SECONDS
took() {
    local seconds=$((SECONDS - started))
    echo "$((seconds / 60)) min $((seconds % 60)) s"
}

cmake -S . -B build -DTAVIREL_BENCH=ON -DTAVIREL_WERROR=ON -DCMAKE_EXPORT_COMPILE_COMMANDS=ON
cmake --build build -j"$jobs"
echo "== the rules' tests (no X server)"
(cd build && ctest --output-on-failure -j"$jobs" -L rules)
echo "== the rest of the suite"
(cd build && ctest --output-on-failure -j"$jobs" -LE rules)
if [ -n "$quick" ]; then
    echo "test.sh --quick: the suite passed in $(took) (the whole run: tools/test.sh)"
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

# Start-up decodes the pictures and loads the sounds on two workers (startDecodingPictures,
# startLoadingSounds): the game and the start-up tests alone, built with ThreadSanitizer in a
# folder of their own (the other programs are not built), run with each report in a file of its own;
# any report fails the run. Mesa's llvmpipe draws on threads of its own that ThreadSanitizer cannot
# see synchronise (its fences are uninstrumented), and reports races inside the driver now and then:
# LP_NUM_THREADS=0 has it draw on the game's own thread, so each report is about the game.
cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVIREL_BENCH=OFF -DTAVIREL_SANITIZE=thread \
    -DTAVIREL_WERROR=ON "-DTAVIREL_TEST_FILES=startload_test.cpp;startup_test.cpp"
cmake --build build-tsan -j"$jobs" --target tavirel tavirel_tests
reports=$PWD/build-tsan/reports
rm -rf "$reports"
mkdir -p "$reports"
tsan_failed=0
(cd build-tsan && LP_NUM_THREADS=0 TSAN_OPTIONS="log_path=$reports/tsan" \
    ctest --output-on-failure -j"$jobs" -E _NOT_BUILT) || tsan_failed=1
if [ -n "$(ls -A "$reports")" ] || [ "$tsan_failed" = 1 ]; then
    cat "$reports"/* >&2 2>/dev/null || true
    echo "test.sh: the start-up tests failed under ThreadSanitizer; its reports, if any, are above (each in $reports)" >&2
    exit 1
fi

# The Debian package, installed and played by a player who may not write the game's folder.
tools/test-package.sh

# The Windows build, cross-built here, its tests and a player's sessions under Wine.
tools/test-windows.sh

# The browser's build, played in headless Chromium.
tools/test-web.sh

# The long checks, each for a bounded time: fuzzing, saves killed half-way, a read-only folder
# and a full disk, damaged media, and the soak of every screen.
tools/long-checks.sh

echo "test.sh: everything passed in $(took)"
