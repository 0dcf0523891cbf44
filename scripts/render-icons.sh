#!/usr/bin/env bash
# Renders the icon drawing resources/icons/quillan.svg into the PNG sizes the
# program and the desktop use (resources/icons/quillan-N.png). Run it after
# changing the drawing and commit the results; the build does not render.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
icons="$here/resources/icons"
if ! command -v rsvg-convert >/dev/null; then
    echo "rsvg-convert is missing: apt-get install librsvg2-bin" >&2
    exit 1
fi
for size in 16 22 24 32 48 64 128 256; do
    rsvg-convert --width "$size" --height "$size" "$icons/quillan.svg" \
        --output "$icons/quillan-$size.png"
done
