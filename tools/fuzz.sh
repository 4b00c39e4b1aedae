#!/usr/bin/env bash
# Builds the fuzz targets (fuzz/, clang with libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each for SECONDS. Fails when any target finds a
# crash, a sanitizer report, a hang or a broken invariant; the input that shows it is left
# in build-fuzz/findings/.
#
#   tools/fuzz.sh SECONDS [TARGET...]      targets: free_form fixed_record ww3_file dialogue
#
# FUZZ_JOBS=2 runs two targets at a time. The corpus grows in build-fuzz/corpus/ from run
# to run; it starts from seeds made of examples/, the generator's files and fuzz/seeds/.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:?usage: tools/fuzz.sh SECONDS [TARGET...]}"
shift
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(free_form fixed_record ww3_file dialogue)
build="${FUZZ_BUILD:-$root/build-fuzz}"
jobs="${FUZZ_JOBS:-1}"

cmake -S "$root/fuzz" -B "$build" -DCMAKE_CXX_COMPILER="${FUZZ_CXX:-clang++}" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$(nproc 2>/dev/null || echo 2)" >/dev/null

# Seeds: a configuration byte and a buffer byte before the text, where the target takes them.
seeds="$build/seeds"
rm -rf "$seeds"
mkdir -p "$seeds"/{free_form,fixed_record,ww3_file,dialogue} "$build"/{corpus,findings,logs}
synth="$build/tools/ww3-synth"
gen="$build/generated"
mkdir -p "$gen"
"$synth" --frequencies 3 --directions 4 --steps 3 --output "$gen/small.spec"
"$synth" --frequencies 8 --directions 6 --steps 4 --points 2 --output "$gen/two-points.spec"
"$synth" --frequencies 9 --directions 7 --steps 3 --direction-offset half --station 'NEAR SHORE' \
         --depth 8.5 --start 1999123122 --interval-hours 1 --output "$gen/half-bin.spec"
"$synth" --frequencies 50 --directions 50 --steps 1 --output "$gen/largest.spec"
sed 's/$/\r/' "$gen/small.spec" >"$gen/crlf.spec"
example="$root/examples/station.spec"
seed() {  # seed TARGET NAME CONFIG_BYTES FILE
    { printf "$3"; cat "$4"; } >"$seeds/$1/$2"
}
for spec in "$example" "$gen"/*.spec; do
    name="$(basename "$spec" .spec)"
    for config in '\x00' '\x01' '\x02' '\x27' '\x46' '\xd2'; do
        seed ww3_file "$name-$(printf '%s' "$config" | tr -d '\\')" "$config\x03" "$spec"
    done
    # Spectrum blocks (reals, 600 values), time lines (integers, two), whole files.
    grep -v "'" "$spec" | tail -n +6 >"$gen/$name.values"
    seed free_form "$name-reals" '\x18\x00' "$gen/$name.values"
    seed free_form "$name-reals-report" '\x1a\x09' "$gen/$name.values"
    seed free_form "$name-integers" '\x05\x00' "$spec"
    seed fixed_record "$name-header" '\x00\x10' "$spec"
    seed fixed_record "$name-frequencies" '\x79\x03' <(tail -n +2 "$spec")
    seed fixed_record "$name-directions" '\x75\x05' <(tail -n +5 "$spec")
    seed fixed_record "$name-points" '\x03\x07' <(grep "'" "$spec")
done
for answers in "$root"/examples/*.answers; do
    name="$(basename "$answers" .answers)"
    cp "$answers" "$seeds/dialogue/$name"
    seed free_form "$name" '\x01\x00' "$answers"
    seed fixed_record "$name-names" '\x04\x00' "$answers"
done
printf 'station.spec\n0\n99999999\n3\n1\nbay.eng\n' >"$seeds/dialogue/mode1-interval"
printf 'station.spec\r\n10060400\r\n10060403\r\n0\r\n2\r\n  bay.spec\r\n180\r\n/\r\n' >"$seeds/dialogue/mode2-crlf"
printf 'station.spec\n\n0 5\n2*99999999\n,\n-1\nbay.eng\n' >"$seeds/dialogue/other-mode"
printf 'station.spec\n0\n99999999\n0\n2\nbay.out\n' >"$seeds/dialogue/clash"

declare -A maxLength=([free_form]=16384 [fixed_record]=4096 [ww3_file]=16384 [dialogue]=4096)
run_target() {
    local target="$1"
    local corpus="$build/corpus/$target"
    mkdir -p "$corpus"
    local extra=()
    [ -d "$root/fuzz/seeds/$target" ] && extra+=("$root/fuzz/seeds/$target")
    # A netCDF-4 file's trial opening runs in a child of the fuzzer; when the library fails
    # there, as it should be allowed to, the child inherits the fuzzer's habit of saving its
    # input as a "crash". Those are kept only when the fuzzer itself reports a finding.
    local marker="$build/logs/$target.start"
    touch "$marker"
    if "$build/fuzz_$target" "$corpus" "$seeds/$target" "${extra[@]}" \
        -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len="${maxLength[$target]}" \
        -dict="$root/fuzz/ww3.dict" -close_fd_mask=2 -print_final_stats=1 \
        -artifact_prefix="$build/findings/$target-" >"$build/logs/$target.log" 2>&1; then
        echo "fuzz $target: ${seconds}s, nothing found ($(grep -m1 -o 'stat::number_of_executed_units: *[0-9]*' "$build/logs/$target.log" | grep -o '[0-9]*$') runs)"
        find "$build/findings" -name "$target-*" -newer "$marker" -delete
    else
        echo "fuzz $target: FINDING (log: $build/logs/$target.log)"
        tail -n 60 "$build/logs/$target.log"
        grep -o "Test unit written to .*" "$build/logs/$target.log" || ls -l "$build/findings/" | grep "$target-" || true
        return 1
    fi
}

status=0
pids=()
for target in "${targets[@]}"; do
    if [ "$jobs" -gt 1 ]; then
        run_target "$target" &
        pids+=($!)
        if [ ${#pids[@]} -ge "$jobs" ]; then
            wait "${pids[0]}" || status=1
            pids=("${pids[@]:1}")
        fi
    else
        run_target "$target" || status=1
    fi
done
for pid in "${pids[@]}"; do wait "$pid" || status=1; done
exit $status
