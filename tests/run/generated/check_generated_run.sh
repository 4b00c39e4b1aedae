#!/usr/bin/env bash
# A mid-sized generated run, checked byte for byte by the independent implementation:
# the full 50 x 36 grid of the benchmark workload, for a day of hourly steps, through
# every reading, rendering and mode-2 road of the converter.
#
#   check_generated_run.sh WW3_SYNTH CONVERTER PYTHON INDEPENDENT_CHECK MODE [SHORELINE DEPTH]
# SYNTH_OPTIONS adds options of the generator (--values realistic: tails of tiny values).
set -euo pipefail
synth="$1" converter="$2" python="$3" check="$4" mode="$5"
shoreline="${6:-}" depth="${7:-}"

work="$(mktemp -d "${TMPDIR:-/tmp}/ww3b-generated.XXXXXX")"
trap 'rm -rf "$work"' EXIT
cd "$work"
"$synth" --frequencies 50 --directions 36 --steps 24 --interval-hours 1 --seed 5 ${SYNTH_OPTIONS:-} --output station.spec
output=station.eng
[ "$mode" = 0 ] && output=station.out
printf 'station.spec\n0\n99999999\n0\n%s\n%s\n%s\n%s\n' "$mode" "$output" "$shoreline" "$depth" >answers
"$converter" <answers >console.txt
if [ "$mode" = 2 ]; then
    "$python" "$check" station.spec . "$mode" "$shoreline" "$depth"
else
    "$python" "$check" station.spec . "$mode"
fi
