#!/usr/bin/env bash
# Configures and builds Quillan in build/ (after installing what is missing).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/scripts/install-deps.sh"
cmake -S "$here" -B "$here/build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$here/build" --parallel "$(nproc)"
