#!/usr/bin/env bash
# Fails when a function of the program's sources is harder to follow than the project
# allows: clang-tidy's cognitive complexity, at most 60, over every source file of src/
# (tests, fuzz targets and tools are not held to it). The files are checked in parallel.
#
#   check_complexity.sh CLANG_TIDY BUILD_DIR SOURCE_DIR [JOBS]
# BUILD_DIR holds compile_commands.json.
set -euo pipefail
tidy="$1" build="$2" source="$3" jobs="${4:-2}"
limit=60

if [ ! -f "$build/compile_commands.json" ]; then
    echo "no compile_commands.json in $build (configure with CMAKE_EXPORT_COMPILE_COMMANDS=ON)" >&2
    exit 1
fi
config="{Checks: '-*,readability-function-cognitive-complexity', WarningsAsErrors: '*',
         CheckOptions: [{key: readability-function-cognitive-complexity.Threshold, value: $limit},
                        {key: readability-function-cognitive-complexity.DescribeBasicIncrements, value: false}]}"
mapfile -t files < <(find "$source/src" -name '*.cpp' | sort)
# One clang-tidy a file; any that fails makes xargs fail (status 123). The counts of the
# compiler's warnings that are switched off here are left out of the output.
if ! printf '%s\0' "${files[@]}" |
    xargs -0 -n 1 -P "$jobs" "$tidy" --quiet -p "$build" --config="$config" \
        --extra-arg=-Wno-unknown-warning-option --extra-arg=-Wno-everything 2>&1 |
    { grep -v -E '^[0-9]+ warnings? generated\.$' || true; }; then
    echo "a function above cognitive complexity $limit: split it" >&2
    exit 1
fi
echo "${#files[@]} files checked: no function above cognitive complexity $limit"
