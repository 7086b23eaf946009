"""Writes small test pictures with exact pixel values, using only the standard library.

A picture is a list of rows, each a list of 0xRRGGBB integers (or 0xAARRGGBB with
alpha=True). PNG and BMP are written here; other formats come from committed files.
"""

import struct
import zlib

BLACK = 0x000000
LIGHT = 0xAAAAAA
DARK = 0x555555
WHITE = 0xFFFFFF


def _png_chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))


def png_bytes(rows, alpha=False):
    height, width = len(rows), len(rows[0])
    raw = bytearray()
    for row in rows:
        raw.append(0)  # no filter
        for pixel in row:
            raw += bytes(((pixel >> 16) & 255, (pixel >> 8) & 255, pixel & 255))
            if alpha:
                raw.append((pixel >> 24) & 255)
    header = struct.pack(">IIBBBBB", width, height, 8, 6 if alpha else 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + _png_chunk(b"IHDR", header)
            + _png_chunk(b"IDAT", zlib.compress(bytes(raw)))
            + _png_chunk(b"IEND", b""))


def bmp_bytes(rows):
    """24-bit bottom-up BMP."""
    height, width = len(rows), len(rows[0])
    stride = (width * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for pixel in row:
            line += bytes((pixel & 255, (pixel >> 8) & 255, (pixel >> 16) & 255))
        pixels += line + bytes(stride - len(line))
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return header + info + bytes(pixels)


def write(path, rows, alpha=False):
    """Writes rows to path as PNG or BMP, chosen by the path's extension."""
    data = bmp_bytes(rows) if str(path).lower().endswith(".bmp") else png_bytes(rows, alpha)
    with open(path, "wb") as out:
        out.write(data)


def filled(width, height, colour=WHITE):
    return [[colour] * width for _ in range(height)]


def _dib_bytes(rows):
    """A 32-bit icon image: BITMAPINFOHEADER (double height), BGRA bottom-up, AND mask."""
    height, width = len(rows), len(rows[0])
    info = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = bytearray()
    for row in reversed(rows):
        for pixel in row:
            pixels += bytes((pixel & 255, (pixel >> 8) & 255, (pixel >> 16) & 255, 255))
    mask_stride = ((width + 31) // 32) * 4
    return info + bytes(pixels) + bytes(mask_stride * height)


def ico_bytes(images):
    """An icon file; images is a list of (rows, as_png) in directory order."""
    blobs = [png_bytes(rows) if as_png else _dib_bytes(rows) for rows, as_png in images]
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for (rows, _), blob in zip(images, blobs):
        width, height = len(rows[0]), len(rows)
        directory += struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, 32,
                                 len(blob), offset)
        offset += len(blob)
    return directory + b"".join(blobs)
