#!/usr/bin/env bash
# Fails when a file under src/ includes a header of a layer above its own (docs/ARCHITECTURE.md):
#
#   msts    includes msts only, and no Qt
#   render  includes msts and render, and no Qt
#   core    (pictelle_core) includes no window file and nothing of cli/
#   windows (pictelle_ui) include nothing of cli/
#   cli     includes no window file
#   and nothing outside src/app/ includes src/app/: it is the application shell.
#
# Inside the core, and among the windows, the feature folders are ordered; a file includes
# files of its own folder and of the folders before it only:
#
#   platform < shared < catalog < inventory < preview < dialogs < state
#
# (a window file may include any core file: the windows sit on the whole core).
#
# A file is a window file when its folder's CMakeLists.txt adds it to pictelle_ui or to the
# pictelle executable. Prints one line per back-pointing include; exits 1 when there is any.
# Usage: check-includes.sh [SRC_FOLDER]
set -euo pipefail
src="$(cd "${1:-$(dirname "$0")/../src}" && pwd)"
cd "$src"

{
    # Window files, as "window folder/name", from the target_sources() and add_executable() calls.
    for list in */CMakeLists.txt; do
        awk -v folder="${list%/CMakeLists.txt}" '
            /^[ \t]*(target_sources|add_executable)\(/ { ui = ($0 ~ /\((pictelle_ui|pictelle)[ \t)]/) }
            ui {
                for (i = 1; i <= NF; ++i)
                    if ($i ~ /\.(h|cpp)\)?$/) { name = $i; sub(/\)$/, "", name); print "window " folder "/" name }
            }
            /\)/ { ui = 0 }
        ' "$list"
    done
    # Every file that exists, then every include: "include file header".
    find . -name '*.h' -o -name '*.cpp' | sed 's|^\./|file |'
    find . -name '*.h' -o -name '*.cpp' | sed 's|^\./||' | sort |
        xargs grep -HE '^[ \t]*#[ \t]*include[ \t]*["<]' |
        sed -E 's/^([^:]+):[ \t]*#[ \t]*include[ \t]*["<]([^">]+)[">].*/include \1 \2/'
} | awk '
    $1 == "window" { window[$2] = 1; next }
    $1 == "file" { exists[$2] = 1; next }
    function layer(f) {
        if (f ~ /^msts\//) return "msts"
        if (f ~ /^render\//) return "render"
        if (f ~ /^cli\//) return "cli"
        return (f in window) ? "windows" : "core"
    }
    function rank(f,    folder) {
        folder = f; sub(/\/.*/, "", folder)
        return (folder in order) ? order[folder] : -1
    }
    BEGIN {
        n = split("platform shared catalog inventory preview dialogs state", names, " ")
        for (i = 1; i <= n; ++i) order[names[i]] = i
    }
    function allowed(from, to) {
        if (from == "msts") return to == "msts"
        if (from == "render") return to == "msts" || to == "render"
        if (from == "core") return to != "windows" && to != "cli"
        if (from == "windows") return to != "cli"
        if (from == "cli") return to != "windows"
        return 1
    }
    $1 == "include" {
        file = $2; header = $3; from = layer(file); why = ""
        if (header ~ /^Q/) {
            if (from == "msts" || from == "render") why = "Qt in the " from " library"
        } else if (header in exists) {
            to = layer(header)
            if (!allowed(from, to)) why = from " file includes a " to " file"
            else if (header ~ /^app\// && file !~ /^app\//) why = "only the application shell includes src/app/"
            else if (from == to && (from == "core" || from == "windows") && rank(file) > 0 &&
                     rank(header) > rank(file))
                why = "a file of " substr(file, 1, index(file, "/") - 1) "/ includes one of " \
                      substr(header, 1, index(header, "/") - 1) "/, a folder after it"
        }
        if (why != "") { print "src/" file ": #include \"" header "\": " why; faults = 1 }
    }
    END { exit faults }
'
