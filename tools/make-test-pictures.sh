#!/bin/sh
# Writes the test picture that Qt cannot make itself (tests/data), with ImageMagick: a 4000 x 3000
# GIF, a photo's size in a format Qt reads but does not write. Running it again gives the same
# bytes.
set -eu
cd "$(dirname "$0")/.."
tools/install-deps.sh imagemagick
mkdir -p tests/data
convert -size 4000x3000 pattern:hs_vertical -colors 8 -strip gif:tests/data/photo.gif
