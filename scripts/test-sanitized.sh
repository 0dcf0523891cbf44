#!/usr/bin/env bash
# Builds Quillan and its tests with AddressSanitizer (leaks included) and
# UndefinedBehaviorSanitizer in build-asan/ and runs every test through ctest.
# The first report of either ends the test that made it, which then fails.
#
#     scripts/test-sanitized.sh [extra ctest arguments, e.g. -R scan]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/scripts/install-deps.sh"
build="$here/build-asan"
# Debug keeps Qt's own index checks (Q_ASSERT in QList and QString) on; -O1
# keeps the run fast; line tables (-g1) are all a report's stack needs and
# build much faster than full debug information. The benchmark is left out:
# no test runs it. Sources are compiled 16 to a unit: Qt's headers and
# templates are then compiled once for 16 files, which shortens the build; a
# name defined twice in the files of one target stops it.
cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g1 -O1" \
    -DCMAKE_UNITY_BUILD=ON -DCMAKE_UNITY_BUILD_BATCH_SIZE=16 \
    -DQUILLAN_SANITIZE=ON -DQUILLAN_BUILD_BENCH=OFF -DQUILLAN_WERROR="${QUILLAN_WERROR:-OFF}" >/dev/null
cmake --build "$build" --parallel "$(nproc)"

supp="$here/scripts/sanitizers"
# A report ends the program with status 86, which no program of Quillan's
# gives: a test that starts quillan-check and expects its status 1 (broken
# links found) would take the sanitizers' usual 1 for a pass.
export ASAN_OPTIONS="detect_leaks=1:check_initialization_order=1:strict_init_order=1:detect_stack_use_after_return=1:exitcode=86"
export LSAN_OPTIONS="suppressions=$supp/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:exitcode=86:suppressions=$supp/ubsan.supp"
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
cd "$build"
ctest --output-on-failure --timeout 900 --parallel "$(nproc)" "$@"
