#!/usr/bin/env bash
# The parallel recipes of the README ("Many points, many files"), run as the guide writes
# them: their blocks are taken from the guide itself, so the two cannot drift apart. Every
# run of the batch, answered by options, must give byte for byte what the same run gives
# on its own through the dialogue.
#
#   parallel_recipe_test.sh README CONVERTER WW3_SYNTH files|points|stations
set -euo pipefail
readme="$(realpath "$1")" converter="$(realpath "$2")" synth="$(realpath "$3")" variant="$4"

fail() { echo "parallel recipe ($variant): $*" >&2; exit 1; }
# The fenced block that follows the line "<!-- recipe: NAME -->" in the guide.
block() {
    awk -v marker="<!-- recipe: $1 -->" '
        $0 == marker { found = 1; next }
        found && /^```/ { if (inside) exit; inside = 1; next }
        inside { print }' "$readme"
}

work="$(mktemp -d "${TMPDIR:-/tmp}/ww3b-recipe.XXXXXX")"
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin" "$work/batch" "$work/alone"
ln -s "$converter" "$work/bin/ww3-brevolan"
export PATH="$work/bin:$PATH"
cd "$work/batch"
block convert_one.sh >convert_one.sh
[ -s convert_one.sh ] || fail "no convert_one.sh block in $readme"

# A table of stations: two files, a point by name and by position and none, a long path;
# each row against the dialogue with the same answers and a short name.
if [ "$variant" = stations ]; then
    "$synth" --points 3 --output bay.spec
    "$synth" --seed 2 --station 46042 --depth 12.5 --output ww3.cape.2009.spec
    long=a_folder_whose_name_is_long_enough_for_paths
    mkdir "$long"
    cat >stations.csv <<EOF
ww3_file,point,orientation,boundary_depth,output
bay.spec,3,270,12.0,bay_p3.eng
ww3.cape.2009.spec,,236.6,8.5,$long/shinnecock_inlet_a19_181steps.eng
bay.spec,2,290,60,bay_p2.eng
EOF
    cp ./*.spec "$work/alone/"
    recipe="$(block 'station table')"
    [ -n "$recipe" ] || fail "no station table block in $readme"
    sh -c "$recipe" >batch.out 2>batch.err || fail "the recipe failed: $(cat batch.err)"
    [ ! -s batch.err ] && [ ! -s batch.out ] || fail "the recipe reported: $(cat batch.out batch.err)"
    # output|short name alone|WW3 file|point|orientation|depth
    for row in "bay_p3|p3|bay.spec|3|270|12.0" "$long/shinnecock_inlet_a19_181steps|cape|ww3.cape.2009.spec||236.6|8.5" \
               "bay_p2|p2|bay.spec|2|290|60"; do
        IFS='|' read -r stem short spec point orientation depth <<<"$row"
        [ "$(cat "$stem.status")" = "0 $stem.eng" ] || fail "$stem: status $(cat "$stem.status")"
        tail -n 1 "$stem.log" | grep -q '^ww3-brevolan: done: [0-9]* time steps written' || fail "$stem: $(cat "$stem.log")"
        python3 - "$stem.json" "$orientation" "$depth" "$point" <<'EOF' || fail "$stem: the record does not fit the row"
import json, sys
record = json.load(open(sys.argv[1]))
assert record["exit_status"] == 0 and record["answers"]["mode"] == 2, record
assert record["answers"]["orientation"] == float(sys.argv[2]), record["answers"]
assert record["depths"]["boundary_depth"] == float(sys.argv[3]), record["depths"]
assert record["point"] == (sys.argv[4] or None), record["point"]
assert record["steps"]["written"] > 0 and len(record["outputs"]) == 4, record
EOF
        (cd "$work/alone" &&
            printf '%s\n0\n99999999\n0\n2\n%s.eng\n%s\n%s\n' "$spec" "$short" "$orientation" "$depth" |
            ww3-brevolan ${point:+--point "$point"} >/dev/null 2>"$short.log") || fail "$stem: the run alone failed"
        for suffix in eng out txt dat; do
            [ -s "$work/alone/$short.$suffix" ] || fail "$short.$suffix: empty when run alone"
            cmp "$stem.$suffix" "$work/alone/$short.$suffix" || fail "$stem.$suffix differs from the run alone"
        done
    done
    ! cmp -s bay_p3.eng bay_p2.eng || fail "the rows gave the same spectra"
    echo "parallel recipe (stations): 3 rows as on their own"
    exit 0
fi

# stem, then the arguments of the run, for each run the batch must make
runs=()
case "$variant" in
files)
    # A name with dots, a station of its own, another length and step: three single-point files.
    "$synth" --output bay.spec
    "$synth" --seed 2 --station 46042 --depth 12.5 --output ww3.cape.2009.spec
    "$synth" --seed 3 --steps 9 --interval-hours 1 --output inlet.spec
    runs=("bay|bay.spec|" "ww3_cape_2009|ww3.cape.2009.spec|" "inlet|inlet.spec|")
    recipe="$(block 'every file')"
    ;;
points)
    "$synth" --points 3 --output bay.spec
    runs=("bay_p1|bay.spec|1" "bay_p2|bay.spec|2" "bay_p3|bay.spec|3")
    recipe="$(block 'every point')"
    ;;
*) fail "unknown variant" ;;
esac
[ -n "$recipe" ] || fail "no recipe block for $variant in $readme"
cp ./*.spec "$work/alone/"

sh -c "$recipe" >batch.out 2>batch.err || fail "the recipe failed: $(cat batch.err)"
[ ! -s batch.err ] || fail "the recipe reported: $(cat batch.err)"

for run in "${runs[@]}"; do
    IFS='|' read -r stem spec point <<<"$run"
    # Nothing on standard output; the log ends with the run's closing summary and holds
    # no diagnostic.
    [ ! -e "$stem.console" ] || fail "$stem: a console file from the options form"
    tail -n 1 "$stem.log" | grep -q '^ww3-brevolan: done: [0-9]* time steps written' &&
        ! grep -q '^ww3-brevolan: error' "$stem.log" || fail "$stem: $(cat "$stem.log")"
    # The same run on its own, with answers written here rather than by the recipe.
    (cd "$work/alone" &&
        printf '%s\n0\n99999999\n0\n2\n%s.eng\n270\n12.0\n' "$spec" "$stem" |
        ww3-brevolan ${point:+--point "$point"} >"$stem.console" 2>"$stem.log") || fail "$stem: the run alone failed"
    [ -s "$work/alone/$stem.console" ] || fail "$stem: no dialogue when run alone"
    for suffix in eng out txt dat; do
        [ -s "$work/alone/$stem.$suffix" ] || fail "$stem.$suffix: empty when run alone"
        cmp "$stem.$suffix" "$work/alone/$stem.$suffix" || fail "$stem.$suffix differs from the run alone"
    done
done
if [ "$variant" = points ]; then
    ! cmp -s bay_p1.eng bay_p2.eng && ! cmp -s bay_p2.eng bay_p3.eng || fail "the points gave the same spectra"
fi
echo "parallel recipe ($variant): ${#runs[@]} runs as on their own"
