#!/usr/bin/env bash
# Installs what the project needs, builds it and runs the round-trip demo:
# relay-host renders a stereo file through the plug-in as Pro Tools would, the
# plug-in captures it into a clip file and tells the editor (here the stand-in),
# the editor repairs the clip and tells the plug-in that it is back.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
build_dir=${RELAY_BUILD_DIR:-build}
host="$build_dir/tools/relay-host/relay-host"
standin=tools/editor-standin/editor-standin

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
for _ in $(seq 50); do grep -q READY "$work/editor.out" 2>/dev/null && break; sleep 0.1; done

echo "== 3. relay-host renders it through the plug-in as Pro Tools, 512-frame blocks"
echo "   (no editor program is installed here, so its launch is reported as not found;"
echo "    the stand-in plays the editor that is already running)"
"$host" render --as "Pro Tools" --host-version 12.4.0 --in "$work/in.wav" --out "$work/out.wav" \
    --flag-a --position 48000 --timeline-offset 96000 --processing-stopped --idle-every 8 --idle-ms 2500

echo "== 4. The shuttle folder"
ls -1 "$shuttle"

echo "== 5. What the editor heard and said (message bytes)"
grep -E "RECV|SEND" "$work/editor.log" | cut -c1-110 || true

echo "== 6. Checks"
captured="$shuttle/Pro Tools 1 [tw-relay] 1 captured.wav"
repaired="$shuttle/Pro Tools 1 [tw-relay] 1 repaired.wav"
/usr/bin/python3 - "$work/in.wav" "$work/out.wav" "$captured" "$repaired" <<'PY'
import sys
import numpy as np
import soundfile as sf
source, rendered, captured, repaired = (sf.read(p, dtype="float32")[0] for p in sys.argv[1:5])
info = sf.info(sys.argv[3])
checks = [
    ("the host's audio passed through unchanged", np.array_equal(source, rendered)),
    ("the clip holds exactly the rendered audio", np.array_equal(source, captured)),
    ("the clip is 32-bit float WAV", info.subtype == "FLOAT"),
    ("the editor's repair came back (-6 dB)", np.array_equal(repaired, captured * np.float32(0.5))),
]
for text, ok in checks:
    print(("ok    " if ok else "FAIL  ") + text)
sys.exit(0 if all(ok for _, ok in checks) else 1)
PY
echo "   clip time reference (transport 48000 + timeline offset 96000):"
sndfile-info "$captured" 2>/dev/null | grep -i "time ref" || \
  /usr/bin/python3 -c "import struct,sys;d=open(sys.argv[1],'rb').read();i=d.find(b'bext');print('   Time Reference :',struct.unpack_from('<Q',d,i+8+338)[0])" "$captured"
