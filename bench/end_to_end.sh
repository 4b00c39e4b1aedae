#!/usr/bin/env bash
# End-to-end speed and memory of ww3-brevolan on a generated one-year hourly workload
# (50 frequencies x 36 directions, 8760 steps, about 176 MB) whose values are shaped like
# real station files (`ww3-synth --values realistic`: tails down to 1e-37, about 10 %
# zeros), and on a quarter and a half of it to show how time and memory grow with the
# file; then on the zero-heavy year (`--values cut`: 56.5 % zeros, no tiny values) as a
# second line.
#
# For every mode (0, 1, and 2 with every record selected) it prints the input MB/s, the
# wall and CPU seconds (medians of RUNS runs), the peak resident memory and a checksum of
# every output file. `cat` of the same file is the floor; the Fortran yardstick (when
# gfortran and its source are at hand) runs in the same rounds, and the ratios follow.
#
# Usage: make build && bench/end_to_end.sh
# Environment: BUILD (build folder, default build), RUNS (default 5),
#   WW3B_YARDSTICK (yardstick source, default /work/shared/yardstick/baseline.f90),
#   ZERO_HEAVY=0 skips the zero-heavy year, KEEP=1 keeps the temporary folder.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "$root" && realpath -m "${BUILD:-build}")"
runs="${RUNS:-5}"
yardstick_source="${WW3B_YARDSTICK:-/work/shared/yardstick/baseline.f90}"
converter="$build/src/ww3-brevolan"
synth="$build/tools/ww3-synth"

for tool in "$converter" "$synth"; do
    [ -x "$tool" ] || { echo "missing $tool: run 'make build' first" >&2; exit 1; }
done
[ -x /usr/bin/time ] || { echo "GNU time (/usr/bin/time) is needed for the peak memory" >&2; exit 1; }

work="$(mktemp -d "${TMPDIR:-/tmp}/ww3b-e2e.XXXXXX")"
[ "${KEEP:-0}" = 1 ] || trap 'rm -rf "$work"' EXIT
cd "$work"

yardstick=""
if command -v gfortran >/dev/null 2>&1 && [ -f "$yardstick_source" ]; then
    gfortran -O2 -o yardstick "$yardstick_source"
    yardstick="$work/yardstick"
else
    echo "(yardstick skipped: gfortran or $yardstick_source not found)"
fi

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# One timed run: `measure LABEL command...` with standard input from $answers. Appends
# "label wall cpu rss_kb" to $work/times.
answers=/dev/null
measure() {
    local label="$1"
    shift
    local start end
    start=$(date +%s%N)
    /usr/bin/time -v -o "$work/time.txt" "$@" <"$answers" >/dev/null
    end=$(date +%s%N)
    awk -v label="$label" -v wall="$(( (end - start) / 1000 ))" '
        /User time/ { user = $NF } /System time/ { sys = $NF } /Maximum resident/ { rss = $NF }
        END { printf "%s %.3f %.2f %d\n", label, wall / 1e6, user + sys, rss }' "$work/time.txt" >>"$work/times"
}

answer_file() {  # input name, mode
    local output="y.eng"
    [ "$2" = 0 ] && output="y.out"
    printf '%s\n0\n99999999\n0\n%s\n%s\n270\n12.0\n' "$1" "$2" "$output" >"$work/answers$2"
}

summary() {  # label, bytes -> "wall cpu MB/s rss_MB"
    local wall cpu rss
    wall=$(awk -v l="$1" '$1 == l { print $2 }' "$work/times" | median)
    cpu=$(awk -v l="$1" '$1 == l { print $3 }' "$work/times" | median)
    rss=$(awk -v l="$1" '$1 == l { if ($4 > m) m = $4 } END { print m }' "$work/times")
    awk -v w="$wall" -v c="$cpu" -v b="$2" -v r="$rss" 'BEGIN { printf "%8.3f %7.2f %9.1f %8.1f", w, c, b / 1e6 / w, r / 1024 }'
}

declare -A throughput
run_workload() {  # name, steps, values (realistic or cut)
    local name="$1" steps="$2" input="$1.spec"
    # The realistic year also as netCDF (its netCDF-4 twin, the same values): rows
    # "netCDF mode N", their MB/s counted on the text file's size.
    local twin=()
    [ "$name" = year ] && twin=(--netcdf "$name.nc")
    "$synth" --frequencies 50 --directions 36 --steps "$steps" --interval-hours 1 --values "$3" --output "$input" "${twin[@]}"
    [ "$name" = year ] && for mode in 0 1 2; do answer_file "$name.nc" "$mode"; mv "$work/answers$mode" "$work/nc$mode"; done
    local bytes
    bytes=$(stat -c %s "$input")
    for mode in 0 1 2; do answer_file "$input" "$mode"; done
    cat "$input" >/dev/null
    : >"$work/times"
    for ((run = 1; run <= runs; ++run)); do
        answers=/dev/null
        measure cat cat "$input"
        for mode in 0 1 2; do
            rm -f y.out y.eng y.txt y.dat
            answers="$work/answers$mode"
            measure "mode$mode" "$converter" -q
            if [ "$run" = "$runs" ]; then
                for file in y.out y.eng y.txt y.dat; do
                    [ -f "$file" ] && echo "mode$mode $file $(stat -c %s "$file") $(sha256sum "$file" | cut -c1-16)"
                done >>"$work/checksums"
            fi
        done
        for mode in 0 1 2; do
            [ "$name" = year ] || break
            rm -f y.out y.eng y.txt y.dat
            answers="$work/nc$mode"
            measure "nc$mode" "$converter" -q
        done
        if [ -n "$yardstick" ] && [ "$steps" = 8760 ]; then
            answers=/dev/null
            measure yard0 "$yardstick" "$input" 0 "$work/b0"
            measure yard1 "$yardstick" "$input" 1 "$work/b1"
        fi
    done
    printf '\n%s (--values %s): %d steps, %.1f MB (%d runs, medians)\n' "$name" "$3" "$steps" "$(awk -v b="$bytes" 'BEGIN { print b / 1e6 }')" "$runs"
    printf '  %-22s %8s %7s %9s %8s\n' "" "wall s" "cpu s" "MB/s" "RSS MB"
    local labels=(cat mode0 mode1 mode2)
    [ -n "$yardstick" ] && [ "$steps" = 8760 ] && labels+=(yard0 yard1)
    [ "$name" = year ] && labels+=(nc0 nc1 nc2)
    for label in "${labels[@]}"; do
        local line
        line=$(summary "$label" "$bytes")
        throughput["$name.$label"]=$(echo "$line" | awk '{ print $3 }')
        case "$label" in
            cat) printf '  %-22s %s\n' "cat (floor)" "$line" ;;
            mode2) printf '  %-22s %s\n' "ww3-brevolan mode 2" "$line" ;;
            mode*) printf '  %-22s %s\n' "ww3-brevolan mode ${label#mode}" "$line" ;;
            yard*) printf '  %-22s %s\n' "yardstick mode ${label#yard}" "$line" ;;
            nc*) printf '  %-22s %s\n' "netCDF mode ${label#nc}" "$line" ;;
        esac
    done
    echo "  output checksums (sha256, first 16 hex digits):"
    sed 's/^/    /' "$work/checksums"
    rm -f "$work/checksums" "$input" "$name.nc" y.out y.eng y.txt y.dat
}

echo "ww3-brevolan $(git -C "$root" describe --always --dirty 2>/dev/null || echo '(no git)'), built in $build"
echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $(uname -sr)"
run_workload quarter 2190 realistic
run_workload half 4380 realistic
run_workload year 8760 realistic
[ "${ZERO_HEAVY:-1}" = 0 ] || run_workload zero-heavy 8760 cut

ratio() { awk -v a="${throughput[$1]:-0}" -v b="${throughput[$2]:-0}" 'BEGIN { if (b > 0) printf "%.1fx", a / b; else print "-" }'; }
share() { awk -v a="${throughput[$1]:-0}" -v b="${throughput[$2]:-0}" 'BEGIN { if (b > 0) printf "%.0f%%", 100 * a / b; else print "-" }'; }
ratios() {  # year's name
    echo "  mode 0 / yardstick mode 0: $(ratio "$1.mode0" "$1.yard0")    share of cat's MB/s: $(share "$1.mode0" "$1.cat")"
    echo "  mode 1 / yardstick mode 1: $(ratio "$1.mode1" "$1.yard1")    share of cat's MB/s: $(share "$1.mode1" "$1.cat")"
    echo "  mode 2 / yardstick mode 1: $(ratio "$1.mode2" "$1.yard1")    share of cat's MB/s: $(share "$1.mode2" "$1.cat")"
}
echo
echo "ratios on the one-year workload (MB/s over MB/s; the yardstick has no mode 2, its mode 1"
echo "writes a spectrum file of the same size):"
ratios year
if [ "${ZERO_HEAVY:-1}" != 0 ]; then
    echo "ratios on the zero-heavy year:"
    ratios zero-heavy
fi
echo "growth (the year's MB/s over that of a quarter and of a half; 1.0x is linear time):"
for mode in 0 1 2; do
    echo "  mode $mode: $(ratio year.mode$mode quarter.mode$mode) and $(ratio year.mode$mode half.mode$mode)"
done
