#!/usr/bin/env bash
# Installs what is needed, builds everything and runs all tests.
#   scripts/test.sh             plain build in build/
#   scripts/test.sh --sanitize  AddressSanitizer and UndefinedBehaviorSanitizer in build-asan/
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

dir=build
options=(-DTRENDIX_WERROR=ON)
if [ "${1:-}" = "--sanitize" ]; then
  dir=build-asan
  options+=(-DTRENDIX_SANITIZE=ON -DTRENDIX_BENCH=OFF)
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
fi

cmake -S . -B "$dir" -G Ninja "${options[@]}" > /dev/null
cmake --build "$dir"
ctest --test-dir "$dir" --output-on-failure -j 2
