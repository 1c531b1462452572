#!/usr/bin/env python3
"""Builds a Windows .ico file from a pixel-art text source.

The source holds one or more images, each introduced by a line "image N" (N x N pixels)
and followed by N rows of N characters. Each character is one pixel in a colour of the
standard 16-colour palette below; "." is transparent. Lines starting with "#" are comments.
A line "image N from M" makes an N x N image from the M x M one above it, each pixel
repeated N / M times each way (N a multiple of M): the same drawing, twice or eight times
as large, with no pixel that the drawing does not have.
Images up to 255 pixels are written as 4-bit (16-colour) bitmaps with their transparency
mask; larger ones as PNG with an alpha channel, the form Windows expects at 256 x 256.
The images keep the order of the source.

usage: make_icon.py SOURCE.txt OUTPUT.ico
"""
import struct
import sys
import zlib

# The standard Windows 16-colour palette, with the letter that names each entry in a source.
PALETTE = [
    ("k", (0x00, 0x00, 0x00)),  # black
    ("r", (0x80, 0x00, 0x00)),  # maroon
    ("g", (0x00, 0x80, 0x00)),  # green
    ("o", (0x80, 0x80, 0x00)),  # olive
    ("n", (0x00, 0x00, 0x80)),  # navy
    ("p", (0x80, 0x00, 0x80)),  # purple
    ("t", (0x00, 0x80, 0x80)),  # teal
    ("s", (0xC0, 0xC0, 0xC0)),  # silver
    ("d", (0x80, 0x80, 0x80)),  # dark grey
    ("R", (0xFF, 0x00, 0x00)),  # red
    ("G", (0x00, 0xFF, 0x00)),  # lime
    ("Y", (0xFF, 0xFF, 0x00)),  # yellow
    ("B", (0x00, 0x00, 0xFF)),  # blue
    ("M", (0xFF, 0x00, 0xFF)),  # fuchsia
    ("C", (0x00, 0xFF, 0xFF)),  # aqua
    ("W", (0xFF, 0xFF, 0xFF)),  # white
]
INDEX = {letter: i for i, (letter, _) in enumerate(PALETTE)}
TRANSPARENT = "."


def scaled(size, rows, source_size):
    factor = size // source_size
    return [''.join(c * factor for c in row) for row in rows for _ in range(factor)]


def read_images(path):
    images, rows, size = [], None, 0
    with open(path, encoding="utf-8") as source:
        for number, line in enumerate(source, 1):
            line = line.rstrip("\n")
            if not line or line.startswith("#"):
                continue
            if line.startswith("image "):
                words = line.split()
                size = int(words[1])
                if len(words) == 4 and words[2] == "from":
                    source_size = int(words[3])
                    drawn = {n: r for n, r in images}
                    if source_size not in drawn or size % source_size != 0:
                        sys.exit(f"{path}:{number}: no image of size {source_size} above to make {size} from")
                    images.append((size, scaled(size, drawn[source_size], source_size)))
                    rows = None
                    continue
                rows = []
                images.append((size, rows))
                continue
            if rows is None:
                sys.exit(f"{path}:{number}: pixels before any 'image' line")
            if len(line) != size:
                sys.exit(f"{path}:{number}: row of {len(line)} pixels in a {size}-pixel image")
            for c in line:
                if c != TRANSPARENT and c not in INDEX:
                    sys.exit(f"{path}:{number}: unknown colour letter {c!r}")
            rows.append(line)
    for size, rows in images:
        if len(rows) != size:
            sys.exit(f"{path}: an image of size {size} has {len(rows)} rows")
    if not images:
        sys.exit(f"{path}: no image")
    return images


def row_bytes(bits_per_row):
    return (bits_per_row + 31) // 32 * 4


def encode(size, rows):
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b"".join(struct.pack("BBBB", b, g, r, 0) for _, (r, g, b) in PALETTE)
    colour, mask = bytearray(), bytearray()
    for line in reversed(rows):  # bitmaps are stored bottom-up
        packed = bytearray(row_bytes(size * 4))
        bits = bytearray(row_bytes(size))
        for x, c in enumerate(line):
            value = 0 if c == TRANSPARENT else INDEX[c]
            packed[x // 2] |= value << (4 if x % 2 == 0 else 0)
            if c == TRANSPARENT:
                bits[x // 8] |= 0x80 >> (x % 8)
        colour += packed
        mask += bits
    return header + palette + bytes(colour) + bytes(mask)


def encode_png(size, rows):
    """A 32-bit RGBA PNG of the image, with no time stamp or text: the same source gives
    the same bytes."""
    colours = dict(PALETTE)
    raw = bytearray()
    for line in rows:
        raw.append(0)  # no filter
        for c in line:
            raw += bytes((0, 0, 0, 0)) if c == TRANSPARENT else bytes(colours[c]) + b"\xff"

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(bytes(raw), 9))
            + chunk(b"IEND", b""))


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    images = read_images(sys.argv[1])
    blobs = [encode_png(size, rows) if size > 255 else encode(size, rows) for size, rows in images]
    out = struct.pack("<HHH", 0, 1, len(blobs))
    offset = 6 + 16 * len(blobs)
    for (size, _), blob in zip(images, blobs):
        # Colours and bits per pixel of a PNG image are its own: 0 colours, 32 bits.
        colours, bits = (0, 32) if size > 255 else (16, 4)
        out += struct.pack("<BBBBHHII", size % 256, size % 256, colours, 0, 1, bits, len(blob), offset)
        offset += len(blob)
    out += b"".join(blobs)
    with open(sys.argv[2], "wb") as target:
        target.write(out)


if __name__ == "__main__":
    main()
