#!/usr/bin/env bash
# Side by side: `trendix render` against gnuplot and matplotlib on the same generated data, the
# same 1600 x 1000 picture, whole process, median of RUNS runs (default 5). The peers are for
# measuring only: each is used when installed and left out otherwise; nothing in the build or
# the tests needs them.
#
#   bench/peers.sh [BUILD_DIR]          # BUILD_DIR defaults to build
#   RUNS=3 CASES="png1m svg1m" bench/peers.sh
#
# Prints one line per case and tool: seconds, peak memory (MB), file size (MB) and the time
# as a multiple of trendix's for the same case.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build}
trendix=$build/apps/trendix/trendix
runs=${RUNS:-5}
cases=${CASES:-"png1m png8x100k png10k svg1m pdf1m"}
work=$(mktemp -d /tmp/trendix-peers.XXXXXX)
trap 'rm -rf "$work"' EXIT
[ -x "$trendix" ] || { echo "no $trendix: build it first" >&2; exit 1; }

have_gnuplot=0; command -v gnuplot > /dev/null && have_gnuplot=1
have_mpl=0; /usr/bin/python3 -c 'import matplotlib' 2> /dev/null && have_mpl=1

# data CURVES POINTS: NAME.plx for trendix, NAME.dat (x then one column a curve) for the peers.
# The curves are a slow wave with a fast ripple, the shape of a long recorded trend.
data() {
    local curves=$1 points=$2 name=$work/d${1}x$2
    [ -f "$name.plx" ] && return
    awk -v c="$curves" -v n="$points" -v plx="$name.plx" -v dat="$name.dat" 'BEGIN {
        printf "title:Trend\nnumpoints:%d\nnumindep:1\nnumdep:%d\nindeplow:0\nindephigh:100\nvalues:\n", n, c > plx
        for (m = 0; m < n; m++) printf "%.7g%s", m * 100 / n, ((m + 1) % 10 ? " " : "\n") > plx
        printf "\n" > plx
        for (k = 0; k < c; k++) {
            for (m = 0; m < n; m++) {
                t = m * 100 / n
                printf "%.7g%s", k + sin(t * 0.7 + k) + 0.2 * sin(m * 0.37), ((m + 1) % 10 ? " " : "\n") > plx
            }
            printf "\n" > plx
        }
        for (m = 0; m < n; m++) {
            t = m * 100 / n
            line = sprintf("%.7g", t)
            for (k = 0; k < c; k++) line = line sprintf(" %.7g", k + sin(t * 0.7 + k) + 0.2 * sin(m * 0.37))
            print line > dat
        }
    }'
    printf '.load %s\nDisplayType = 0\n' "$name.plx" > "$name-lines.tsh"
}

# measure OUT CMD...: median seconds and peak MB of RUNS runs, and the size of OUT.
measure() {
    local out=$1; shift
    local times=() mems=()
    for ((r = 0; r < runs; r++)); do
        rm -f "$out"
        /usr/bin/time -f '%e %M' -o "$work/time" "$@" > /dev/null 2>&1 || { echo "failed"; return; }
        read -r t m < "$work/time"
        times+=("$t"); mems+=("$m")
    done
    local t m
    t=$(printf '%s\n' "${times[@]}" | sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}')
    m=$(printf '%s\n' "${mems[@]}" | sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}')
    echo "$t $((m / 1024)) $(stat -c %s "$out" | awk '{printf "%.2f", $1 / 1e6}')"
}

report() { # CASE TOOL RESULT BASE
    local t=${3%% *}
    awk -v c="$1" -v tool="$2" -v r="$3" -v t="$t" -v base="$4" 'BEGIN {
        split(r, f, " ")
        ratio = (base > 0 && t > 0) ? sprintf("%.2fx", t / base) : "-"
        printf "%-22s %-28s %6.2f s %5d MB %7.2f MB  %s\n", c, tool, f[1], f[2], f[3], ratio
    }'
}

# gnuplot's commands for DAT CURVES TERMINAL OUT STYLE.
gp() {
    local using="" k
    for ((k = 2; k <= $2 + 1; k++)); do using+="'$1' using 1:$k with $5 notitle,"; done
    echo "set terminal $3; set output '$4'; plot ${using%,}"
}

# matplotlib: mpl.py DAT CURVES OUT MARKERS
cat > "$work/mpl.py" << 'EOF'
import sys
import matplotlib
matplotlib.use("Agg")
import matplotlib.pyplot as plt
import numpy as np
dat, curves, out, markers = sys.argv[1], int(sys.argv[2]), sys.argv[3], sys.argv[4] == "1"
d = np.loadtxt(dat)
fig = plt.figure(figsize=(16, 10), dpi=100)
for k in range(curves):
    plt.plot(d[:, 0], d[:, k + 1], marker="o" if markers else None, markersize=3, linewidth=1)
fig.savefig(out)
EOF

run_case() { # CASE CURVES POINTS ENDING
    local c=$1 curves=$2 points=$3 ending=$4 d=$work/d${2}x$3 base
    data "$curves" "$points"
    local out=$work/out.$ending
    local tri tl
    tri=$(measure "$out" "$trendix" render "$d.plx" -o "$out" --size 1600x1000)
    base=${tri%% *}
    report "$c" "trendix (markers)" "$tri" "$base"
    tl=$(measure "$out" "$trendix" render "$d-lines.tsh" -o "$out" --size 1600x1000)
    report "$c" "trendix (lines)" "$tl" "${tl%% *}"
    if [ $have_gnuplot = 1 ]; then
        local names=() terms=() i
        case $ending in
        png) names=(png pngcairo); terms=("png size 1600,1000" "pngcairo size 1600,1000") ;;
        svg) names=(svg); terms=("svg size 1600,1000") ;;
        pdf) names=(pdfcairo); terms=("pdfcairo size 16.67in,10.42in") ;;
        esac
        for i in "${!names[@]}"; do
            report "$c" "gnuplot ${names[i]} (points)" \
                "$(measure "$out" gnuplot -e "$(gp "$d.dat" "$curves" "${terms[i]}" "$out" linespoints)")" "$base"
            report "$c" "gnuplot ${names[i]} (lines)" \
                "$(measure "$out" gnuplot -e "$(gp "$d.dat" "$curves" "${terms[i]}" "$out" lines)")" "${tl%% *}"
        done
    fi
    if [ $have_mpl = 1 ]; then
        report "$c" "matplotlib (markers)" "$(measure "$out" /usr/bin/python3 "$work/mpl.py" "$d.dat" "$curves" "$out" 1)" "$base"
        report "$c" "matplotlib (lines)" "$(measure "$out" /usr/bin/python3 "$work/mpl.py" "$d.dat" "$curves" "$out" 0)" "${tl%% *}"
    fi
}

echo "case                   tool                         time      memory   file      vs trendix"
for c in $cases; do
    case $c in
    png1m) run_case "1 x 1,000,000 png" 1 1000000 png ;;
    png8x100k) run_case "8 x 100,000 png" 8 100000 png ;;
    png10k) run_case "1 x 10,000 png" 1 10000 png ;;
    svg1m) run_case "1 x 1,000,000 svg" 1 1000000 svg ;;
    pdf1m) run_case "1 x 1,000,000 pdf" 1 1000000 pdf ;;
    *) echo "unknown case $c" >&2 ;;
    esac
done
