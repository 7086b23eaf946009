"""Picture files built byte by byte: headers that claim any size, with little or no data.

Only the standard library is used, so the tests need no picture tools. Each function
returns the bytes of a whole file whose header claims width x height pixels.
"""

import struct
import zlib


def _png_chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))


def png_claiming(width, height):
    """8-bit RGB with one short IDAT: valid chunks, far too little data."""
    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + _png_chunk(b"IHDR", header)
            + _png_chunk(b"IDAT", zlib.compress(bytes(64))) + _png_chunk(b"IEND", b""))


def gif_claiming(width, height):
    """Screen and frame both width x height, two-colour palette, a clear-and-end code stream."""
    screen = b"GIF89a" + struct.pack("<HHBBB", width, height, 0x80, 0, 0) + bytes(6)
    frame = b"\x2c" + struct.pack("<HHHHB", 0, 0, width, height, 0)
    return screen + frame + b"\x02\x02\x4c\x01\x00\x3b"


def bmp_claiming(width, height, bits=24):
    """Bottom-up BMP whose pixel array is missing."""
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, 0, 2835, 2835, 0, 0)
    palette = bytes(4 << bits) if bits <= 8 else b""
    offset = 14 + len(info) + len(palette)
    return struct.pack("<2sIHHI", b"BM", offset, 0, 0, offset) + info + palette


def jpeg_claiming(width, height):
    """Baseline JPEG header: one grey component, one quantisation and Huffman table, no scan
    data."""
    def segment(marker, body):
        return b"\xff" + bytes([marker]) + struct.pack(">H", len(body) + 2) + body
    quant = b"\x00" + bytes([1] * 64)
    frame = struct.pack(">BHHB", 8, height, width, 1) + b"\x01\x11\x00"
    huffman = b"\x00" + bytes([1] + [0] * 15) + b"\x00" + b"\x10" + bytes([1] + [0] * 15) + b"\x00"
    scan = b"\x01\x01\x00\x00\x3f\x00"
    return (b"\xff\xd8" + segment(0xDB, quant) + segment(0xC0, frame) + segment(0xC4, huffman)
            + segment(0xDA, scan) + b"\x00" * 16 + b"\xff\xd9")


def ico_holding(image, width_byte=0, height_byte=0):
    """An icon file with one directory entry pointing at image (PNG or bitmap bytes)."""
    entry = struct.pack("<BBBBHHII", width_byte, height_byte, 0, 0, 1, 32, len(image), 22)
    return struct.pack("<HHH", 0, 1, 1) + entry + image


def ico_png_claiming(width, height):
    return ico_holding(png_claiming(width, height))


def ico_bitmap_claiming(width, height):
    """An icon bitmap: its header counts the mask rows too, so it claims twice the height."""
    info = struct.pack("<IiiHHIIiiII", 40, width, 2 * height, 1, 32, 0, 0, 0, 0, 0, 0)
    return ico_holding(info + bytes(64))


def tiff_claiming(width, height):
    """Little-endian grey TIFF, one strip that the file does not hold."""
    tags = [(256, 4, width), (257, 4, height), (258, 3, 8), (259, 3, 1), (262, 3, 1),
            (273, 4, 8), (277, 3, 1), (278, 4, height), (279, 4, width * height)]
    directory = struct.pack("<H", len(tags))
    for tag, kind, value in tags:
        directory += struct.pack("<HHI", tag, kind, 1)
        directory += struct.pack("<HH", value, 0) if kind == 3 else struct.pack("<I", value)
    return b"II*\x00" + struct.pack("<I", 16) + bytes(8) + directory + bytes(4)


def aseprite_claiming(width, height):
    """RGBA sprite of one frame with one layer and no cel."""
    import aseprite_file as ase  # tests/support, on the path of every suite that builds these
    return ase.sprite(width, height, ase.RGBA, [ase.frame([ase.layer("sprite")])])


CLAIMING = {
    "aseprite": aseprite_claiming,
    "png": png_claiming,
    "gif": gif_claiming,
    "bmp": bmp_claiming,
    "jpg": jpeg_claiming,
    "ico": ico_png_claiming,
}
