#!/usr/bin/env bash
# Installs what the project needs, builds it and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
build_dir=${RELAY_BUILD_DIR:-build}
cd "$build_dir"
# One X server for the tests that open real windows.
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure -j"$(nproc)" "$@"
