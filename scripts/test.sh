#!/usr/bin/env bash
# Installs what is missing, builds everything with warnings as errors and runs
# the whole test suite.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/deps.sh"

echo "== format check"
cd "$root"
git ls-files '*.cpp' '*.h' | xargs -r clang-format --dry-run --Werror

echo "== include layers"
"$root/scripts/check-includes.sh"

echo "== build"
PICTELLE_BUILD_DIR="$root/build" "$root/scripts/build.sh" -DPICTELLE_STRICT=ON

echo "== tests"
ctest --test-dir "$root/build" --output-on-failure -j "$(nproc)"

# The file-format readers and the renderer take untrusted bytes (shapes, textures decoded for
# the preview): run their tests again under the address and undefined-behaviour sanitizers,
# building only those test programs and the sample content the preview tests draw.
echo "== msts, render and preview tests with sanitizers"
cmake -S "$root" -B "$root/build-asan" -G Ninja -DPICTELLE_STRICT=ON -DPICTELLE_SANITIZE=ON \
    -DPICTELLE_BENCH=OFF >/dev/null
cmake --build "$root/build-asan" -j "$(nproc)" --target msts_tests render_tests scene_tests \
    scene_widget_tests preview_tests preview_widget_tests batch_tests sample_content
ctest --test-dir "$root/build-asan" -L 'msts|render|preview' --output-on-failure -j "$(nproc)"
