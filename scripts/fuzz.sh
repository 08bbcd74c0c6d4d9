#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, address, undefined-behaviour and
# float-cast-overflow sanitizers) and runs each for a number of seconds, one after the other,
# from a seed corpus made of the fixtures. Findings land in build-fuzz/findings/<target>/.
#
# Targets: container, shape, ace (the msts readers), render (the renderer behind the shape
# reader and the mesh builder), definition (the .eng/.wag reader).
# Usage: scripts/fuzz.sh [SECONDS_PER_TARGET] [TARGET...]   (default 600; all five)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-600}"
shift || true
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(container shape ace render definition)

# clang and its sanitizer runtime are needed for fuzzing only.
"$root/scripts/deps.sh" clang libclang-rt-14-dev

build="$root/build-fuzz"
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DPICTELLE_FUZZ=ON \
    -DPICTELLE_TESTS=OFF -DPICTELLE_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target msts_make_fixtures "${targets[@]/#/msts_fuzz_}" -j 2

fixtures="$build/fixtures"
"$build/tests/support/msts_make_fixtures" "$fixtures"
# Definition files in the forms the reader meets: 8-bit with CR LF or LF alone, UTF-16 with
# its byte-order mark, feet and metres, quoted names, tabs.
definitions="$fixtures/definitions"
mkdir -p "$definitions"
printf 'SIMISA@@@@@@@@@@JINX0D0t______\r\n\r\nWagon ( GP38\r\n\tWagonShape ( GP38.s )\r\n\tSize ( 3.1m 4.5m 18.4m )\r\n)\r\n' >"$definitions/metres.eng"
printf 'Wagon ( box\n WagonShape ( "box car.s" )\n Size ( 10ft 14ft 60ft )\n)\n' >"$definitions/feet.wag"
printf 'Wagon (\tWagonShape\t(\t\t ..\\common\\x.s ) Size ( 3e0m 4.0m 2.05E1m ) )' >"$definitions/oneline.wag"
iconv -f UTF-8 -t UTF-16 "$definitions/metres.eng" >"$definitions/utf16.eng"

for target in "${targets[@]}"; do
    corpus="$build/corpus/$target"
    findings="$build/findings/$target"
    mkdir -p "$corpus" "$findings"
    case "$target" in
        ace) seeds=("$fixtures/textures" "$fixtures/broken") ;;
        definition) seeds=("$definitions") ;;
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
