#!/usr/bin/env bash
# Runs a Python script (or the interpreter, without arguments) with the module trendix of the
# build tree importable: scripts/python.sh examples/python/million_points.py
# BUILD_DIR chooses the build tree (build by default).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
if [ ! -d "$build/python/trendix" ]; then
  echo "no module in $build/python: build first (cmake --build $build --target _trendix)" >&2
  exit 1
fi
export PYTHONPATH="$build/python${PYTHONPATH:+:$PYTHONPATH}"
exec /usr/bin/python3 "$@"
