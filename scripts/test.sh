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

# The file-format readers take untrusted bytes: run their tests again under the address and
# undefined-behaviour sanitizers, building only that test program.
echo "== msts tests with sanitizers"
cmake -S "$root" -B "$root/build-asan" -G Ninja -DPICTELLE_STRICT=ON -DPICTELLE_SANITIZE=ON \
    -DPICTELLE_BENCH=OFF >/dev/null
cmake --build "$root/build-asan" --target msts_tests -j "$(nproc)"
ctest --test-dir "$root/build-asan" -L msts --output-on-failure -j "$(nproc)"
