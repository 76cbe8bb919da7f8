#!/usr/bin/env bash
# Installs what the project needs, builds it and runs the demo: a stereo file
# rendered through the plug-in by relay-host, compared sample for sample.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
build_dir=${RELAY_BUILD_DIR:-build}
host="$build_dir/tools/relay-host/relay-host"
work=$(mktemp -d /tmp/relay-demo-XXXXXX)
trap 'rm -rf "$work"' EXIT

echo "== A 10-second stereo test signal, 48 kHz, 32-bit float (sox)"
sox -n -r 48000 -c 2 -e floating-point -b 32 "$work/in.wav" synth 10 sine 440 sine 660 gain -6

echo "== Rendered through the plug-in, 512-frame blocks"
"$host" render --as "Pro Tools" --host-version 12.4.0 --in "$work/in.wav" --out "$work/out.wav" --block 512

echo "== Compared sample for sample"
if cmp -s <(sox -V1 "$work/in.wav" -t raw -) <(sox -V1 "$work/out.wav" -t raw -); then
  echo "identical: the plug-in passed the audio through unchanged"
else
  echo "DIFFERENT: the rendered file does not match its input" >&2
  exit 1
fi
