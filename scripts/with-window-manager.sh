#!/usr/bin/env bash
# Runs a command on a virtual X display managed by a real window manager, so
# that windows get the frames and title bars a desktop gives them:
#
#   scripts/with-window-manager.sh build/tests/test_main --gtest_filter='Fonts/*'
#
# Exits 77 (which ctest reports as skipped) when xvfb-run or every window
# manager it knows is missing; scripts/install-deps.sh installs them.
set -euo pipefail

window_manager() {
    for wm in openbox xfwm4 metacity; do
        if command -v "$wm" >/dev/null 2>&1; then
            echo "$wm"
            return 0
        fi
    done
    return 1
}

if [ "${1:-}" != "--on-display" ]; then
    if ! command -v xvfb-run >/dev/null 2>&1 || ! window_manager >/dev/null; then
        echo "with-window-manager.sh: skipped: xvfb-run or a window manager (openbox, xfwm4, metacity) is missing"
        exit 77
    fi
    exec xvfb-run -a -s '-screen 0 1600x1200x24' "$0" --on-display "$@"
fi
shift

wm=$(window_manager)
"$wm" >/dev/null 2>&1 &
wm_pid=$!
trap 'kill "$wm_pid" 2>/dev/null || true' EXIT

# The window manager announces itself on the root window once it manages
# windows; a window shown before that would get no frame.
for _ in $(seq 1 100); do
    if xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; then
        break
    fi
    sleep 0.1
done
echo "with-window-manager.sh: $wm manages display $DISPLAY"

QT_QPA_PLATFORM=xcb "$@"
