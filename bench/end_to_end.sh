#!/usr/bin/env bash
# End-to-end speed and memory of ww3-brevolan on a generated one-year hourly workload
# (50 frequencies x 36 directions, 8760 steps, about 176 MB) whose values are shaped like
# real station files (`ww3-synth --values realistic`: tails down to 1e-37, about 10 %
# zeros), and on a quarter and a half of it to show how time and memory grow with the
# file; then on the zero-heavy year (`--values cut`: 56.5 % zeros, no tiny values) as a
# second line.
#
# For every mode (0, 1, and 2 with every record selected) it prints the median wall
# seconds, the CPU seconds (user + system, the best of RUNS runs), the input MB/s by that
# CPU time, the peak resident memory and a checksum of every output file (the kernel counts
# a child's peak from the moment it was started, in the measuring Python's memory, so that
# Python's own 13 MB or so is the floor of that column: `cat` shows it; GNU time gives the
# program's own). `cat` of the
# same file is the floor; the Fortran yardstick (when gfortran and its source are at hand)
# runs in the same rounds, and the ratios follow, from the best CPU seconds: on a shared
# machine wall time swings by a third from run to run, the best CPU time much less.
#
# The year also comes as a file of 10 points of 876 steps (the same size): converting its
# point 7 (mode 0) passes over the other nine, and its row against the one-point year's
# mode 0 shows what passing over a point costs against converting it. A file of one step
# gives the cost of a run that does next to nothing (starting the process, the dialogue,
# opening and closing the files): the second split of that row takes it out of both runs,
# as it belongs to neither converting nor passing over.
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
command -v python3 >/dev/null || { echo "python3 is needed to take the CPU seconds and the peak memory" >&2; exit 1; }

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
# "label wall cpu rss_kb" to $work/times: the CPU seconds (user + system) and the peak
# memory of the child to the microsecond, as the system counts them (wait4).
answers=/dev/null
cat >"$work/measure.py" <<'PYTHON'
import os, sys, time
stdin = os.open(sys.argv[2], os.O_RDONLY)
null = os.open("/dev/null", os.O_WRONLY)
start = time.monotonic()
# Spawned, not forked: a forked child is charged for copying and then dropping this
# Python's page tables (6.5 ms a run on a virtual machine where /bin/true took 8 ms by
# fork and 1.5 ms by spawn), which is none of the measured program's work.
pid = os.posix_spawnp(sys.argv[3], sys.argv[3:], os.environ,
                      file_actions=[(os.POSIX_SPAWN_DUP2, stdin, 0), (os.POSIX_SPAWN_DUP2, null, 1)])
_, status, usage = os.wait4(pid, 0)
wall = time.monotonic() - start
if os.waitstatus_to_exitcode(status) != 0:
    sys.exit("%s failed" % sys.argv[3])
print("%s %.4f %.4f %d" % (sys.argv[1], wall, usage.ru_utime + usage.ru_stime, usage.ru_maxrss))
PYTHON
measure() {
    local label="$1"
    shift
    python3 "$work/measure.py" "$label" "$answers" "$@" >>"$work/times"
}
# The input of the next timed run read once untimed: some machines page out file data not
# read for a while (the 10-point file waits a whole round for its run), and the rows
# compare the work on bytes in memory, not the disk.
warm() { cat "$@" >/dev/null; }

answer_file() {  # input name, mode
    local output="y.eng"
    [ "$2" = 0 ] && output="y.out"
    printf '%s\n0\n99999999\n0\n%s\n%s\n270\n12.0\n' "$1" "$2" "$output" >"$work/answers$2"
}

summary() {  # label, bytes -> "wall cpu MB/s rss_MB" (median wall, best CPU, MB/s by that CPU)
    local wall cpu rss
    wall=$(awk -v l="$1" '$1 == l { print $2 }' "$work/times" | median)
    cpu=$(awk -v l="$1" '$1 == l { print $3 }' "$work/times" | sort -g | head -n 1)
    rss=$(awk -v l="$1" '$1 == l { if ($4 > m) m = $4 } END { print m }' "$work/times")
    awk -v w="$wall" -v c="$cpu" -v b="$2" -v r="$rss" 'BEGIN { printf "%8.3f %7.3f %9.1f %8.1f", w, c, b / 1e6 / c, r / 1024 }'
}

declare -A throughput wallThroughput
run_workload() {  # name, steps, values (realistic or cut)
    local name="$1" steps="$2" input="$1.spec"
    # The realistic year also as netCDF (its netCDF-4 twin, the same values): rows
    # "netCDF mode N", their MB/s counted on the text file's size.
    local twin=()
    [ "$name" = year ] && twin=(--netcdf "$name.nc")
    "$synth" --frequencies 50 --directions 36 --steps "$steps" --interval-hours 1 --values "$3" --output "$input" "${twin[@]}"
    [ "$name" = year ] && for mode in 0 1 2; do answer_file "$name.nc" "$mode"; mv "$work/answers$mode" "$work/nc$mode"; done
    if [ "$name" = year ]; then
        "$synth" --frequencies 50 --directions 36 --steps $((steps / 10)) --points 10 --interval-hours 1 --values "$3" \
            --output points10.spec
        answer_file points10.spec 0
        mv "$work/answers0" "$work/points10"
        "$synth" --frequencies 50 --directions 36 --steps 1 --interval-hours 1 --values "$3" --output step1.spec
        answer_file step1.spec 0
        mv "$work/answers0" "$work/step1"
    fi
    local bytes
    bytes=$(stat -c %s "$input")
    for mode in 0 1 2; do answer_file "$input" "$mode"; done
    cat "$input" >/dev/null
    : >"$work/times"
    for ((run = 1; run <= runs; ++run)); do
        answers=/dev/null
        warm "$input"
        measure cat cat "$input"
        for mode in 0 1 2; do
            rm -f y.out y.eng y.txt y.dat
            answers="$work/answers$mode"
            warm "$input"
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
            warm "$name.nc"
            measure "nc$mode" "$converter" -q
        done
        if [ "$name" = year ]; then
            rm -f y.out
            answers="$work/points10"
            warm points10.spec
            measure point7 "$converter" -q --point 7
            [ "$run" = "$runs" ] && echo "point7 y.out $(stat -c %s y.out) $(sha256sum y.out | cut -c1-16)" >>"$work/checksums"
            rm -f y.out
            answers="$work/step1"
            warm step1.spec
            measure start "$converter" -q
        fi
        if [ -n "$yardstick" ] && [ "$steps" = 8760 ]; then
            answers=/dev/null
            warm "$input"
            measure yard0 "$yardstick" "$input" 0 "$work/b0"
            warm "$input"
            measure yard1 "$yardstick" "$input" 1 "$work/b1"
        fi
    done
    printf '\n%s (--values %s): %d steps, %.1f MB (%d runs; wall: median, CPU: best)\n' "$name" "$3" "$steps" "$(awk -v b="$bytes" 'BEGIN { print b / 1e6 }')" "$runs"
    printf '  %-22s %8s %7s %9s %8s\n' "" "wall s" "cpu s" "MB/s cpu" "RSS MB"
    local labels=(cat mode0 mode1 mode2)
    [ -n "$yardstick" ] && [ "$steps" = 8760 ] && labels+=(yard0 yard1)
    [ "$name" = year ] && labels+=(nc0 nc1 nc2 point7 start)
    for label in "${labels[@]}"; do
        local line
        line=$(summary "$label" "$bytes")
        throughput["$name.$label"]=$(echo "$line" | awk '{ print $3 }')
        wallThroughput["$name.$label"]=$(echo "$line" | awk -v b="$bytes" '{ print b / 1e6 / $1 }')
        case "$label" in
            cat) printf '  %-22s %s\n' "cat (floor)" "$line" ;;
            mode2) printf '  %-22s %s\n' "ww3-brevolan mode 2" "$line" ;;
            mode*) printf '  %-22s %s\n' "ww3-brevolan mode ${label#mode}" "$line" ;;
            yard*) printf '  %-22s %s\n' "yardstick mode ${label#yard}" "$line" ;;
            nc*) printf '  %-22s %s\n' "netCDF mode ${label#nc}" "$line" ;;
            point7) printf '  %-22s %s\n' "point 7 of 10, mode 0" "$line" ;;
            start) printf '  %-22s %s\n' "one step, mode 0" "$line" ;;
        esac
    done
    if [ "$name" = year ]; then
        # One point converted, nine passed over, against ten converted: with c and p the CPU
        # seconds of converting and of passing over a tenth of the file, T1 = 10c and
        # T10 = c + 9p, so c/p = 0.9 T1 / (T10 - 0.1 T1).
        # With s the CPU seconds of the one-step run, the same split of T1 - s and T10 - s.
        awk -v one="${throughput[year.mode0]}" -v ten="${throughput[year.point7]}" -v step="${throughput[year.start]}" 'BEGIN {
            t1 = 1 / one; t10 = 1 / ten; s = 1 / step
            printf "  point 7 of 10 against the one-point year (mode 0): %.2fx faster; passing over a point %.1fx faster than converting it\n", t1 / t10, 0.9 * t1 / (t10 - 0.1 * t1)
            t1 -= s; t10 -= s
            printf "  the same without the one-step run'"'"'s CPU seconds in either: passing over a point %.1fx faster than converting it\n", 0.9 * t1 / (t10 - 0.1 * t1) }'
    fi
    echo "  output checksums (sha256, first 16 hex digits):"
    sed 's/^/    /' "$work/checksums"
    rm -f "$work/checksums" "$input" "$name.nc" points10.spec step1.spec y.out y.eng y.txt y.dat
}

echo "ww3-brevolan $(git -C "$root" describe --always --dirty 2>/dev/null || echo '(no git)'), built in $build"
echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $(uname -sr)"
run_workload quarter 2190 realistic
run_workload half 4380 realistic
run_workload year 8760 realistic
[ "${ZERO_HEAVY:-1}" = 0 ] || run_workload zero-heavy 8760 cut

ratio() { awk -v a="${throughput[$1]:-0}" -v b="${throughput[$2]:-0}" 'BEGIN { if (b > 0) printf "%.1fx", a / b; else print "-" }'; }
share() { awk -v a="${wallThroughput[$1]:-0}" -v b="${wallThroughput[$2]:-0}" 'BEGIN { if (b > 0) printf "%.0f%%", 100 * a / b; else print "-" }'; }
ratios() {  # year's name
    echo "  mode 0 / yardstick mode 0: $(ratio "$1.mode0" "$1.yard0")    share of cat's MB/s (wall): $(share "$1.mode0" "$1.cat")"
    echo "  mode 1 / yardstick mode 1: $(ratio "$1.mode1" "$1.yard1")    share of cat's MB/s (wall): $(share "$1.mode1" "$1.cat")"
    echo "  mode 2 / yardstick mode 1: $(ratio "$1.mode2" "$1.yard1")    share of cat's MB/s (wall): $(share "$1.mode2" "$1.cat")"
}
echo
echo "ratios on the one-year workload (the yardstick's best CPU seconds over ours, in the same rounds;"
echo "the yardstick has no mode 2, its mode 1 writes a spectrum file of the same size); load average $(cut -d' ' -f1-3 /proc/loadavg):"
ratios year
if [ "${ZERO_HEAVY:-1}" != 0 ]; then
    echo "ratios on the zero-heavy year:"
    ratios zero-heavy
fi
echo "growth (the year's MB/s over that of a quarter and of a half; 1.0x is linear time):"
for mode in 0 1 2; do
    echo "  mode $mode: $(ratio year.mode$mode quarter.mode$mode) and $(ratio year.mode$mode half.mode$mode)"
done
