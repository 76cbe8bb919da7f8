#!/usr/bin/env bash
# Installs what the project needs, builds it and runs the whole round trip:
# relay-host renders a stereo file through the plug-in as Pro Tools would, with
# the plug-in's window open in a real X11 window. Pass 1 is captured into a
# clip file and the editor (here the stand-in) is told; the editor repairs the
# clip and tells the plug-in; the window loads the repaired clip; pass 2 plays
# it in place of the host's audio. The checks at the end prove each step.
# Without an X display the demo runs itself again under xvfb-run.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -z "${DISPLAY:-}" ] && [ -z "${RELAY_DEMO_HEADLESS:-}" ]; then
  bash scripts/setup.sh
  exec env RELAY_DEMO_HEADLESS=1 xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" bash "$0" "$@"
fi
bash scripts/setup.sh
bash scripts/build.sh
build_dir=${RELAY_BUILD_DIR:-build}
host="$build_dir/tools/relay-host/relay-host"
standin=tools/editor-standin/editor-standin
pictures="$(pwd)/$build_dir/demo"
mkdir -p "$pictures"

# Everything the demo writes (settings store, shuttle folder) stays in one
# temporary home.
work=$(mktemp -d /tmp/relay-demo-XXXXXX)
export HOME="$work/home" XDG_DATA_HOME="$work/home/.local/share" XDG_CONFIG_HOME="$work/home/.config"
mkdir -p "$XDG_DATA_HOME" "$XDG_CONFIG_HOME"
# The editor-not-found notice goes to the log, not to a dialog waiting for a click.
export RELAY_MESSAGE_BOX=log
shuttle="$XDG_DATA_HOME/Quillex/VU 6 Verov Edodod Session Data/Relay"
standin_pid=""
cleanup() { [ -n "$standin_pid" ] && kill "$standin_pid" 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT

echo "== 1. A 4-second stereo test signal, 48 kHz, 32-bit float (sox)"
sox -V1 -n -r 48000 -c 2 -e floating-point -b 32 "$work/in.wav" synth 4 sine 440 sine 660 gain -6

echo "== 2. The editor (stand-in) listens on its three loopback ports"
"$standin" --no-commands --log "$work/editor.log" > "$work/editor.out" 2>&1 &
standin_pid=$!
# Its first log line says it is bound; nothing renders before that.
for _ in $(seq 200); do
  grep -q '^READY ' "$work/editor.log" 2>/dev/null && break
  kill -0 "$standin_pid" 2>/dev/null || { cat "$work/editor.out"; echo "the stand-in stopped"; exit 1; }
  sleep 0.1
done
grep '^READY ' "$work/editor.log" || { echo "the stand-in never said READY"; exit 1; }

echo "== 3. relay-host renders it twice as Pro Tools, the plug-in's window open"
echo "   REPAIR is pressed in the window; pass 1 captures; relay-host idles until the clip is captured (state 2) and until"
echo "   the window has loaded the repaired clip (state 3); pass 2 plays it (back to state 0)."
echo "   (No editor program is installed here, so its launch is reported as not found;"
echo "    the stand-in plays the editor that is already running.)"
"$host" render --as "Pro Tools" --host-version 12.4.0 --in "$work/in.wav" --out "$work/out-{pass}.wav" \
    --passes 2 --position 48000 --timeline-offset 96000 --processing-stopped --idle-every 8 \
    --editor-window --press "0:Repair On Off Button" --await 1:2 --await 1:3 --await 2:0 \
    --screenshots "$pictures/window-pass{pass}-state{state}.png" | tee "$work/host.out"

echo "== 4. What the editor heard and said (message bytes)"
grep -E "RECV|SENT|REPAIRED|NOTIFIED" "$work/editor.log" | cut -c1-110 || true

echo "== 5. The shuttle folder now"
ls -1 "$shuttle"

echo "== 6. Checks"
captured="$shuttle/Pro Tools 1 [tw-relay] 1 captured.wav"
repaired="$shuttle/Pro Tools 1 [tw-relay] 1 repaired.wav"
/usr/bin/python3 - "$work/in.wav" "$work/out-1.wav" "$work/out-2.wav" "$captured" "$repaired" \
    "$XDG_CONFIG_HOME/Quillex/registry.sqlite3" "$work/host.out" <<'PY'
import os, sqlite3, struct, sys
import numpy as np
import soundfile as sf
source, pass1, pass2, captured, repaired, store, host_out = sys.argv[1:8]
read = lambda p: sf.read(p, dtype="float32")[0]
ready = sqlite3.connect(store).execute(
    "SELECT data FROM registry_values WHERE key = ? AND name = 'ReadyToWrite'",
    ("SOFTWARE\\Quillex\\TW6Relay",)).fetchone()
lines = open(host_out).read().splitlines()
checks = [
    ("pass 1: the host's audio passed through unchanged", np.array_equal(read(source), read(pass1))),
    ("the clip holds exactly pass 1's audio", np.array_equal(read(source), read(captured))),
    ("the clip is 32-bit float WAV", sf.info(captured).subtype == "FLOAT"),
    ("relay-host names the captured clip", "captured: " + captured in lines),
    ("pass 2 played the repaired clip: the input x 0.5, sample for sample",
     np.array_equal(read(pass2), read(source) * np.float32(0.5))),
    ("the played repaired file was deleted", not os.path.exists(repaired)),
    ("the state is back to 0 (Idle), and no longer stored as Ready to Write",
     any(l.endswith("window-pass2-state0.png (state 0)") for l in lines) and ready is not None and struct.unpack("<I", bytes(ready[0])[:4])[0] == 0),
]
for text, ok in checks:
    print(("ok    " if ok else "FAIL  ") + text)
sys.exit(0 if all(ok for _, ok in checks) else 1)
PY
echo "   clip time reference (transport 48000 + timeline offset 96000):"
sndfile-info "$captured" 2>/dev/null | grep -i "time ref" || \
  /usr/bin/python3 -c "import struct,sys;d=open(sys.argv[1],'rb').read();i=d.find(b'bext');print('   Time Reference :',struct.unpack_from('<Q',d,i+8+338)[0])" "$captured"

echo "== 7. The window's pictures"
echo "   state 2 (captured, gray thumbnail): $pictures/window-pass1-state2.png"
echo "   state 3 (repaired, blue thumbnail): $pictures/window-pass1-state3.png"
echo "   state 0 after pass 2:               $pictures/window-pass2-state0.png"
