#!/usr/bin/env bash
# Installs what is missing, builds Pictelle and runs its main job.
#
# The job runs on the simulator registered on this machine (its folder in Pictelle's
# settings or in the Wine registry). When none is registered, or with --sample, it runs on
# the sample content that the build writes into build/sample: a simulator folder with our
# own vehicles and a Rametta folder beside it, passed to the programs for this run only, so
# nothing is stored over your own settings.
#
# With a display the window opens. Without one, pictelle-cli makes the thumbnails still to
# make and the script says where they are.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/deps.sh"
PICTELLE_BUILD_DIR="$root/build" "$root/scripts/build.sh"
bin="$root/build/bin"
sample="$root/build/sample"

use_sample=0
if [ "${1:-}" = "--sample" ]; then
    use_sample=1
    shift
elif ! "$bin/pictelle-cli" list >/dev/null 2>&1; then
    use_sample=1
fi
folders=()
if [ "$use_sample" -eq 1 ]; then
    echo "Using the sample content in $sample"
    folders=(--msts "$sample/MSTS" --rametta "$sample/Rametta")
fi

# Where the programs put thumbnails: beside them when that folder is writable.
if [ -w "$bin" ]; then
    thumbnails="$bin/Thumbnails"
else
    thumbnails="${XDG_DATA_HOME:-$HOME/.local/share}/Pictelle/Thumbnails"
fi

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    if [ "$use_sample" -eq 1 ]; then
        # The tender's thumbnail is made first (once), so that the sample list shows all
        # four colours: made here, in Rametta's folder, built into Rametta, still to make.
        "$bin/pictelle-cli" make "${folders[@]}" --overwrite never CR_460_Tender >/dev/null || true
    fi
    exec "$bin/pictelle" "${folders[@]}" "$@"
fi

echo "No display found: making the thumbnails from the terminal."
status=0
"$bin/pictelle-cli" make "${folders[@]}" --overwrite never "$@" || status=$?
echo "Thumbnails are in $thumbnails"
exit "$status"
