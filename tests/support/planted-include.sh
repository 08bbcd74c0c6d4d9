#!/usr/bin/env bash
# Checks that scripts/check-includes.sh refuses an include against the order of the core's
# folders: each planted into a copy of the source tree must fail it, naming the file; the copy
# as it is must pass.
# Usage: planted-include.sh REPOSITORY
set -uo pipefail
repo=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
check="$repo/scripts/check-includes.sh"
fail() { echo "FAIL: $*"; exit 1; }

cp -r "$repo/src" "$work/src"
bash "$check" "$work/src" >/dev/null || fail "the source tree as it is does not pass"
for plant in "catalog/Catalog.h preview/VehicleScene.h" "shared/Messages.cpp catalog/Catalog.h" \
             "inventory/ThumbnailFile.cpp state/Global.h"; do
    read -r file header <<<"$plant"
    rm -rf "$work/src" && cp -r "$repo/src" "$work/src"
    printf '#include "%s"\n' "$header" >>"$work/src/$file"
    out=$(bash "$check" "$work/src")
    [ $? -eq 1 ] || fail "src/$file including $header passed"
    grep -q "src/$file: #include \"$header\"" <<<"$out" || fail "not named: $out"
done
echo "every planted include was refused"
