#!/usr/bin/env bash
# Builds the libFuzzer targets of the settings text, input file, script and binary image readers
# and of the automation interface with clang (AddressSanitizer and UBSan) into build-fuzz/, then
# runs each for SECONDS (default 60) on a corpus seeded from examples/ and tests/data/ (the image
# fuzzer writes the images of the example plots as its seeds; the automation fuzzer starts from
# nothing). Findings are written to build-fuzz/findings/.
#   scripts/fuzz.sh [SECONDS] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(SettingsFuzz InputFileFuzz ScriptFuzz ImageFuzz AutomationFuzz)
CC=clang-14 CXX=clang++-14 cmake -S . -B build-fuzz -G Ninja -DTRENDIX_FUZZ=ON -DTRENDIX_WERROR=ON \
  -DTRENDIX_TESTS=OFF -DTRENDIX_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build build-fuzz --target "${targets[@]}"

seed() { # target, file patterns
  local corpus="build-fuzz/corpus/$1"; shift
  mkdir -p "$corpus"
  for f in "$@"; do [ -f "$f" ] && cp "$f" "$corpus/"; done
  return 0
}
seed SettingsFuzz examples/*.tset tests/data/*.tset
seed InputFileFuzz examples/*.plx tests/data/*.plx
seed ScriptFuzz examples/*.ply tests/data/*.ply
seed AutomationFuzz
seed ImageFuzz
mkdir -p build-fuzz/findings
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"

status=0
for target in "${targets[@]}"; do
  echo "== $target for ${seconds}s"
  log="build-fuzz/findings/$target.log"
  touch build-fuzz/findings/.started
  TRENDIX_IMAGE_SEEDS="build-fuzz/corpus/ImageFuzz" \
  build-fuzz/fuzz/$target "build-fuzz/corpus/$target" -max_total_time="$seconds" \
    -max_len=8192 -rss_limit_mb=2048 -timeout=60 -print_final_stats=1 \
    -artifact_prefix="build-fuzz/findings/$target-" > "$log" 2>&1 || status=1
  # The cause of a finding and the run's figures, without the fuzzer's dictionary.
  grep -E 'finding|refused with|runtime error|ERROR|SUMMARY|#[0-9]+ 0x|Test unit|stat::' "$log" |
    head -n 60 || true
  # The input that found it, to be run again from this log alone.
  for unit in $(find build-fuzz/findings -name "$target-*" -newer build-fuzz/findings/.started); do
    echo "input $(basename "$unit") as base64:"
    base64 -w 120 "$unit"
  done
done
exit $status
