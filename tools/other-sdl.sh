#!/usr/bin/env bash
# other-sdl.sh: fetches the runtime of the SDL 1.2 library that this machine does not use (the
# classic library, or SDL 2's stand-in sdl12-compat, the one Debian 13 and later ship) with
# `apt-get download`, unpacks it into FOLDER (default build/other-sdl) and prints the folder that
# holds its libSDL-1.2.so.0, for LD_LIBRARY_PATH. The machine's own packages stay as they are.
set -euo pipefail
cd "$(dirname "$0")/.."
into=$(realpath -m "${1:-build/other-sdl}")

installed() {
    dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'ok installed'
}
# The classic library is the package libsdl1.2debian; the stand-in's shim takes its place.
if installed libsdl1.2debian; then
    package=libsdl1.2-compat
else
    package=libsdl1.2debian
fi

mkdir -p "$into"
if ! ls "$into/$package"_*.deb >/dev/null 2>&1; then
    # As root, apt's own download user may not write here: download as root.
    sandbox=()
    [ "$(id -u)" -eq 0 ] && sandbox=(-o APT::Sandbox::User=root)
    if ! (cd "$into" && apt-get "${sandbox[@]}" -q download "$package" >&2); then
        # A machine that has never fetched the package lists.
        apt-get update -q >&2
        (cd "$into" && apt-get "${sandbox[@]}" -q download "$package" >&2)
    fi
fi
rm -rf "$into/root"
dpkg-deb -x "$(ls "$into/$package"_*.deb | tail -n 1)" "$into/root"
library=$(find "$into/root" -name libSDL-1.2.so.0 | head -n 1)
[ -n "$library" ] || { echo "other-sdl.sh: $package holds no libSDL-1.2.so.0" >&2; exit 1; }
dirname "$library"
