#!/usr/bin/env python3
"""Converts 24-bit uncompressed TGA screenshots into PNG files for viewing.
Usage: tga_to_png.py OUT_DIR FILE.tga..."""
import os
import struct
import sys
import zlib


def convert(path, out_dir):
    data = open(path, "rb").read()
    width, height = struct.unpack("<HH", data[12:16])
    pixels = data[18 + data[0]:]
    rows = []
    for y in range(height):  # the file holds the bottom row first
        row = pixels[(height - 1 - y) * width * 3:(height - y) * width * 3]
        rgb = bytearray(width * 3)
        rgb[0::3], rgb[1::3], rgb[2::3] = row[2::3], row[1::3], row[0::3]
        rows.append(b"\0" + bytes(rgb))

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(b"".join(rows))) + chunk(b"IEND", b"")
    name = os.path.basename(path).replace(" ", "_").replace(".tga", ".png")
    open(os.path.join(out_dir, name), "wb").write(png)


for tga in sys.argv[2:]:
    convert(tga, sys.argv[1])
