#!/usr/bin/env bash
# Builds Quillan and starts it.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/scripts/build.sh"
exec "$here/build/src/quillan" "$@"
