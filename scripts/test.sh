#!/usr/bin/env bash
# Builds Quillan with its tests and runs every test through ctest.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/scripts/build.sh"
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
cd "$here/build"
ctest --output-on-failure --timeout 600 --parallel "$(nproc)"
