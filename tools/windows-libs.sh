#!/usr/bin/env bash
# windows-libs.sh: builds SDL 1.2, libogg, libvorbis and SDL_mixer 1.2 for 64-bit Windows from
# Debian's own source packages, into a prefix kept between runs (default build-windows/libs) and
# built anew only when a source package's version changes. Prints the prefix.
set -euo pipefail
cd "$(dirname "$0")/.."
prefix=$(realpath -m "${1:-build-windows/libs}")
work=$(realpath -m "$prefix-src")
host=x86_64-w64-mingw32
jobs=2
log() { echo "windows-libs: $*" >&2; }

# The source packages, in the order they build (each needs those before it).
sources=(libsdl1.2 libogg libvorbis sdl-mixer1.2)

# Debian's source packages need deb-src entries for the suites this machine already uses.
list=/etc/apt/sources.list.d/debian.sources
srclist=/etc/apt/sources.list.d/tavirel-deb-src.sources
have_deb_src() {
    grep -rqsE '^(Types:.*deb-src|deb-src )' /etc/apt/sources.list /etc/apt/sources.list.d/
}
if ! have_deb_src; then
    [ -f "$list" ] || { log "no $list to take the suites from"; exit 1; }
    log "adding deb-src entries for the suites of $list"
    sed -E 's/^Types:.*/Types: deb-src/' "$list" > "$srclist"
    apt-get update -q >&2
fi

# The version of each source package apt would fetch: the names of their .dsc files.
versions=""
for name in "${sources[@]}"; do
    dsc=$(apt-get source --print-uris -qq "$name" 2>/dev/null | awk '{print $2}' | grep '\.dsc$' || true)
    if [ -z "$dsc" ]; then
        apt-get update -q >&2
        dsc=$(apt-get source --print-uris -qq "$name" | awk '{print $2}' | grep '\.dsc$')
    fi
    versions+="$dsc"$'\n'
done
if [ -f "$prefix/versions" ] && [ "$(cat "$prefix/versions")" = "$(printf "%s" "$versions")" ]; then
    echo "$prefix"
    exit 0
fi

log "building $(echo $versions) for $host into $prefix (output in $prefix-build.log)"
rm -rf "$prefix" "$work"
mkdir -p "$prefix" "$work"
# What the builds print goes into a log of its own, shown only when one fails.
exec 3>&2 2>"$prefix-build.log"
trap 'echo "windows-libs: the build failed; the end of $prefix-build.log:" >&3; tail -40 "$prefix-build.log" >&3' ERR
export PATH="$prefix/bin:$PATH"
export CPPFLAGS="-I$prefix/include" LDFLAGS="-L$prefix/lib"
export PKG_CONFIG_LIBDIR="$prefix/lib/pkgconfig"
config=(--host=$host --prefix="$prefix" --disable-static)

for name in "${sources[@]}"; do
    (cd "$work" && apt-get source -q "$name" >&2)
    dir=$(find "$work" -mindepth 1 -maxdepth 1 -type d -name "${name%1.2}*" | head -1)
    log "$name in $dir"
    case $name in
    libsdl1.2)
        (cd "$dir" && ./configure "${config[@]}" --disable-stdio-redirect --disable-cdrom >&2 &&
            make -j$jobs >&2 && make install >&2) ;;
    libogg)
        (cd "$dir" && ./configure "${config[@]}" >&2 && make -j$jobs -C src >&2 &&
            make -C src install >&2 && make -C include install >&2 && make install-pkgconfigDATA >&2) ;;
    libvorbis)
        (cd "$dir" && ./configure "${config[@]}" --with-ogg="$prefix" >&2 && make -j$jobs -C lib >&2 &&
            make -C lib install >&2 && make -C include install >&2 && make install-pkgconfigDATA >&2) ;;
    sdl-mixer1.2)
        # Only the library: its example programs do not link for Windows, and are not needed.
        (cd "$dir" && ./configure "${config[@]}" --with-sdl-prefix="$prefix" --enable-music-ogg \
            --disable-music-ogg-shared --disable-music-mod --disable-music-midi --disable-music-mp3 \
            --disable-music-flac --disable-music-cmd >&2 &&
            make -j$jobs build/libSDL_mixer.la >&2 && make install-hdrs install-lib >&2) ;;
    esac
done
trap - ERR
exec 2>&3
rm -rf "$work"
printf '%s' "$versions" > "$prefix/versions"
echo "$prefix"
