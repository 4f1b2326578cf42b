#!/usr/bin/env bash
# web.sh: builds the game for the browser with Debian's Emscripten into build-web/, from a clean
# folder, and prints two lines: the folder to serve, and the zip of the same files. With --serve,
# then serves that folder on 127.0.0.1 and prints the address to open, until interrupted. With
# --checks, builds with Emscripten's run-time checks. TAVIREL_WERROR=ON in the environment treats a
# compiler warning as an error.
set -euo pipefail
cd "$(dirname "$0")/.."
serve=no
checks=OFF
for argument in "$@"; do
    case "$argument" in
        --serve) serve=yes ;;
        --checks) checks=ON ;;
        *) echo "usage: tools/web.sh [--serve] [--checks]" >&2; exit 2 ;;
    esac
done
tools/deps.sh --web >&2
# Emscripten's tools run under Node.js and need Debian's own modules, which another Node.js on
# PATH does not look for.
export NODE_PATH=/usr/share/nodejs
rm -rf build-web
emcmake cmake -S . -B build-web -DCMAKE_BUILD_TYPE=Release -DTAVIREL_WEB_CHECKS="$checks" \
    -DTAVIREL_WERROR="${TAVIREL_WERROR:-OFF}" >&2
cmake --build build-web -j2 >&2
version=$(sed -n 's/^project(Tavirel VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
zip="build-web/tavirel-$version-web.zip"
[ -f build-web/site/index.html ] && [ -f "$zip" ] || { echo "web.sh: the page or its zip was not made" >&2; exit 1; }
echo "$PWD/build-web/site"
echo "$PWD/$zip"
[ "$serve" = yes ] || exit 0
port=$(/usr/bin/python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
echo "http://127.0.0.1:$port/"
exec /usr/bin/python3 -m http.server --bind 127.0.0.1 --directory build-web/site "$port" >&2
