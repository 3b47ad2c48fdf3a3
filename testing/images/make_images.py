#!/usr/bin/env python3
"""Writes the small images the decoding tests read. Run once by hand; the
files are kept in the repository so that the build never runs this.

Every lossless image is 5 x 3 pixels; pixel (x, y) has colour number
(x + 2 y) mod n of the palette named beside it (the tests know the same
palettes). The JPEG is a 16 x 16 plain colour, checked only roughly."""
import os
import struct
import subprocess
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
W, H = 5, 3

TWO = [(200, 30, 40), (10, 90, 250)]
FOUR = [(0, 0, 0), (255, 255, 255), (255, 0, 0), (0, 128, 64)]
FIVE = [(0, 0, 0), (255, 255, 255), (250, 10, 20), (30, 200, 60), (17, 34, 251)]
GREYS = [0, 60, 128, 255]
# Transparent black (the usual background of a transparent PNG), opaque
# red, half-transparent blue.
RGBA = [(0, 0, 0, 0), (255, 0, 0, 255), (0, 0, 255, 128)]


def index(x, y, n):
    return (x + 2 * y) % n


def bmp(name, bits, palette):
    n = len(palette) if bits <= 8 else 5
    colours = palette if bits <= 8 else FIVE
    row = b""
    rows = []
    for y in reversed(range(H)):
        if bits <= 8:
            acc, nbits, row = 0, 0, bytearray()
            for x in range(W):
                acc = (acc << bits) | index(x, y, n)
                nbits += bits
                if nbits == 8:
                    row.append(acc)
                    acc, nbits = 0, 0
            if nbits:
                row.append(acc << (8 - nbits))
        else:
            row = bytearray()
            for x in range(W):
                r, g, b = colours[index(x, y, n)]
                row += bytes([b, g, r]) + (b"\x00" if bits == 32 else b"")
        while len(row) % 4:
            row.append(0)
        rows.append(bytes(row))
    pal = b"".join(bytes([b, g, r, 0]) for r, g, b in palette) if bits <= 8 else b""
    pixels = b"".join(rows)
    offset = 14 + 40 + len(pal)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, W, H, 1, bits, 0, len(pixels), 2835, 2835,
                       len(palette) if bits <= 8 else 0, 0)
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(header + info + pal + pixels)


def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def png(name, colour_type, pixel_bytes, extra=b""):
    raw = b"".join(b"\x00" + b"".join(pixel_bytes(x, y) for x in range(W)) for y in range(H))
    ihdr = struct.pack(">IIBBBBB", W, H, 8, colour_type, 0, 0, 0)
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) + extra +
                chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))


bmp("bits1.bmp", 1, TWO)
bmp("bits4.bmp", 4, FOUR)
bmp("bits8.bmp", 8, FIVE)
bmp("bits24.bmp", 24, FIVE)
bmp("bits32.bmp", 32, FIVE)
png("palette.png", 3, lambda x, y: bytes([index(x, y, 4)]),
    chunk(b"PLTE", b"".join(bytes(c) for c in FOUR)))
png("grey.png", 0, lambda x, y: bytes([GREYS[index(x, y, 4)]]))
png("rgba.png", 6, lambda x, y: bytes(RGBA[index(x, y, 3)]))
png("rgb.png", 2, lambda x, y: bytes(FIVE[index(x, y, 5)]))
subprocess.run(["convert", os.path.join(HERE, "palette.png"), os.path.join(HERE, "palette.gif")],
               check=True)
subprocess.run(["convert", "-size", "16x16", "xc:rgb(230,40,30)", "-quality", "90",
                os.path.join(HERE, "plain.jpg")], check=True)
with open(os.path.join(HERE, "not-an-image.bmp"), "w") as f:
    f.write("This is text, not a picture.\n")
