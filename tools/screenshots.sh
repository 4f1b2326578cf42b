#!/usr/bin/env bash
# screenshots.sh: plays the built game under a virtual X server by real pointer and key input
# and takes the README's pictures: docs/menu.png, docs/pause.png, docs/name-entry.png,
# docs/high-score.png, docs/controls.png, and
# a burst of pictures of the game in progress, from which docs/play.png is picked by eye (the
# blocks' colours are random, so a burst shows marked cells and explosions in some of them):
#   convert PICKED.png -strip -resize 640x480 +dither -colors 128 docs/play.png
# Usage: tools/screenshots.sh [folder for the burst]
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -z "${SCREENSHOTS_IN_X:-}" ]; then
    tools/deps.sh --shots
    cmake -S . -B build >/dev/null
    cmake --build build -j"$(nproc)" --target tavirel >/dev/null
    mkdir -p docs
    SCREENSHOTS_IN_X=1 SDL_AUDIODRIVER=dummy exec tests/own-x-server.sh "$0" "${1:-$(mktemp -d)}"
fi
burst=$1
mkdir -p "$burst"
docs=$(pwd)/docs
game=$(mktemp -d)
cp -r build/media build/tavirel "$game/"
# A table of earlier players, low enough at the bottom for this game to enter it.
printf '%s\n' 'mira 4 412 3150' 'tomas 3 305 2240' 'ines 3 288 1980' 'olek 3 240 1415' \
    'juno 2 190 960' 'pia 2 151 705' 'ravi 2 133 520' 'sol 1 90 260' 'ute 1 62 120' 'wen 1 35 30' >"$game/dex.dll"
cd /
"$game/tavirel" &
pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT
sleep 3
window=$(xdotool search --sync --name '^Tavirel$' | head -1)
shoot() { import -window "$window" "$1"; }
# The README's pictures at 640 x 480 in 128 colours: small, and still readable.
shrink() { convert "$1" -strip -resize 640x480 +dither -colors 128 "$1"; }

xdotool mousemove --window "$window" 430 150
sleep 0.5
shoot "$docs/menu.png"

# A new game, filled in sweeps from the left wall to the right, a block dropped every two
# columns or so (a held arrow moves the block one column every fourth frame), every other
# sweep one column further right; three pictures after each block.
xdotool mousemove --window "$window" 400 88 click 1
sleep 0.5
xdotool windowfocus --sync "$window"
for sweep in 1 2 3 4; do
    xdotool keydown Left sleep 1.4 keyup Left
    [ $((sweep % 2)) = 0 ] && xdotool keydown Right sleep 0.06 keyup Right
    for i in 1 2 3 4 5 6 7 8 9; do
        xdotool keydown space sleep 0.25 keyup space
        for shot in a b c; do
            shoot "$burst/play-$sweep$i$shot.png"
        done
        xdotool keydown Right sleep 0.12 keyup Right
    done
    if [ "$sweep" = 3 ]; then
        xdotool key p
        sleep 0.5
        shoot "$docs/pause.png"
        xdotool key p
    fi
done

# Stacked in one column until the game ends, then a name for the table. Space types a space in
# name entry, so whatever the drops typed there once the game was over is erased first.
for i in $(seq 1 16); do
    xdotool keydown space sleep 0.3 keyup space sleep 0.1
done
sleep 1
xdotool key --delay 40 $(printf 'BackSpace %.0s' $(seq 1 16))
xdotool type --delay 80 'nadia'
sleep 0.5
shoot "$docs/name-entry.png"
xdotool key Return
sleep 1
shoot "$docs/high-score.png"

# The controls page, reached by the keys alone: options, then controls; "turn back" on S, the
# keys' item left on "drop".
xdotool key Escape
sleep 0.3
xdotool key --delay 150 Down Down Return Down Down Down Return Down Down Down Return
sleep 0.3
xdotool key --delay 150 s Down
sleep 0.5
shoot "$docs/controls.png"
for picture in menu pause name-entry high-score controls; do
    shrink "$docs/$picture.png"
done
echo "burst of the game in progress: $burst"
