#!/usr/bin/env bash
# Installs what is missing, builds Pictelle and runs its main job.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/deps.sh"
PICTELLE_BUILD_DIR="$root/build" "$root/scripts/build.sh"
bin="$root/build/bin"

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    exec "$bin/pictelle" "$@"
fi
echo "No display found: the Pictelle window needs one."
echo "Run it under a virtual X server with:  xvfb-run -a $bin/pictelle"
