#!/usr/bin/env bash
# Configures and builds Pictelle into build/ (or $PICTELLE_BUILD_DIR).
# Extra arguments go to cmake's configure step.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${PICTELLE_BUILD_DIR:-$root/build}"
cmake -S "$root" -B "$build" -G Ninja "$@" >/dev/null
cmake --build "$build" -j "$(nproc)"
