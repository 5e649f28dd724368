#!/usr/bin/env python3
"""Writes a Windows icon (.ico) or cursor (.cur) file from PNG masters, for tools/make-assets.sh.
No editor at hand writes them as the game ships them: Qt stores every icon image at 32 bits, and
ImageMagick picks the depth from the colours used and writes cursors without a hot spot.

  iconfile.py icon <file.ico> <master.png>:<bits per pixel>...
  iconfile.py cursor <file.cur> <master.png>:<bits per pixel> <hot spot x>,<y>

A pixel less than half opaque is transparent. An icon's master with more colours than its depth
holds is reduced (by ImageMagick, without dithering); a cursor's must fit as drawn, and in it
magenta (#ff00ff) marks the pixels that invert the screen."""
import struct
import subprocess
import sys

BLACK, WHITE, MAGENTA = (0, 0, 0), (255, 255, 255), (255, 0, 255)


def pixels(master, colours):
    """The master's size and pixels, row by row from the top, as (r, g, b, a); with `colours`,
    transparent pixels black and the rest reduced to at most that many colours."""
    size = subprocess.run(["identify", "-format", "%w %h", master], capture_output=True, check=True)
    width, height = map(int, size.stdout.split())
    reduce = ["-background", "black", "-alpha", "background", "-channel", "A", "-threshold",
              "50%", "+channel", "+dither", "-colors", str(colours)] if colours else []
    raw = subprocess.run(["convert", master, *reduce, "-depth", "8", "RGBA:-"],
                         capture_output=True, check=True).stdout
    return width, height, [tuple(raw[i:i + 4]) for i in range(0, len(raw), 4)]


def rows(values, width, bits):
    """Values of `bits` bits as a bitmap stores them: the leftmost in the high bits of a byte, the
    bottom row first, each row padded to four bytes."""
    stride = (width * bits + 31) // 32 * 4
    packed = b""
    for top in reversed(range(0, len(values), width)):
        row = 0
        for value in values[top:top + width]:
            row = row << bits | value
        packed += (row << (stride * 8 - width * bits)).to_bytes(stride, "big")
    return packed


def image(master, bits, cursor):
    """One image of the file: a header whose height counts the colour bitmap and the mask, the
    palette (black first, for the transparent pixels), the colour bitmap ("XOR") and the mask
    ("AND", 1 where transparent or inverting)."""
    width, height, found = pixels(master, 0 if cursor else (1 << bits) - 1)
    clear = [a < 128 for r, g, b, a in found]
    invert = [cursor and a >= 128 and (r, g, b) == MAGENTA for r, g, b, a in found]
    colours = [BLACK if c else WHITE if i else p[:3] for p, c, i in zip(found, clear, invert)]
    palette = list(dict.fromkeys([BLACK] + colours))
    if len(palette) > 1 << bits:
        sys.exit(f"{master}: {len(palette)} colours, more than {1 << bits} at {bits} bits a pixel")
    index = {colour: i for i, colour in enumerate(palette)}
    xor = rows([index[colour] for colour in colours], width, bits)
    mask = rows([int(c or i) for c, i in zip(clear, invert)], width, 1)
    header = struct.pack("<IiiHHIIiiII", 40, width, 2 * height, 1, bits, 0, len(xor) + len(mask),
                         0, 0, 0, 0)
    palette += [BLACK] * ((1 << bits) - len(palette))
    table = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    return width, height, bits, header + table + xor + mask


def main(kind, path, *arguments):
    """The directory, one entry an image, then the images. Where an icon's entry has its planes
    and depth, a cursor's has the hot spot."""
    cursor = kind == "cursor"
    masters = arguments[:-1] if cursor else arguments
    images = [image(master, int(bits), cursor) for master, bits in
              (argument.rsplit(":", 1) for argument in masters)]
    entries, body = b"", b""
    for width, height, bits, data in images:
        second = tuple(map(int, arguments[-1].split(","))) if cursor else (1, bits)
        entries += struct.pack("<BBBBHHII", width % 256, height % 256, 1 << bits if bits < 8 else 0,
                               0, *second, len(data), 6 + 16 * len(images) + len(body))
        body += data
    with open(path, "wb") as file:
        file.write(struct.pack("<HHH", 0, 2 if cursor else 1, len(images)) + entries + body)


if __name__ == "__main__":
    if len(sys.argv) < 4 or sys.argv[1] not in ("icon", "cursor"):
        sys.exit(__doc__.split("\n\n")[1])
    main(*sys.argv[1:])
