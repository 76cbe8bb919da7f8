#!/usr/bin/env bash
# Installs every Debian package the project builds, tests and demonstrates with.
# Safe to run again: apt-get skips what is already there.
set -euo pipefail

packages=(
  build-essential cmake pkg-config git
  libgtest-dev libgmock-dev libbenchmark-dev
  libzmq3-dev libmsgpack-cxx-dev zlib1g-dev libjsoncpp-dev libtinyxml-dev
  libboost-dev libfreetype-dev libagg-dev libpng-dev libfontconfig-dev
  libsqlite3-dev libx11-dev libcurl4-openssl-dev
  libglib2.0-dev shared-mime-info
  fonts-dejavu-core
  sox libsndfile1-dev ffmpeg
  python3 python3-zmq python3-msgpack python3-soundfile python3-numpy
  xvfb x11-apps imagemagick xclip xdotool
  clang libclang-rt-14-dev
  lv2-dev lilv-utils lv2file sordi jalv jackd2 python3-jack-client
  ardour
)

missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update
  $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
