#!/usr/bin/env bash
# Builds the fuzz targets with clang and libFuzzer in build-fuzz/ and runs
# each for a bounded time, starting from a copy of its seed corpus (so the
# repository is left as it was). A crash, a failed property, a leak or an
# input slower than 10 s fails the run; the input is kept in
# build-fuzz/findings/ to be replayed (build/fuzz/fuzz_NAME FILE) and turned
# into a test.
#
#     scripts/fuzz.sh [seconds per target, default 30] [target names...]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-30}
shift || true
"$here/scripts/install-deps.sh" --fuzz
build="$here/build-fuzz"
# Line tables (-g1) are all a finding's stack needs; 16 sources a unit, as
# in the sanitized build.
CXX=clang++ cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g1 -O1" \
    -DCMAKE_UNITY_BUILD=ON -DCMAKE_UNITY_BUILD_BATCH_SIZE=16 \
    -DQUILLAN_FUZZ=ON -DQUILLAN_BUILD_TESTS=OFF -DQUILLAN_BUILD_BENCH=OFF \
    -DQUILLAN_WERROR="${QUILLAN_WERROR:-OFF}" >/dev/null
cmake --build "$build" --parallel "$(nproc)" --target quillan_fuzzers

if [ $# -gt 0 ]; then
    targets=("$@")
else
    mapfile -t targets < <(ls "$here/fuzz/corpus")
fi
export LC_ALL=C.UTF-8
findings="$build/findings"
mkdir -p "$findings"
failed=()
for target in "${targets[@]}"; do
    work=$(mktemp -d)
    mkdir "$work/corpus"
    cp "$here/fuzz/corpus/$target/"* "$work/corpus/"
    echo "fuzz: $target for ${seconds}s"
    if "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 -max_len=4096 \
        -print_final_stats=1 -artifact_prefix="$findings/$target-" "$work/corpus" \
        >"$work/log" 2>&1; then
        grep -E '^(#[0-9]+[[:space:]]+DONE|stat::number_of_executed_units|stat::peak_rss_mb)' "$work/log" || true
    else
        tail -n 60 "$work/log"
        failed+=("$target")
    fi
    rm -rf "$work"
done
if [ ${#failed[@]} -gt 0 ]; then
    echo "fuzz: FAILED ${failed[*]} (inputs in $findings)" >&2
    exit 1
fi
echo "fuzz: ${#targets[@]} targets, no finding"
