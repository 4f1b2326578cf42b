#!/usr/bin/env bash
# long-checks.sh: the game under stress: its text readers fuzzed, saves killed half-way, a
# read-only folder and a full disk, damaged media, and a long soak of every screen by a bot.
#
#   tools/long-checks.sh [--fuzz-seconds N] [--kills N] [--media-seconds N] [--media-all]
#                        [--soak-frames N] [--window-frames N] [--seed N]
#                        [--only fuzz|saves|disk|media|soak]...
#
# Every part prints its figures; a table of them comes last. Exit status 0 when all passed.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD

fuzz_seconds=30
kills=300
soak_frames=200000
window_frames=10000
media_seconds=4
media_all=
seed=$(( $(date +%s) % 1000000 ))
only=()
while [ $# -gt 0 ]; do
    case "$1" in
        --fuzz-seconds) fuzz_seconds=$2; shift 2 ;;
        --kills) kills=$2; shift 2 ;;
        --soak-frames) soak_frames=$2; shift 2 ;;
        --window-frames) window_frames=$2; shift 2 ;;
        --seed) seed=$2; shift 2 ;;
        --media-seconds) media_seconds=$2; shift 2 ;;
        --media-all) media_all=all; shift ;;
        --only) only+=("$2"); shift 2 ;;
        *) echo "long-checks.sh: unknown argument $1" >&2; exit 2 ;;
    esac
done
wanted() {
    [ ${#only[@]} -eq 0 ] && return 0
    local part
    for part in "${only[@]}"; do [ "$part" = "$1" ] && return 0; done
    return 1
}

jobs=2
failed=()
skipped=()
declare -A figure
work=$(mktemp -d /tmp/tavirel-long-XXXXXX)
trap 'rm -rf "$work"' EXIT
echo "long-checks: seed $seed (rerun with --seed $seed)"

# ---------------------------------------------------------------------------------------------
# The four text readers under libFuzzer, each from its seed corpus in tests/fuzz/corpus.
fuzz() {
    echo "== fuzzing the settings, high-score, controls and font metrics readers, ${fuzz_seconds} s each"
    CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DTAVIREL_FUZZ=ON -DTAVIREL_WERROR=ON >/dev/null || { failed+=(fuzz); return; }
    cmake --build build-fuzz -j"$jobs" >/dev/null || { failed+=(fuzz); return; }
    local total=0 reader
    for reader in settings highscores controls font; do
        local corpus="$work/fuzz-$reader" log="$work/fuzz-$reader.log"
        mkdir -p "$corpus"
        (cd "$work" && "$root/build-fuzz/fuzz_$reader" -max_total_time="$fuzz_seconds" -timeout=5 \
            -rss_limit_mb=2048 -max_len=4096 -seed="$seed" -print_final_stats=1 \
            "$corpus" "$root/tests/fuzz/corpus/$reader") >"$log" 2>&1
        local status=$?
        local runs
        runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
        echo "   $reader: ${runs:-0} inputs, status $status"
        if [ $status -ne 0 ]; then
            tail -n 40 "$log"
            echo "   the input that failed is kept in $root/build-fuzz/failed-$reader"
            mkdir -p "$root/build-fuzz/failed-$reader"
            cp "$work"/crash-* "$work"/timeout-* "$work"/oom-* "$root/build-fuzz/failed-$reader/" 2>/dev/null
            failed+=("fuzz $reader")
        fi
        total=$((total + ${runs:-0}))
    done
    figure[fuzz]=$total
}

# The game's programs for the other checks, built with AddressSanitizer and UndefinedBehaviorSanitizer.
# Loaded pictures and sounds live until the process ends, by design: leaks are not faults here.
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
build_game() {
    [ -n "${built:-}" ] && return 0
    cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DTAVIREL_BENCH=OFF -DTAVIREL_SANITIZE=address,undefined \
        -DTAVIREL_WERROR=ON >/dev/null && cmake --build build-asan -j"$jobs" >/dev/null && built=1
}

# ---------------------------------------------------------------------------------------------
# Saves killed at random moments: by rename (as in a folder the player owns) and in place (as
# where no temporary file can be made beside the old one).
saves() {
    echo "== saves of dex.dll and opt.dat killed with SIGKILL, $kills times each way"
    build_game || { failed+=(saves); return; }
    local total=0 how
    for how in rename in-place; do
        mkdir -p "$work/saves-$how"
        if build-asan/tavirel_save_kills "$work/saves-$how" "$kills" "$seed" "$how"; then
            total=$((total + kills))
        else
            failed+=("saves $how")
        fi
    done
    figure[kills]=$total
}

# ---------------------------------------------------------------------------------------------
# A program folder mounted read-only (with no other place for the files either) and a small
# tmpfs that fills up. Mounting needs root; without it the part is skipped and says so.
disk() {
    echo "== a read-only program folder and a full disk"
    build_game || { failed+=(disk); return; }
    local ro="$work/read-only" full="$work/full-disk" tried=0
    mkdir -p "$ro" "$full"
    cp -r media "$ro/"
    printf 'before 2 30 4000\n' >"$ro/dex.dll"
    printf '0\n0\n0\n' >"$ro/opt.dat"
    # Settings, scores and the log may not go anywhere else either: $XDG_DATA_HOME and $HOME lead
    # into the read-only folder, and the home folder the system records for the user, where the
    # game goes without them, is made read-only as well, in a mount namespace of this run's own.
    local recorded
    recorded=$(getent passwd "$(id -u)" | cut -d: -f6)
    if unshare --mount --propagation private true 2>/dev/null; then
        XDG_DATA_HOME="$ro/elsewhere" HOME="$ro" SDL_AUDIODRIVER=dummy unshare --mount --propagation private \
            sh -c 'mount --bind "$1" "$1" && mount -o remount,bind,ro "$1" &&
                   mount --bind "$1" "$2" && mount -o remount,bind,ro "$2" &&
                   exec tests/own-x-server.sh build-asan/tavirel_disk_faults "$1" read-only' \
            sh "$ro" "${recorded:-/root}" || failed+=("read-only folder")
        tried=$((tried + 1))
    else
        echo "   SKIPPED: cannot mount a read-only folder here (needs root and mount)"
        skipped+=("read-only folder")
    fi
    if mount -t tmpfs -o size=256k tavirel-full "$full" 2>/dev/null; then
        ln -s "$root/media" "$full/media"
        printf 'before 2 30 4000\n' >"$full/dex.dll"
        printf '0\n0\n0\n' >"$full/opt.dat"
        SDL_AUDIODRIVER=dummy tests/own-x-server.sh build-asan/tavirel_disk_faults "$full" full-disk ||
            failed+=("full disk")
        umount "$full"
        tried=$((tried + 1))
    else
        echo "   SKIPPED: cannot mount a small tmpfs here (needs root and mount)"
        skipped+=("full disk")
    fi
    figure[disk]=$tried
    [ "$tried" -lt 2 ] && figure[disk]="$tried, $((2 - tried)) SKIPPED"
}

# ---------------------------------------------------------------------------------------------
# Each media file missing, then damaged; the real game started, played from its menu and closed.
media() {
    echo "== damaged media: each file missing, then cut short or of another format (${media_seconds} s of play each)"
    build_game || { failed+=(media); return; }
    local log="$work/media.log"
    SDL_AUDIODRIVER=dummy tests/own-x-server.sh build-asan/tavirel_media_faults "$media_seconds" $media_all |
        tee "$log" || failed+=(media)
    figure[media]=$(sed -n 's/^media_faults: \([0-9]*\) media faults tried.*/\1/p' "$log")
}

# ---------------------------------------------------------------------------------------------
# The bot on every screen: most frames under SDL's dummy video driver (no OpenGL context at all),
# the rest in a real window in a virtual X server. The sanitizers' quarantine is kept small, so
# that the memory it holds back fills early and does not pass for growth.
soak() {
    local dummy=$((soak_frames - window_frames))
    echo "== soak: $window_frames frames in a real window, $dummy under the dummy video driver"
    build_game || { failed+=(soak); return; }
    local asan="$ASAN_OPTIONS:quarantine_size_mb=4:malloc_context_size=10"
    local log="$work/soak.log" done=0
    if ASAN_OPTIONS=$asan SDL_AUDIODRIVER=dummy tests/own-x-server.sh build-asan/tavirel_soak "$window_frames" "$seed" |
        tee "$log"; then
        done=$window_frames
    else
        failed+=("soak in a window")
    fi
    if [ "$dummy" -gt 0 ]; then
        if ASAN_OPTIONS=$asan SDL_AUDIODRIVER=dummy SDL_VIDEODRIVER=dummy build-asan/tavirel_soak "$dummy" "$seed" |
            tee -a "$log"; then
            done=$((done + dummy))
        else
            failed+=("soak under the dummy driver")
        fi
    fi
    figure[soak]=$done
}

wanted fuzz && fuzz
wanted saves && saves
wanted disk && disk
wanted media && media
wanted soak && soak

# ---------------------------------------------------------------------------------------------
echo
echo "== figures (seed $seed)"
printf '| %-40s | %14s |\n' "check" "count"
printf '|%s|%s|\n' "------------------------------------------" "----------------"
row() { [ -n "${figure[$1]:-}" ] && printf '| %-40s | %14s |\n' "$2" "${figure[$1]}"; }
row fuzz "inputs fuzzed (executions)"
row kills "kills survived, nothing lost"
row disk "read-only folder and full disk (of 2)"
row media "media faults tried"
row soak "frames soaked"
if [ ${#failed[@]} -ne 0 ]; then
    echo "long-checks: FAILED: ${failed[*]}"
    exit 1
fi
if [ ${#skipped[@]} -ne 0 ]; then
    list=$(printf '%s, ' "${skipped[@]}")
    echo "long-checks: all that ran passed; SKIPPED: ${list%, }"
    exit 0
fi
echo "long-checks: all passed"
