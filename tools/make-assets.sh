#!/usr/bin/env bash
# Builds the picture generator (tools/assetgen) and (re)writes every picture under assets/ and
# pix/. The generator uses fixed seeds and writes no dates, so running this again gives the same
# bytes. It draws with Qt and reduces colours and writes GIF files with ImageMagick's Magick++,
# which this installs when missing; the game itself does not need it. The build goes to
# build/assetgen unless ASSETGEN_BUILD_DIR names another folder.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${ASSETGEN_BUILD_DIR:-$root/build/assetgen}"

# With cmake, ninja and Qt, which the game needs as well.
"$root/tools/install-deps.sh" libmagick++-6.q16-dev

if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$root/tools/assetgen" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$build" --parallel >/dev/null

# The generator only paints into images; it needs no display.
QT_QPA_PLATFORM=offscreen "$build/assetgen" "$root"

echo "Wrote the pictures under assets/ and pix/:"
(cd "$root" && ls assets/*.ico assets/*.png assets/*.cur assets/*.gif assets/*.bmp assets/*.jpg pix/*.jpg)
