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
"$root/tools/install-deps.sh" libmagick++-6.q16-dev imagemagick

if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$root/tools/assetgen" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$build" --parallel >/dev/null

# The generator only paints into images; it needs no display.
QT_QPA_PLATFORM=offscreen "$build/assetgen" "$root"

# The format facts the windows are defined with, read back from what was written.
cd "$root"
expect() { # <what> <found> <expected>
    [ "$2" = "$3" ] || { echo "$1 is not right: $2, not $3" >&2; exit 1; }
}
facts() { identify -format "$1" "$2" | sed 's/ $//'; }
expect "the icon" "$(facts '%m %wx%h %z %A ' assets/varkoz.ico)" \
    "ICO 16x16 4 True ICO 16x16 8 True ICO 32x32 4 True ICO 32x32 8 True ICO 48x48 8 True"
expect "the gun-sight" "$(facts '%m %wx%h %z' assets/gunsight.cur) $(od -An -tu2 -j10 -N4 assets/gunsight.cur | xargs)" "CUR 32x32 1 15 15"
expect "the cross-hair" "$(facts '%m %wx%h %z' assets/crosshair.cur) $(od -An -tu2 -j10 -N4 assets/crosshair.cur | xargs)" "CUR 32x32 4 14 15"
expect "the fireball" "$(head -c 6 assets/fireball.gif) $(facts '%m %wx%h %[pixel:p{0,0}] ' assets/fireball.gif) $(identify -verbose assets/fireball.gif | sed -n 's/ *Colormap entries: //p')" \
    "GIF89a GIF 81x81 srgb(192,192,192) 32"
expect "the bullet hole" "$(facts '%m %wx%h %C' assets/bullethole.bmp) $(od -An -tu2 -j28 -N2 assets/bullethole.bmp | xargs)" "BMP3 31x31 None 24"
for jpeg in assets/about.jpg pix/pic*.jpg; do
    expect "$jpeg" "$(head -c 10 "$jpeg" | tail -c 4) $(facts '%m %[interlace]' "$jpeg")" "JFIF JPEG None"
done
expect "the About photograph" "$(facts '%wx%h' assets/about.jpg)" "105x92"

echo "Wrote the pictures under assets/ and pix/, with the format facts the windows rely on:"
ls assets/*.ico assets/*.png assets/*.cur assets/*.gif assets/*.bmp assets/*.jpg pix/*.jpg
