#!/usr/bin/env bash
# Builds the libFuzzer targets of the settings text, input file and script readers with clang
# (AddressSanitizer and UBSan) into build-fuzz/, then runs each for SECONDS (default 60) on a
# corpus seeded from examples/ and tests/data/. Findings are written to build-fuzz/findings/.
#   scripts/fuzz.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
CC=clang-14 CXX=clang++-14 cmake -S . -B build-fuzz -G Ninja -DTRENDIX_FUZZ=ON -DTRENDIX_WERROR=ON \
  -DTRENDIX_TESTS=OFF -DTRENDIX_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build build-fuzz --target SettingsFuzz InputFileFuzz ScriptFuzz

seed() { # target, file patterns
  local corpus="build-fuzz/corpus/$1"; shift
  mkdir -p "$corpus"
  for f in "$@"; do [ -f "$f" ] && cp "$f" "$corpus/"; done
  return 0
}
seed SettingsFuzz examples/*.tset tests/data/*.tset
seed InputFileFuzz examples/*.plx tests/data/*.plx
seed ScriptFuzz examples/*.ply tests/data/*.ply
mkdir -p build-fuzz/findings

status=0
for target in SettingsFuzz InputFileFuzz ScriptFuzz; do
  echo "== $target for ${seconds}s"
  build-fuzz/fuzz/$target "build-fuzz/corpus/$target" -max_total_time="$seconds" \
    -max_len=8192 -rss_limit_mb=2048 -timeout=30 -print_final_stats=1 \
    -artifact_prefix="build-fuzz/findings/$target-" 2>&1 | tail -n 25 || status=1
done
exit $status
