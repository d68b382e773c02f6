#!/usr/bin/env bash
# Installs what is needed, builds the command-line host and runs the first example session.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DTRENDIX_BENCH=OFF > /dev/null
cmake --build build --target trendix
build/apps/trendix/trendix shell < examples/first.tsh
