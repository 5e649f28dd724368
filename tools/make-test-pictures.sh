#!/bin/sh
# Writes the test pictures that Qt cannot make itself (tests/data), with ImageMagick: a CMYK JPEG,
# four components under Adobe's marker. Running it again gives the same bytes.
set -eu
cd "$(dirname "$0")/.."
mkdir -p tests/data
convert -size 64x48 gradient:yellow-blue -colorspace CMYK -strip -quality 90 \
    -sampling-factor 1x1 jpeg:tests/data/cmyk.jpg
