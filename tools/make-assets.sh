#!/bin/sh
# Turns the pictures' masters in assets/src/ (image files that any image editor opens) into the
# files the windows embed, in assets/, and reads back the format facts the windows are defined
# with. ImageMagick writes the GIF, the BMP and the JPEG; tools/iconfile.py the icon and the
# cursors. Running it again gives the same bytes. The sample targets in pix/, the built-in target
# and the desktop icons (assets/*.png) are their own masters: they are only checked. See
# docs/art.md.
set -eu
cd "$(dirname "$0")/.."
tools/install-deps.sh imagemagick python3
src=assets/src

python3 tools/iconfile.py icon assets/varkoz.ico "$src/varkoz-16-4bit.png:4" \
    assets/varkoz-16.png:8 "$src/varkoz-32-4bit.png:4" "$src/varkoz-32-8bit.png:8" \
    "$src/varkoz-48-8bit.png:8"
python3 tools/iconfile.py cursor assets/gunsight.cur "$src/gunsight.png:1" 15,15
python3 tools/iconfile.py cursor assets/crosshair.cur "$src/crosshair.png:4" 14,15
convert "$src/fireball.png" +dither -colors 32 GIF:assets/fireball.gif
convert "$src/bullethole.png" -alpha off -type TrueColor BMP3:assets/bullethole.bmp
# A JPEG loses a little at every encoding: the photograph is encoded afresh only when it no longer
# decodes to exactly its master's pixels, that is when the master changed.
if ! compare -metric AE assets/about.jpg "$src/about.png" null: 2>/dev/null; then
    convert "$src/about.png" -alpha off -strip -sampling-factor 2x2 -quality 92 -interlace none \
        JPEG:assets/about.jpg
fi

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
for size in 16 32 48 128 256; do
    expect "varkoz-$size.png" "$(facts '%m %wx%h' "assets/varkoz-$size.png")" "PNG ${size}x$size"
done
expect "the built-in target" "$(facts '%m %wx%h' assets/fallback-target.png)" "PNG 81x81"

echo "Wrote the pictures from their masters, with the format facts the windows rely on:"
ls assets/*.ico assets/*.png assets/*.cur assets/*.gif assets/*.bmp assets/*.jpg pix/*.jpg
