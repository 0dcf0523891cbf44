#!/usr/bin/env bash
# Builds the Debian package quillan_VERSION_ARCH.deb in build-package/ (a
# Release build without the tests, installed under /usr) and prints its path.
# Install it with: sudo apt-get install ./build-package/quillan_*.deb
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
out="$here/build-package"
"$here/scripts/install-deps.sh"
cmake -S "$here" -B "$out" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
      -DQUILLAN_BUILD_TESTS=OFF >/dev/null
cmake --build "$out" --parallel "$(nproc)"
rm -f "$out"/quillan_*.deb
(cd "$out" && cpack -G DEB >/dev/null)
ls "$out"/quillan_*.deb
