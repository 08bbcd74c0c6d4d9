#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, address, undefined-behaviour and
# float-cast-overflow sanitizers) and runs each for a number of seconds, one after the other,
# from a seed corpus made of the fixtures. Findings land in build-fuzz/findings/<target>/.
#
# Targets: container, shape, ace (the msts readers), render (the renderer behind the shape
# reader and the mesh builder), definition (the .eng/.wag reader with its freight entries),
# wineregistry (system.reg), bitmapsini (Bitmaps.ini) and settings (the settings store's INI
# file). The text targets' seeds are in fuzz/corpus/<target>/; the test command replays every
# target over its seeds (fuzz_replay_<target>).
# Usage: scripts/fuzz.sh [SECONDS_PER_TARGET] [TARGET...]   (default 600; all eight)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-600}"
shift || true
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(container shape ace render definition wineregistry bitmapsini settings)

# clang and its sanitizer runtime are needed for fuzzing only.
"$root/scripts/deps.sh" clang libclang-rt-14-dev

build="$root/build-fuzz"
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DPICTELLE_FUZZ=ON \
    -DPICTELLE_TESTS=OFF -DPICTELLE_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target msts_make_fixtures "${targets[@]/#/msts_fuzz_}" -j 2

fixtures="$build/fixtures"
"$build/tests/support/msts_make_fixtures" "$fixtures"

for target in "${targets[@]}"; do
    corpus="$build/corpus/$target"
    findings="$build/findings/$target"
    mkdir -p "$corpus" "$findings"
    case "$target" in
        ace) seeds=("$fixtures/textures" "$fixtures/broken") ;;
        definition | wineregistry | bitmapsini | settings) seeds=("$root/fuzz/corpus/$target") ;;
        *) seeds=("$fixtures/shapes" "$fixtures/broken") ;;
    esac
    echo "== fuzzing $target for $seconds s"
    "$build/bin/msts_fuzz_$target" -max_total_time="$seconds" -rss_limit_mb=2048 \
        -timeout=10 -max_len=262144 -print_final_stats=1 -artifact_prefix="$findings/" \
        "$corpus" "${seeds[@]}" 2>&1 | tee "$build/fuzz-$target.log" | grep -E "^#[0-9]+[[:space:]]+(DONE|INITED)|^stat::|ERROR|SUMMARY" || true
    if ls "$findings"/* >/dev/null 2>&1; then
        echo "findings for $target in $findings" >&2
        exit 1
    fi
done
