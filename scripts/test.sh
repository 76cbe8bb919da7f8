#!/usr/bin/env bash
# Installs what the project needs, builds it and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
build_dir=${RELAY_BUILD_DIR:-build}
cd "$build_dir"
# One X server for the tests that open real windows, with -noreset: without it
# the server resets whenever its last client leaves, and the next test's
# connection races the reset. Here a window test that finds no display fails
# instead of skipping.
export RELAY_REQUIRE_DISPLAY=1
xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" ctest --output-on-failure -j"$(nproc)" "$@"
