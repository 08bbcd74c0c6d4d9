#!/usr/bin/env bash
# Installs what is missing, builds everything with warnings as errors and runs
# the whole test suite.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/deps.sh"

echo "== format check"
cd "$root"
git ls-files '*.cpp' '*.h' | xargs -r clang-format --dry-run --Werror

echo "== build"
PICTELLE_BUILD_DIR="$root/build" "$root/scripts/build.sh" -DPICTELLE_STRICT=ON

echo "== tests"
ctest --test-dir "$root/build" --output-on-failure -j "$(nproc)"
