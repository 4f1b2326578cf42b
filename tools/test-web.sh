#!/usr/bin/env bash
# test-web.sh: builds the page for the browser (tools/web.sh, a compiler warning an error) and the
# checks' own page (the screens drawn in known states), and runs the browser's checks on them in
# Chromium (tests/web/, with Debian's /usr/bin/python3): headless, drawing with SwiftShader, but for
# the pictures' check, which draws with Mesa on an X server of its own. Says how long it took.
set -euo pipefail
cd "$(dirname "$0")/.."
started=$SECONDS
TAVIREL_WERROR=ON tools/web.sh >/dev/null
NODE_PATH=/usr/share/nodejs cmake --build build-web -j2 --target web_checks >/dev/null
for check in tests/web/pictures.py tests/web/smoke.py tests/web/session.py tests/web/pacing.py tests/web/gamepad.py tests/web/kept.py tests/web/keys.py; do
    echo "== $check"
    /usr/bin/python3 "$check"
done
echo "test-web.sh: the browser's checks passed in $(( (SECONDS - started) / 60 )) min $(( (SECONDS - started) % 60 )) s"
