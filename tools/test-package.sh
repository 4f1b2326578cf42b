#!/usr/bin/env bash
# test-package.sh: builds the Debian package, checks it with lintian (no errors, no warnings) and
# its desktop entry and AppStream data, unpacks it into a scratch root and plays the installed game
# as a player who may not write to the game's folder, started by its bare name through PATH from
# another folder, twice: a setting and a high score made in the first run are still there in the
# second. Last, root starts it: nothing is written into the game's folder either.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -z "${PACKAGE_TEST_IN_X:-}" ]; then
    tools/deps.sh --test
    deb=$(tools/make-deb.sh | tail -n 1)
    # Debian's own checks: no error and no warning; the remarks below them are shown.
    lintian --info --pedantic --fail-on error,warning "$deb" 2>&1 |
        grep -v '^running with root privileges' || true
    lintian --fail-on error,warning "$deb" >/dev/null 2>&1 || { echo "test-package.sh: lintian failed" >&2; exit 1; }
    root=$(mktemp -d)
    trap 'rm -rf "$root"' EXIT
    dpkg-deb -x "$deb" "$root"
    desktop-file-validate "$root/usr/share/applications/tavirel.desktop"
    appstreamcli validate --no-net "$root/usr/share/metainfo/org.tavirel.Tavirel.metainfo.xml" >/dev/null
    for size in 48 128; do
        file "$root/usr/share/icons/hicolor/${size}x$size/apps/tavirel.png" | grep -q "$size x $size"
    done
    [ "$(readlink "$root/usr/games/tavirel")" = ../lib/games/tavirel/tavirel ]
    PACKAGE_TEST_IN_X=1 SDL_AUDIODRIVER=dummy exec tests/own-x-server.sh "$0" "$root"
fi

root=$1
player=nobody
home=$(mktemp -d)
chown "$player" "$home"
chmod 755 "$home" "$root"
# Ten rows beside the game, the last one low enough for any finished game to enter the table.
printf '%s\n' 'mira 4 412 3150' 'tomas 3 305 2240' 'ines 3 288 1980' 'olek 3 240 1415' \
    'juno 2 190 960' 'pia 2 151 705' 'ravi 2 133 520' 'sol 1 90 260' 'ute 1 62 120' 'wen 1 35 -1' \
    >"$root/usr/lib/games/tavirel/dex.dll"
kept=$home/.local/share/tavirel

fail() { echo "test-package.sh: $*" >&2; exit 1; }

# Starts the installed game by its bare name as the player, or as the user given.
start() {
    local as=${1:-$player} in=${2:-$home}
    (cd / && exec setpriv --reuid="$as" --regid="$(id -g "$as")" --clear-groups \
        env HOME="$in" PATH="$root/usr/games:$PATH" DISPLAY="$DISPLAY" SDL_AUDIODRIVER=dummy tavirel) &
    pid=$!
    window=""
    for _ in $(seq 1 100); do
        window=$(xdotool search --name '^Tavirel$' 2>/dev/null | head -n 1) && [ -n "$window" ] && break
        sleep 0.1
    done
    [ -n "$window" ] || fail "the installed game opened no window"
    sleep 1
}

click() { xdotool mousemove --window "$window" "$1" "$2" sleep 0.2 click 1 sleep 0.3; }

stop() {
    kill -TERM "$pid"
    wait "$pid" || fail "the game ended with status $?"
}

# First run: music off in the options, then a game stacked in one column to the top, and a name.
start
[ -f "$kept/log.txt" ] || fail "no log in the player's folder"
grep -q '^Video initialize OK$' "$kept/log.txt" || fail "the log does not tell of the window"
grep -qx "Settings, scores and this log are kept in $kept/" "$kept/log.txt" || fail "the log does not say where the files are kept"
[ "$(stat -c %a "$kept")" = 700 ] || fail "the player's folder $kept is not private"
click 400 148   # options
click 340 188   # the music switch's value
click 400 388   # back
[ "$(tr -s '\n' ' ' <"$kept/opt.dat")" = "0 1 0 " ] || fail "opt.dat holds $(cat "$kept/opt.dat")"
click 400 88    # new game
xdotool windowfocus --sync "$window"
for _ in $(seq 1 40); do
    xdotool keydown space sleep 0.3 keyup space sleep 0.1
    if ! grep -q '^wen 1 35 -1$' "$kept/dex.dll"; then break; fi
    # Name entry takes keys on release: a name and Return whenever the game may be over.
    xdotool key --delay 40 BackSpace BackSpace BackSpace BackSpace a n a Return
done
grep -q '^wen 1 35 -1$' "$kept/dex.dll" && fail "the finished game never entered the table"
rows=$(wc -l <"$kept/dex.dll")
[ "$rows" = 10 ] || fail "dex.dll has $rows rows"
saved=$(cat "$kept/dex.dll")
stop

# Second run: the same setting and table are read and kept; the game's own folder is unchanged.
start
stop
[ "$(cat "$kept/dex.dll")" = "$saved" ] || fail "the table changed across a restart"
[ "$(tr -s '\n' ' ' <"$kept/opt.dat")" = "0 1 0 " ] || fail "the setting changed across a restart"
[ ! -e "$root/usr/lib/games/tavirel/opt.dat" ] || fail "the game wrote into its own folder"
[ ! -e "$root/usr/lib/games/tavirel/log.txt" ] || fail "the game logged into its own folder"

# Started by root, who may write the game's folder, the game still keeps nothing there.
roothome=$(mktemp -d)
start root "$roothome"
stop
[ -f "$roothome/.local/share/tavirel/log.txt" ] || fail "root's start left no log in root's folder"
leftovers=$(find "$root/usr/lib/games/tavirel" -maxdepth 1 -newer "$roothome" ! -type d)
[ -z "$leftovers" ] || fail "started by root, the game wrote into its own folder: $leftovers"
[ ! -e "$root/usr/lib/games/tavirel/opt.dat" ] || fail "started by root, the game saved into its own folder"
echo "installed package: started through PATH as $player and as root; its setting and high score were kept, its own folder untouched"
