"""Aseprite files written by the file layout Aseprite publishes with its sources:
little-endian, a 128-byte header, frames of typed chunks."""

import struct
import zlib

LAYER, CEL, PALETTE = 0x2004, 0x2005, 0x2019
RGBA, GREY, INDEXED = 32, 16, 8
OPACITY_VALID = 1


def chunk(kind, data):
    return struct.pack("<IH", len(data) + 6, kind) + data


def layer(name, visible=True, opacity=255, blend=0, kind=0, level=0, background=False):
    flags = (1 if visible else 0) | 2 | (8 if background else 0)
    fields = struct.pack("<HHHHHHB3x", flags, kind, level, 0, 0, blend, opacity)
    return chunk(LAYER, fields + struct.pack("<H", len(name)) + name.encode())


def cel(layer_index, width, height, samples, x=0, y=0, opacity=255, kind=2):
    """kind 0 holds the samples raw, 2 compressed; 1 links (samples: the frame's number)."""
    fields = struct.pack("<HhhBHh5x", layer_index, x, y, opacity, kind, 0)
    if kind == 1:
        return chunk(CEL, fields + struct.pack("<H", samples))
    data = zlib.compress(samples) if kind == 2 else samples
    return chunk(CEL, fields + struct.pack("<HH", width, height) + data)


def palette(colours):
    """colours are 0xRRGGBB, all opaque."""
    entries = b"".join(struct.pack("<HBBBB", 0, c >> 16 & 255, c >> 8 & 255, c & 255, 255)
                       for c in colours)
    return chunk(PALETTE, struct.pack("<III8x", len(colours), 0, len(colours) - 1) + entries)


def old_palette(colours, sixty_four=False):
    """One packet of colours; the older chunk's samples go to 63."""
    scale = (lambda v: v * 63 // 255) if sixty_four else (lambda v: v)
    entries = b"".join(bytes(scale(c >> s & 255) for s in (16, 8, 0)) for c in colours)
    return chunk(0x0011 if sixty_four else 0x0004,
                 struct.pack("<HBB", 1, 0, len(colours)) + entries)


def frame(chunks):
    body = b"".join(chunks)
    return struct.pack("<IHHH2xI", 16 + len(body), 0xF1FA, len(chunks), 100, len(chunks)) + body


def sprite(width, height, depth, frames, transparent=0, flags=OPACITY_VALID):
    data = b"".join(frames)
    header = struct.pack("<IHHHHHIH8xB3xHBB", 128 + len(data), 0xA5E0, len(frames), width,
                         height, depth, flags, 100, transparent, 0, 1, 1)
    return header + bytes(128 - len(header)) + data


def samples(argb_rows, depth, index=None):
    """Pixels 0xAARRGGBB as the depth stores them; index(p) gives an indexed pixel's byte."""
    out = bytearray()
    for row in argb_rows:
        for p in row:
            if depth == RGBA:
                out += bytes((p >> 16 & 255, p >> 8 & 255, p & 255, p >> 24))
            elif depth == GREY:
                out += bytes((p & 255, p >> 24))
            else:
                out.append(index(p))
    return bytes(out)
