#!/usr/bin/env bash
# Pictures of every property page and edit dialog, for a person to look over: the sheet tests
# save each page as Qt draws it offscreen, and the real-window test of the property pages adds
# the sheet as trendix-view shows it under Xvfb.
#   scripts/sheet-screenshots.sh [FOLDER]   (default /tmp/trendix-sheets; never in the repository)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-/tmp/trendix-sheets}
mkdir -p "$out"
out=$(cd "$out" && pwd)
case "$out/" in
"$root"/*)
    echo "sheet-screenshots: keep the pictures out of the repository" >&2
    exit 2
    ;;
esac
cmake --build "$root/build" -j2 --target test_widgets trendix-view
TRENDIX_SCREENSHOTS="$out" "$root/build/tests/test_widgets" --gtest_filter='QtPropertySheet.Every*'
xvfb-run -a -s "-screen 0 1024x768x24" /usr/bin/python3 \
    "$root/tests/window/property_pages_test.py" "$root/build/apps/trendix-view/trendix-view" \
    "$root/examples/xy-two-axes.tsh" "$out/window"
# The window test keeps PPM files; PNG is what viewers take.
if command -v convert >/dev/null; then
    for ppm in "$out"/window/*.ppm; do
        convert "$ppm" "${ppm%.ppm}.png" && rm "$ppm"
    done
fi
echo "pictures in $out"
