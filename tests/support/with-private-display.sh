#!/bin/sh
# Runs a test program on an X server of its own. Programs whose tests check
# what another X client sees (the CLIPBOARD selection, the window under the
# pointer, the keyboard focus) cannot share a server with test programs that
# run beside them and open, raise or focus windows of their own.
# Without Xvfb the program runs on whatever DISPLAY names (or none).
set -u
command -v Xvfb >/dev/null 2>&1 || exec "$@"
ready=$(mktemp) || exit 1
# -displayfd: the server picks a free display number and writes it once it
# accepts connections, so two of these never race for one number.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$ready" 2>/dev/null &
server=$!
waited=0
while [ ! -s "$ready" ]; do
    if ! kill -0 "$server" 2>/dev/null || [ "$waited" -ge 600 ]; then
        echo "with-private-display: Xvfb did not start" >&2
        rm -f "$ready"
        exit 1
    fi
    sleep 0.1
    waited=$((waited + 1))
done
DISPLAY=:$(head -n 1 "$ready")
export DISPLAY
rm -f "$ready"
"$@"
status=$?
kill "$server" 2>/dev/null
wait "$server" 2>/dev/null
exit "$status"
