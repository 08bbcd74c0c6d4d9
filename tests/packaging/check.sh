#!/usr/bin/env bash
# The packaging checks CTest runs (label "packaging"). Each prints what is wrong and fails;
# a validator's hint or warning counts as a failure, as it would in a distribution's review.
#
#   check.sh desktop FILE...            desktop-file-validate, not even a hint
#   check.sh metainfo FILE...           appstreamcli validate, no warning
#   check.sh man PAGE...                man --warnings, no warning
#   check.sh options PROGRAM PAGE       every option PROGRAM --help names is in its page
#   check.sh no-display PROGRAM NAME    --help and --version answer without a display
set -uo pipefail

need() {
    command -v "$1" >/dev/null || { echo "$1 is missing: run scripts/deps.sh" >&2; exit 1; }
}

status=0
fail() {
    echo "FAIL: $*" >&2
    status=1
}

check="$1"
shift
case "$check" in
desktop)
    need desktop-file-validate
    for file in "$@"; do
        out="$(desktop-file-validate "$file" 2>&1)" || fail "$file is refused"
        [ -z "$out" ] || fail "$file: $out"
    done
    ;;
metainfo)
    need appstreamcli
    for file in "$@"; do
        out="$(appstreamcli validate --no-net --no-color "$file" 2>&1)" || fail "$file: $out"
    done
    ;;
man)
    need man
    for page in "$@"; do
        # As lintian reads pages: its warnings on standard error, the page itself thrown away.
        out="$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 \
            man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)" || fail "$page cannot be formatted"
        [ -z "$out" ] || fail "$page: $out"
    done
    ;;
options)
    program="$1"
    page="$2"
    usage="$("$program" --help)" || fail "$program --help failed"
    # The page's source with roff's escaped hyphens read as hyphens.
    text="$(sed 's/\\-/-/g' "$page")"
    options="$(grep -oE -- '--[a-z][a-z-]*' <<<"$usage" | sort -u)"
    [ -n "$options" ] || fail "$program --help names no option"
    for option in $options; do
        grep -qF -- "$option" <<<"$text" || fail "$page does not document $option"
    done
    ;;
no-display)
    program="$1"
    name="$2"
    # A window program that opened its display first would stop here with no display.
    run() { env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$program" "$@" 2>&1; }
    out="$(run --version)" || fail "$name --version failed: $out"
    [[ "$out" =~ ^$name\ [0-9]+\.[0-9]+\.[0-9]+$ ]] || fail "$name --version printed: $out"
    out="$(run --help)" || fail "$name --help failed: $out"
    grep -qF -- "--version" <<<"$out" || fail "$name --help printed: $out"
    ;;
*)
    echo "unknown check: $check" >&2
    exit 2
    ;;
esac
exit "$status"
