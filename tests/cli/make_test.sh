#!/usr/bin/env bash
# Checks pictelle-cli make on the sample content: every vehicle still to make gets a 24-bit
# bitmap 96 pixels high; a second run keeps what is there unless told to replace it; replacing
# gives the same bytes and leaves no temporary file; bad input gives the documented statuses.
set -uo pipefail
cli=$1
sample=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$cli" "$work/pictelle-cli"
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data WINEPREFIX=$work/wine
run() { "$work/pictelle-cli" "$@" --msts "$sample/MSTS" --rametta "$sample/Rametta" </dev/null; }
fail() { echo "FAIL: $*"; exit 1; }

to_make=$(run list | awk -F'\t' '$2 == "ToMake"' | wc -l)
[ "$to_make" -ge 1 ] || fail "the sample has no vehicle to make"

run make --overwrite never >"$work/out1" || fail "first make failed: $(cat "$work/out1")"
made=$(ls "$work/Thumbnails"/*.bmp | wc -l)
[ "$made" -eq "$to_make" ] || fail "$made thumbnails written for $to_make vehicles to make"
for f in "$work/Thumbnails"/*.bmp; do
    read -r height planes bits <<<"$(od -A n -t u2 -j 22 -N 2 "$f") $(od -A n -t u2 -j 26 -N 4 "$f")"
    [ "$(head -c 2 "$f")" = "BM" ] || fail "$f is not a bitmap"
    [ "$height" -eq 96 ] && [ "$planes" -eq 1 ] && [ "$bits" -eq 24 ] ||
        fail "$f: height $height, $bits bits"
done
# Now nothing is left to make.
[ "$(run list | awk -F'\t' '$2 == "ToMake"' | wc -l)" -eq 0 ] || fail "vehicles still to make"

cp "$work/Thumbnails/CR_D400.bmp" "$work/before.bmp"
printf 'old' >"$work/Thumbnails/CR_D400.bmp"
run make --overwrite never cr_d400 >"$work/out2" || fail "keeping is not a failure"
[ "$(cat "$work/Thumbnails/CR_D400.bmp")" = "old" ] || fail "--overwrite never replaced a file"
run make --overwrite always CR_D400 >"$work/out3" || fail "replacing failed"
cmp -s "$work/before.bmp" "$work/Thumbnails/CR_D400.bmp" || fail "the same vehicle drew other bytes"
ls "$work/Thumbnails" | grep -q SFCANVAS_ && fail "a temporary picture was left"

run make nosuchvehicle >/dev/null 2>&1
[ $? -eq 1 ] || fail "an unknown vehicle must give status 1"
run make --overwrite sometimes >/dev/null 2>&1
[ $? -eq 2 ] || fail "a bad option must give status 2"
# A freight shape gone: the car is still made, and its line names what it was drawn without.
cp -r "$sample/MSTS" "$work/MSTS"
rm "$work/MSTS/TRAINS/TRAINSET/CR_Box/crbox_n4102.s"
rm -f "$work/Thumbnails/CRBox_4102.bmp"
"$work/pictelle-cli" make --msts "$work/MSTS" --rametta "$sample/Rametta" CRBox_4102 </dev/null >"$work/out4" ||
    fail "a missing freight shape failed the vehicle: $(cat "$work/out4")"
grep -q "CRBox_4102\.wag.*CRBox_N4102\.s" "$work/out4" || fail "the make line does not name the freight shape: $(cat "$work/out4")"
[ -s "$work/Thumbnails/CRBox_4102.bmp" ] || fail "the car without its number was not made"
# Questions with nobody to answer them are refused, not answered silently.
run make --overwrite ask CR_D400 >/dev/null 2>"$work/err"
[ $? -eq 2 ] || fail "--overwrite ask without a terminal must give status 2"
grep -q -- "--overwrite ask" "$work/err" || fail "the refusal does not say why"
# The summary names the folder the thumbnails went to.
tail -n 1 "$work/out3" | grep -qF "dossier : $work/Thumbnails" || fail "summary without the folder: $(tail -n 1 "$work/out3")"
# Parallel runs tell the same lines in the same order and draw the same bytes as one worker.
for jobs in 1 4; do
    mkdir -p "$work/j$jobs"
    cp "$cli" "$work/j$jobs/pictelle-cli"
    "$work/j$jobs/pictelle-cli" make --jobs "$jobs" --msts "$sample/MSTS" --rametta "$sample/Rametta" \
        </dev/null >"$work/j$jobs/out" 2>&1
    sed "s#$work/j$jobs#ROOT#g" "$work/j$jobs/out" >"$work/j$jobs/said"
done
[ "$(wc -l <"$work/j1/said")" -ge 3 ] || fail "too few vehicles for a parallel run: $(cat "$work/j1/said")"
diff "$work/j1/said" "$work/j4/said" >/dev/null || fail "--jobs 4 told otherwise: $(diff "$work/j1/said" "$work/j4/said")"
diff -r "$work/j1/Thumbnails" "$work/j4/Thumbnails" >/dev/null || fail "--jobs 4 drew other thumbnails"
for bad in 0 x -2; do
    run make --jobs "$bad" >/dev/null 2>"$work/err"
    [ $? -eq 2 ] || fail "--jobs $bad must give status 2"
    [ "$(grep -c -- --jobs "$work/err")" -ge 1 ] || fail "--jobs $bad: no reason given"
done
echo "pictelle-cli make: $made thumbnails checked"
