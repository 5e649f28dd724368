#!/usr/bin/env bash
# Builds the picture generator (tools/assetgen) and (re)writes every picture under assets/ and
# pix/. The generator uses fixed seeds and writes no dates, so running this again gives the same
# bytes. The build goes to build/assetgen unless ASSETGEN_BUILD_DIR names another folder.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${ASSETGEN_BUILD_DIR:-$root/build/assetgen}"

generator=(-DCMAKE_BUILD_TYPE=Release)
if command -v ninja >/dev/null 2>&1; then
    generator+=(-G Ninja)
fi
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$root/tools/assetgen" -B "$build" "${generator[@]}" >/dev/null
fi
cmake --build "$build" --parallel >/dev/null

# The generator only paints into images; it needs no display.
QT_QPA_PLATFORM=offscreen "$build/assetgen" "$root"

echo "Wrote the pictures under assets/ and pix/:"
(cd "$root" && ls assets/*.ico assets/*.png assets/*.cur assets/*.gif assets/*.bmp assets/*.jpg pix/*.jpg)
