#!/usr/bin/env bash
# own-x-server.sh: runs one test program in a virtual X server of its own, so that no two tests
# ever share windows, keyboard focus or pointer grabs, and the server never resets under one.
# Its screen is 1024 x 768, or the size in OWN_X_SCREEN (such as 2560x1440).
set -u

ready=$(mktemp)
Xvfb -displayfd 3 -screen 0 "${OWN_X_SCREEN:-1024x768}x24" -nolisten tcp -noreset 3>"$ready" 2>/dev/null &
server=$!
for _ in $(seq 1 500); do
    [ -s "$ready" ] && break
    kill -0 "$server" 2>/dev/null || break
    sleep 0.01
done
display=$(head -n 1 "$ready")
rm -f "$ready"
if [ -z "$display" ]; then
    echo "own-x-server.sh: Xvfb did not start" >&2
    kill "$server" 2>/dev/null
    exit 1
fi

DISPLAY=":$display" "$@"
status=$?
kill "$server" 2>/dev/null
wait "$server" 2>/dev/null
exit $status
