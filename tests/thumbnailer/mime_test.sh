#!/usr/bin/env bash
# The MIME types of the simulator's files, as shared-mime-info's own tools see them once our
# package is installed beside the system's database: every sample vehicle, shape and texture
# gets our type whatever its form (UTF-16, 8-bit, binary, compressed; names in any case),
# while an assembler source named .s, an ACE archive and a text named .ace keep theirs.
set -uo pipefail
xml=$1
sample=$2/MSTS/TRAINS/TRAINSET
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

mkdir -p "$work/share/mime/packages" "$work/home"
cp /usr/share/mime/packages/freedesktop.org.xml "$xml" "$work/share/mime/packages/" ||
    fail "cannot copy the databases"
update-mime-database "$work/share/mime" 2>"$work/update.log" ||
    fail "update-mime-database refused the package: $(cat "$work/update.log")"

type_of() {
    XDG_DATA_HOME=$work/home XDG_DATA_DIRS=$work/share gio info -a standard::content-type "$1" |
        sed -n 's/^ *standard::content-type: //p'
}
expect() {
    local got
    got=$(type_of "$1")
    [ "$got" = "$2" ] || fail "$1: $got, expected $2"
}

count=0
while IFS= read -r -d '' f; do
    case "${f,,}" in
    *.eng | *.wag) expect "$f" application/x-msts-vehicle ;;
    *.s) expect "$f" application/x-msts-shape ;;
    *.ace) expect "$f" image/x-msts-ace ;;
    *) continue ;;
    esac
    count=$((count + 1))
done < <(find "$sample" -type f -print0)
[ "$count" -ge 20 ] || fail "only $count sample files checked"

printf '\t.text\n\t.globl main\nmain:\n\tret\n' >"$work/start.s"
expect "$work/start.s" text/x-asm
printf '\t.text\n' >"$work/START.S"
expect "$work/START.S" text/x-asm
printf '\x31\x00\x00\x00\x00\x00\x00**ACE**\x10\x00' >"$work/archive.ace"
expect "$work/archive.ace" application/x-ace
printf 'notes\n' >"$work/notes.ace"
[ "$(type_of "$work/notes.ace")" != image/x-msts-ace ] || fail "a text named .ace is a texture"
# A shape in UTF-16 text known by its header alone, under a name no pattern matches.
cp "$sample/CR_Diesel/cr_d400.s" "$work/shape_without_extension"
expect "$work/shape_without_extension" application/x-msts-shape
# Other simulator files are known as such, not as vehicles.
printf 'SIMISA@@@@@@@@@@JINX0D0t______\r\n\r\nTrain ( )\r\n' >"$work/express.con"
expect "$work/express.con" application/x-msts-simis

# Both languages describe each type.
for type in application/x-msts-vehicle application/x-msts-shape image/x-msts-ace; do
    file=$work/share/mime/${type}.xml
    grep -q '<comment>' "$file" && grep -q '<comment xml:lang="fr">' "$file" ||
        fail "$type lacks its English or French comment"
done
echo "ok: $count sample files and the look-alikes"
