#!/usr/bin/env bash
# Installs what the project needs, builds it and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
build_dir=${RELAY_BUILD_DIR:-build}
source_dir=$PWD
# One X server for the tests that open real windows, with -noreset: without it
# the server resets whenever its last client leaves, and the next test's
# connection races the reset. Here a window test that finds no display fails
# instead of skipping.
export RELAY_REQUIRE_DISPLAY=1
# setup.sh installs Ardour: here its test fails instead of skipping without it.
export RELAY_REQUIRE_ARDOUR=1
run_suite() {
    (cd "$1" && xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" ctest --output-on-failure -j"$(nproc)" "${@:2}")
}
run_suite "$build_dir" "$@"

# The whole suite again, built with AddressSanitizer and UndefinedBehaviorSanitizer
# in a build directory of its own (RELAY_SANITIZERS=off leaves it out). Every
# finding fails its test; suppressions (tests/sanitizers) are for third-party
# code only, each with its reason.
[ "${RELAY_SANITIZERS:-on}" = "on" ] || exit 0
sanitize_dir=${RELAY_SANITIZE_BUILD_DIR:-$build_dir-sanitize}
RELAY_BUILD_DIR=$sanitize_dir RELAY_SANITIZE=address,undefined bash scripts/build.sh
export ASAN_OPTIONS=detect_leaks=1:check_initialization_order=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1:suppressions=$source_dir/tests/sanitizers/ubsan.supp
export LSAN_OPTIONS=suppressions=$source_dir/tests/sanitizers/lsan.supp:print_suppressions=0
run_suite "$sanitize_dir" "$@"
