#!/usr/bin/env bash
# Reads CHANGELOG.md (one "## VERSION (YYYY-MM-DD)" heading per version, "- " items that may
# go on over indented lines) and writes it in the form another file needs:
#
#   changelog.sh latest    CHANGELOG.md                     the newest version
#   changelog.sh debian    CHANGELOG.md PACKAGE MAINTAINER  the package's Debian changelog
#   changelog.sh appstream CHANGELOG.md                     the metainfo's <releases> element
#
# A heading or an item it cannot read stops it with a message naming the line.
set -euo pipefail

usage() {
    echo "usage: $0 latest|debian|appstream CHANGELOG.md [PACKAGE MAINTAINER]" >&2
    exit 2
}
[ $# -ge 2 ] || usage
form="$1"
source="$2"

# One record a line: "V<tab>version<tab>date" for a heading, "I<tab>text" for an item whose
# lines are joined. Inline code marks are dropped: neither format has them.
records() {
    awk '
        function flush() { if (item != "") { gsub(/`/, "", item); print "I\t" item; item = "" } }
        /^## / {
            flush()
            if (match($0, /^## [0-9][0-9A-Za-z.+~]* \([0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]\)$/) == 0) {
                printf "%s:%d: heading is not \"## VERSION (YYYY-MM-DD)\"\n", FILENAME, FNR > "/dev/stderr"
                bad = 1; exit 1
            }
            split($0, part, /[ ()]+/)
            print "V\t" part[2] "\t" part[3]
            seen = 1
            next
        }
        !seen { next }
        /^- / { flush(); item = substr($0, 3); next }
        /^[ \t]+[^ \t]/ && item != "" { line = $0; sub(/^[ \t]+/, "", line); item = item " " line; next }
        /^[ \t]*$/ { flush(); next }
        { printf "%s:%d: expected an item (\"- \") or its indented continuation\n", FILENAME, FNR > "/dev/stderr"; bad = 1; exit 1 }
        END { if (!bad) flush(); if (!seen && !bad) { print FILENAME ": no version heading" > "/dev/stderr"; exit 1 } }
    ' "$source"
}

xml_escape() {
    local text="$1"
    text="${text//&/&amp;}"
    text="${text//</&lt;}"
    printf '%s' "${text//>/&gt;}"
}

parsed="$(records)"

case "$form" in
latest)
    printf '%s\n' "$parsed" | awk -F '\t' '$1 == "V" { print $2; exit }'
    ;;
debian)
    [ $# -eq 4 ] || usage
    package="$3"
    maintainer="$4"
    open=""
    close_entry() {
        [ -n "$open" ] || return 0
        printf '\n -- %s  %s\n' "$maintainer" "$(LC_ALL=C date -u -R -d "$open 12:00:00")"
        open=""
    }
    first=1
    while IFS=$'\t' read -r kind a b; do
        if [ "$kind" = V ]; then
            close_entry
            [ $first -eq 1 ] || printf '\n'
            first=0
            printf '%s (%s) unstable; urgency=medium\n\n' "$package" "$a"
            open="$b"
        else
            # Debian's changelog lines stay under 80 columns.
            printf '%s\n' "$a" | fold -s -w 74 | sed -e 's/ *$//' -e '1s/^/  * /' -e '2,$s/^/    /'
        fi
    done <<<"$parsed"
    close_entry
    ;;
appstream)
    printf '<releases>\n'
    in_release=0
    end_release() {
        [ $in_release -eq 1 ] || return 0
        printf '        </ul>\n      </description>\n    </release>\n'
        in_release=0
    }
    while IFS=$'\t' read -r kind a b; do
        if [ "$kind" = V ]; then
            end_release
            printf '    <release version="%s" date="%s">\n      <description>\n        <ul>\n' "$a" "$b"
            in_release=1
        else
            printf '          <li>%s</li>\n' "$(xml_escape "$a")"
        fi
    done <<<"$parsed"
    end_release
    printf '  </releases>\n'
    ;;
*)
    usage
    ;;
esac
