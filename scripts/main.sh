#!/usr/bin/env bash
# Installs what is needed and builds the hosts. With a display (DISPLAY or WAYLAND_DISPLAY set)
# it starts trendix-view with its live demo; without one it runs the first example session and
# renders every example into out/ (PNG, plus PDFs and SVGs of three of them).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DTRENDIX_WERROR=ON > /dev/null

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    cmake --build build --target trendix-view
    exec build/apps/trendix-view/trendix-view --demo
fi

cmake --build build --target trendix
build/apps/trendix/trendix shell < examples/first.tsh
mkdir -p out
for input in examples/*.tsh examples/*.ply examples/*.plx examples/*.tset; do
    name=$(basename "${input%.*}")
    build/apps/trendix/trendix render "$input" -o "out/$name.png"
    echo "out/$name.png"
done
build/apps/trendix/trendix render examples/legend-symbols.tsh -o out/legend-symbols.pdf
echo out/legend-symbols.pdf
build/apps/trendix/trendix render examples/xy-two-axes.tsh -o out/xy-two-axes.svg --scale 800x620
echo out/xy-two-axes.svg
for ext in pdf svg; do
    build/apps/trendix/trendix render examples/annotations.tsh -o "out/annotations.$ext"
    echo "out/annotations.$ext"
done
