#!/usr/bin/env bash
# test-windows.sh: the Windows build under Wine, in a virtual X server: its tests (the rules, the
# platform file, a start-up from a non-ASCII folder against the reference pictures), then a
# player's sessions: the zip unpacked into "Spiele und Zoë", played from the menu into a game and
# out, quit with Escape; the same with the game's folder read-only (files in %APPDATA%\Tavirel);
# the installer run silently, the installed game played, uninstalled and installed again, the
# player's files kept throughout. Run by tools/test.sh; any failure fails it.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
fail() { echo "test-windows.sh: $*" >&2; exit 1; }
mapfile -t packages < <(TAVIREL_WERROR=ON tools/windows.sh)
[ ${#packages[@]} -eq 2 ] || fail "tools/windows.sh did not make the zip and the installer"
zip=${packages[0]}
setup=${packages[1]}

export WINEPREFIX=$root/build-windows/wine WINEDEBUG=-all SDL_AUDIODRIVER=dummy
work=$(mktemp -d /tmp/tavirel-windows-XXXXXX)
mounted=()
xserver=""
cleanup() {
    for folder in "${mounted[@]}"; do umount "$folder" 2>/dev/null || true; done
    wineserver -k 2>/dev/null || true
    [ -n "$xserver" ] && kill "$xserver" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# A virtual X server of this run's own, answering before anything starts on it.
for display in $(seq 70 99); do
    [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ] || break
done
Xvfb ":$display" -screen 0 1024x768x24 -noreset >/dev/null 2>&1 &
xserver=$!
export DISPLAY=":$display"
for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
xdpyinfo >/dev/null 2>&1 || fail "Xvfb on $DISPLAY did not answer"
[ -f "$WINEPREFIX/system.reg" ] || wineboot -i >/dev/null 2>&1
unix_appdata="$WINEPREFIX/drive_c/users/$(id -un)/AppData/Roaming/Tavirel"

echo "== the Windows tests under Wine"
wine build-windows/game/tavirel_rules_tests.exe
wine build-windows/game/tavirel_windows_tests.exe --gtest_filter=-WindowsChild.*

# The start-up's log lines as the Linux tests expect them (tests/support_log.cpp).
sed -n 's/^ *"\(.*\)\\n";\{0,1\}$/\1/p' tests/support_log.cpp > "$work/start-up.log"
[ "$(wc -l < "$work/start-up.log")" -eq 19 ] || fail "the expected start-up log is not 19 lines"

# How much of the main menu the window shows: the share of the last three items' white letters in
# tests/pictures/main-menu.png that are white in the picture $1 too (the title screen's blocks and
# background move, its letters stand), and 0 for a black picture.
menu_shown() {
    /usr/bin/python3 - "$1" tests/pictures/main-menu.png <<'PY'
import sys
import numpy
from PIL import Image
shot = numpy.asarray(Image.open(sys.argv[1]).convert("RGB").resize((800, 600)), dtype=int)[180:345]
menu = numpy.asarray(Image.open(sys.argv[2]).convert("RGB"), dtype=int)[180:345]
letters = menu.min(axis=2) > 200
print("%.3f" % ((shot.min(axis=2) > 200)[letters].mean() if shot.mean() > 10 else 0))
PY
}

# Looks at the window $1 (into the picture $2) every 0.3 s, at most $4 times, until the share of
# the main menu it shows (menu_shown, left in $shown) is as $3 says ("> 0.9": the menu is there).
until_shown() {
    shown=0
    for _ in $(seq "$4"); do
        sleep 0.3
        import -window "$1" "$2" 2>/dev/null || continue
        shown=$(menu_shown "$2") || fail "cannot read the window's picture $2"
        awk "BEGIN { exit !($shown $3) }" && return 0
    done
    return 1
}

# A key pressed as a player presses it, held a moment, in the focused window $1.
press() {
    xdotool windowfocus --sync "$1" 2>/dev/null || true
    xdotool keydown "$2"
    sleep 0.15
    xdotool keyup "$2"
}

# Starts the game at $1 (its Unix path), waits for its window and the main menu, starts a game with
# the keys and leaves it, quits with Escape, and checks status 0 and the log $2: its start-up lines
# as on Linux (with CR LF line ends), after a line naming the folder when $3 says where the files are kept.
play_session() {
    local exe=$1 log=$2 kept=${3:-} name=$4
    rm -f "$log"
    wine "$exe" &
    local game=$!
    local window=""
    for _ in $(seq 150); do
        window=$(xdotool search --name '^Tavirel$' 2>/dev/null | head -1) && [ -n "$window" ] && break
        sleep 0.2
    done
    [ -n "$window" ] || fail "$name: no window of the game"
    until_shown "$window" "$work/$name-menu.png" '> 0.9' 50 || fail "$name: the main menu is not on screen (only $shown of its letters)"
    # Down lights "new game", Return starts it: the menu's letters go.
    press "$window" Down
    press "$window" Return
    until_shown "$window" "$work/$name-play.png" '< 0.3' 30 || fail "$name: no game on screen after Down and Return"
    press "$window" Escape
    until_shown "$window" "$work/$name-back.png" '> 0.9' 30 || fail "$name: Escape did not lead back to the menu"
    press "$window" Escape
    for _ in $(seq 50); do kill -0 "$game" 2>/dev/null || break; sleep 0.2; done
    if kill -0 "$game" 2>/dev/null; then
        kill "$game"
        fail "$name: Escape on the main menu did not end the game"
    fi
    local status=0
    wait "$game" || status=$?
    [ "$status" -eq 0 ] || fail "$name: the game ended with status $status"
    [ -f "$log" ] || fail "$name: no log at $log"
    # Its lines end as Windows' text files' do.
    ! grep -qv $'\r$' "$log" || fail "$name: a line of the log does not end in CR LF"
    if [ -n "$kept" ]; then
        [ "$(head -1 "$log" | tr -d '\r')" = "Settings, scores and this log are kept in $kept" ] ||
            fail "$name: the log does not begin by naming $kept: $(head -1 "$log")"
        tail -n +2 "$log" | head -19 | tr -d '\r' > "$work/$name.log"
    else
        head -19 "$log" | tr -d '\r' > "$work/$name.log"
    fi
    diff -u "$work/start-up.log" "$work/$name.log" || fail "$name: the start-up lines differ from Linux's"
    echo "$name: window, menu, a game and back, status 0, the start-up log as on Linux"
}

read_only() {
    mount --bind "$1" "$1" && mounted+=("$1") && mount -o remount,bind,ro "$1" ||
        fail "cannot mount $1 read-only (root and mount are needed)"
}

echo "== a player's sessions under Wine"
folder="$work/Spiele und Zoë"
mkdir -p "$folder"
unzip -q "$zip" -d "$folder"
play_session "$folder/tavirel.exe" "$folder/log.txt" "" zip

# No OpenGL window to be had (SDL's dummy driver): the sentence of Linux, on the standard error that
# a console gives (a message box where there is none), and status 1.
status=0
SDL_VIDEODRIVER=dummy wine "$folder/tavirel.exe" 2> "$work/no-window.txt" || status=$?
[ "$status" -eq 1 ] || fail "no window: the game ended with status $status, not 1"
grep -qxF 'Tavirel cannot start, as no OpenGL window could be made; the details are in its log, Z:'"$(echo "$folder" | tr / '\\')"'\log.txt' \
    <(tr -d '\r' < "$work/no-window.txt") || fail "no window: not the sentence: $(cat "$work/no-window.txt")"
echo "no window: the sentence naming the log, status 1"

rm -rf "$unix_appdata"
read_only "$folder"
play_session "$folder/tavirel.exe" "$unix_appdata/log.txt" 'C:\users\'"$(id -un)"'\AppData\Roaming\Tavirel\' read-only
umount "$folder" && mounted=()

echo "== the installer under Wine"
installed="$WINEPREFIX/drive_c/Program Files/Tavirel"
wine "$setup" /S
[ -f "$installed/tavirel.exe" ] && [ -f "$installed/Uninstall.exe" ] || fail "the installer put no game into $installed"
find "$WINEPREFIX/drive_c" -path '*Start Menu*' -name 'Tavirel.lnk' | grep -q . || fail "no Start-menu entry"
# Program Files is the player's to read, not to write, as on Windows.
read_only "$installed"
play_session "$installed/tavirel.exe" "$unix_appdata/log.txt" 'C:\users\'"$(id -un)"'\AppData\Roaming\Tavirel\' installed
umount "$installed" && mounted=()
printf 'ann lee 8 1234 99999\n' > "$unix_appdata/dex.dll"
cp "$unix_appdata/dex.dll" "$work/dex.dll"
wine "$installed/Uninstall.exe" /S
# The uninstaller runs on from a copy of its own: wait for the game's folder to go.
for _ in $(seq 100); do [ -e "$installed/tavirel.exe" ] || break; sleep 0.2; done
[ ! -e "$installed/tavirel.exe" ] || fail "the uninstaller left the game in $installed"
cmp "$work/dex.dll" "$unix_appdata/dex.dll" || fail "the uninstaller took the player's scores"
[ -f "$unix_appdata/log.txt" ] || fail "the uninstaller took the player's log"
wine "$setup" /S
[ -f "$installed/tavirel.exe" ] || fail "the game did not install again"
cmp "$work/dex.dll" "$unix_appdata/dex.dll" || fail "installing again changed the player's scores"
echo "installer: installed silently, played, uninstalled and installed again; the player's files kept"
wine "$installed/Uninstall.exe" /S
