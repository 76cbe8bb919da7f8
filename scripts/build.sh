#!/usr/bin/env bash
# Configures and builds the project into ./build (or $RELAY_BUILD_DIR).
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${RELAY_BUILD_DIR:-build}
# Warnings fail the build in CI only (CI=true there); ccache speeds rebuilds
# where it is installed.
werror=OFF
[ "${CI:-}" = "true" ] && werror=ON
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
# RELAY_SANITIZE (e.g. address,undefined) makes a sanitizer build, without the
# benchmark (its figures would mean nothing there).
sanitize=${RELAY_SANITIZE:-}
bench=ON
[ -n "$sanitize" ] && bench=OFF
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=${RELAY_BUILD_TYPE:-RelWithDebInfo} -DRELAY_WERROR=$werror \
    -DRELAY_SANITIZE="$sanitize" -DRELAY_BUILD_BENCH=$bench "${launcher[@]}" >/dev/null
cmake --build "$build_dir" -j"$(nproc)"
