#!/usr/bin/env bash
# The parallel recipe of the README ("Many points, many files"), run as the guide writes
# it: its blocks are taken from the guide itself, so the two cannot drift apart. Every
# run of the batch must give byte for byte what the same run gives on its own.
#
#   parallel_recipe_test.sh README CONVERTER WW3_SYNTH files|points
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
    # The log ends with the run's closing summary and holds no diagnostic.
    tail -n 1 "$stem.log" | grep -q '^ww3-brevolan: done: [0-9]* time steps written' &&
        ! grep -q '^ww3-brevolan: error' "$stem.log" || fail "$stem: $(cat "$stem.log")"
    # The same run on its own, with answers written here rather than by the recipe.
    (cd "$work/alone" &&
        printf '%s\n0\n99999999\n0\n2\n%s.eng\n270\n12.0\n' "$spec" "$stem" |
        ww3-brevolan ${point:+--point "$point"} >"$stem.console" 2>"$stem.log") || fail "$stem: the run alone failed"
    for suffix in eng out txt dat console; do
        [ -s "$work/alone/$stem.$suffix" ] || fail "$stem.$suffix: empty when run alone"
        cmp "$stem.$suffix" "$work/alone/$stem.$suffix" || fail "$stem.$suffix differs from the run alone"
    done
done
if [ "$variant" = points ]; then
    ! cmp -s bay_p1.eng bay_p2.eng && ! cmp -s bay_p2.eng bay_p3.eng || fail "the points gave the same spectra"
fi
echo "parallel recipe ($variant): ${#runs[@]} runs as on their own"
