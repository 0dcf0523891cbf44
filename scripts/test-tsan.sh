#!/usr/bin/env bash
# Builds Quillan with ThreadSanitizer in build-tsan/ and runs the tests of the
# engine and of quillan-check through ctest: the code that reads pages on
# worker threads and everything it calls. The first report ends the test
# that made it, which then fails.
#
#     scripts/test-tsan.sh [extra ctest arguments, e.g. -R scan]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/scripts/install-deps.sh"
build="$here/build-tsan"
# As the ASan build: Debug keeps Qt's index checks, -O1 keeps the run fast,
# line tables are all a report's stack needs; the benchmark is left out.
# 16 sources a unit, as in the sanitized build.
cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g1 -O1" \
    -DCMAKE_UNITY_BUILD=ON -DCMAKE_UNITY_BUILD_BATCH_SIZE=16 \
    -DQUILLAN_TSAN=ON -DQUILLAN_BUILD_BENCH=OFF -DQUILLAN_WERROR="${QUILLAN_WERROR:-OFF}" >/dev/null
# The engine's tests, with the walk and the reports on worker threads, and
# quillan-check's, which run it as a process (itself built with the
# sanitizer) beside the main window walking in the test's own process.
tests=(text util scan run reports settings subfolders tools_check)
targets=()
for t in "${tests[@]}"; do
    targets+=("test_$t")
done
cmake --build "$build" --parallel "$(nproc)" --target "${targets[@]}"

# Status 86 as in the ASan build: no program of Quillan's gives it. Qt is not
# instrumented: the memory it touches itself (from the threads of its own
# pool as from ours) is left out, while its locks still count, so a race in
# Quillan's code is still found. Cases run as an unprivileged user fork the
# test program, whose window has started Qt's threads by then, and walk in
# the child, which starts threads of its own.
export TSAN_OPTIONS="halt_on_error=1:exitcode=86:ignore_noninstrumented_modules=1:die_after_fork=0:second_deadlock_stack=1:suppressions=$here/scripts/sanitizers/tsan.supp"
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
cd "$build"
pattern="^($(IFS='|'; echo "${tests[*]}"))\$"
ctest --output-on-failure --timeout 900 --parallel "$(nproc)" -R "$pattern" "$@"
