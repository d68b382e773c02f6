#!/usr/bin/env bash
# Installs everything the build, the tests and the benchmarks need on Debian 12.
# Safe to run again: packages already present are left as they are.
set -euo pipefail

packages=(
  cmake g++ make ninja-build ccache pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-svg-dev fonts-liberation2 libdeflate-dev
  qt6-tools-dev libqt6opengl6-dev  # the Designer plugin and QUiLoader (Qt6UiTools needs Qt6OpenGL)
  xvfb xauth xdotool x11-apps imagemagick poppler-utils python3
  pybind11-dev python3-dev python3-numpy python3-pytest
  clang libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -q
"${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
