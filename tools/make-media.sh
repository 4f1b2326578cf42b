#!/bin/sh
# make-media.sh: regenerates everything in media/ (and out/contact-sheet.png) with one command.
set -e
here=$(cd "$(dirname "$0")" && pwd)
py=/usr/bin/python3   # Debian's own Python, which has python3-pil and python3-numpy

missing=""
"$py" -c "import PIL" 2>/dev/null || missing="$missing python3-pil"
"$py" -c "import numpy" 2>/dev/null || missing="$missing python3-numpy"
command -v oggenc >/dev/null 2>&1 || missing="$missing vorbis-tools"
[ -f /usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf ] || missing="$missing fonts-dejavu-core"
if [ -n "$missing" ]; then
    echo "installing:$missing"
    if [ "$(id -u)" -eq 0 ]; then sudo=""; else sudo=sudo; fi
    $sudo apt-get update -q && $sudo apt-get install -y $missing
fi

exec "$py" "$here/make_media.py" "$@"
