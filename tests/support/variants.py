"""One sprite written in many encodings, each holding exactly the same visible pixels.

Every variant converts to the same header as the plain RGB PNG of `expected(...)`:
the encoding may change nothing. Only the standard library is used, except WebP,
which is written by the libwebp the converter itself links.
"""

import ctypes
import ctypes.util
import itertools
import struct
import zlib

import aseprite_file as ase
from pictures import BLACK as K, DARK as D, LIGHT as L, WHITE as W, png_bytes

OTHER = 0x123456
CLEAR = 0x00FFFFFF  # alpha 0: background, whatever its colour
HALF = 0x80000000  # partly transparent black: background too
WIDTH, HEIGHT = 16, 5

FOUR = [K, L, D, W]
TWO = [K, W]
FIVE = [K, L, D, W, OTHER]
WITH_ALPHA = [K, L, D, W, OTHER, CLEAR, HALF]


def rows(colours):
    """Opaque colours are 0xRRGGBB; CLEAR and HALF carry their alpha."""
    return [[colours[(x * 7 + y * 3) % len(colours)] for x in range(WIDTH)]
            for y in range(HEIGHT)]


def argb(pixel):
    return pixel if pixel in (CLEAR, HALF) else 0xFF000000 | pixel


def expected(picture):
    """What the converter sees: anything not fully opaque is background."""
    return [[p if argb(p) >> 24 == 0xFF else W for p in row] for row in picture]


def _rgb(p):
    return (p >> 16) & 255, (p >> 8) & 255, p & 255


def _grey(p):
    return p & 255


# The 16-bit rule keeps a sample's high byte: these low bytes sit on either side of every
# boundary (0x00FE and 0x00FF are black, 0x0100 is not; 0xAAFF is light grey, 0xAB00 is
# not; an alpha of 0xFF00 is opaque), where rounding would decide otherwise.
BOUNDARY = [K, L, D, W, 0x010101, 0xABABAB]
LOW_BYTES = [0x00, 0xFE, 0xFF]


def _wide(value, x, y):
    """An 8-bit level as a 16-bit sample whose low byte depends on where the pixel is."""
    return value << 8 | LOW_BYTES[(x + 2 * y) % len(LOW_BYTES)]


def _wide_picture(picture, samples):
    """picture's pixels as tuples of 16-bit samples; samples(p) gives the 8-bit levels."""
    return [[tuple(_wide(v, x, y) for v in samples(p)) for x, p in enumerate(row)]
            for y, row in enumerate(picture)]


# ---- PNG: every colour type and depth, tRNS, Adam7 ----------------------------------

def _chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def _pack_bits(values, bits):
    out, acc, count = bytearray(), 0, 0
    for v in values:
        acc, count = acc << bits | v, count + bits
        if count == 8:
            out.append(acc)
            acc, count = 0, 0
    if count:
        out.append(acc << (8 - count))
    return bytes(out)


ADAM7 = [(0, 0, 8, 8), (4, 0, 8, 8), (0, 4, 4, 8), (2, 0, 4, 4), (0, 2, 2, 4), (1, 0, 2, 2),
         (0, 1, 1, 2)]


def _png(picture, colour_type, depth, interlace=False, palette=None, trns=None):
    """picture holds sample tuples (or palette indexes) per pixel."""
    def line(pixels):
        if colour_type == 3 or (colour_type == 0 and depth < 8):
            return _pack_bits([p[0] for p in pixels], depth)
        width = depth // 8
        return b"".join(v.to_bytes(width, "big") for p in pixels for v in p)

    raw = bytearray()
    passes = ADAM7 if interlace else [(0, 0, 1, 1)]
    for x0, y0, dx, dy in passes:
        for y in range(y0, len(picture), dy):
            pixels = picture[y][x0::dx]
            if pixels:
                raw += b"\0" + line(pixels)
    header = struct.pack(">IIBBBBB", len(picture[0]), len(picture), depth, colour_type, 0, 0,
                         int(interlace))
    data = b"\x89PNG\r\n\x1a\n" + _chunk(b"IHDR", header)
    if palette is not None:
        data += _chunk(b"PLTE", b"".join(bytes(_rgb(c)) for c in palette))
    if trns is not None:
        data += _chunk(b"tRNS", trns)
    return data + _chunk(b"IDAT", zlib.compress(bytes(raw))) + _chunk(b"IEND", b"")


def _scale(value, depth):
    """An 8-bit level as a sample of depth bits (exact for the four levels at 2+ bits)."""
    return value * ((1 << depth) - 1) // 255


def png_variants():
    out = []
    for interlace in (False, True):
        tag = "-adam7" if interlace else ""
        for depth, colours in ((1, TWO), (2, FOUR), (4, FOUR), (8, FOUR), (16, FOUR)):
            pic = rows(colours)
            grey = [[(_scale(_grey(p), depth),) for p in r] for r in pic]
            out.append(("grey%d%s.png" % (depth, tag), _png(grey, 0, depth, interlace), pic))
            if depth >= 2:  # dark grey keyed transparent
                key = _scale(_grey(D), depth).to_bytes(2, "big")
                out.append(("grey%d-trns%s.png" % (depth, tag),
                            _png(grey, 0, depth, interlace, trns=key),
                            [[CLEAR if p == D else p for p in r] for r in pic]))
        for depth in (8, 16):
            pic = rows(FIVE)
            rgb = [[tuple(v * 257 if depth == 16 else v for v in _rgb(p)) for p in r] for r in pic]
            out.append(("rgb%d%s.png" % (depth, tag), _png(rgb, 2, depth, interlace), pic))
            scale = 257 if depth == 16 else 1
            key = b"".join((v * scale).to_bytes(2, "big") for v in _rgb(OTHER))
            out.append(("rgb%d-trns%s.png" % (depth, tag), _png(rgb, 2, depth, interlace, trns=key),
                        [[CLEAR if p == OTHER else p for p in r] for r in pic]))
            pic = rows(WITH_ALPHA)
            unit = 257 if depth == 16 else 1
            rgba = [[tuple(v * unit for v in _rgb(p)) + ((argb(p) >> 24) * unit,) for p in r]
                    for r in pic]
            out.append(("rgba%d%s.png" % (depth, tag), _png(rgba, 6, depth, interlace), pic))
            grey_pic = rows([K, L, D, W, CLEAR, HALF])
            ga = [[(_grey(p) * unit, (argb(p) >> 24) * unit) for p in r] for r in grey_pic]
            out.append(("greyalpha%d%s.png" % (depth, tag), _png(ga, 4, depth, interlace),
                        grey_pic))
        for depth, colours in ((1, TWO), (2, FOUR), (4, FIVE), (8, FIVE)):
            pic = rows(colours)
            index = [[(colours.index(p),) for p in r] for r in pic]
            out.append(("palette%d%s.png" % (depth, tag),
                        _png(index, 3, depth, interlace, palette=colours), pic))
            if depth >= 2:  # light grey's entry fully, black's half transparent
                alphas = bytes(0x80 if c == K else 0 if c == L else 255 for c in colours)
                out.append(("palette%d-trns%s.png" % (depth, tag),
                            _png(index, 3, depth, interlace, palette=colours, trns=alphas),
                            [[HALF if p == K else CLEAR if p == L else p for p in r] for r in pic]))
    pic = rows(BOUNDARY)
    out.append(("grey16-boundaries.png", _png(_wide_picture(pic, lambda p: (_grey(p),)), 0, 16),
                pic))
    out.append(("rgb16-boundaries.png", _png(_wide_picture(pic, _rgb), 2, 16), pic))
    out.append(("rgba16-boundaries.png",
                _png(_wide_picture(pic, lambda p: _rgb(p) + (255,)), 6, 16), pic))
    return out


# ---- BMP: depths, bitfields, OS/2 and newer headers, top-down ------------------------

def _bmp_rows(picture, bits, encode, top_down):
    stride = (len(picture[0]) * bits + 31) // 32 * 4
    data = bytearray()
    for row in (picture if top_down else reversed(picture)):
        if bits <= 8:
            line = _pack_bits([encode(p) for p in row], bits)
        else:
            line = b"".join(encode(p) for p in row)
        data += line + bytes(stride - len(line))
    return bytes(data)


def _bmp(picture, bits, encode, palette=(), header=40, compression=0, masks=b"",
         top_down=False, pixels=None):
    if pixels is None:
        pixels = _bmp_rows(picture, bits, encode, top_down)
    width, height = len(picture[0]), len(picture) * (-1 if top_down else 1)
    if header == 12:
        info = struct.pack("<IHHHH", 12, width, height, 1, bits)
        table = b"".join(bytes(_rgb(c)[::-1]) for c in palette)
    else:
        info = struct.pack("<IiiHHIIiiII", header, width, height, 1, bits, compression,
                           len(pixels), 2835, 2835, len(palette), 0)
        if header > 40:
            info += masks.ljust(header - 40, b"\0")
            masks = b""
        table = b"".join(bytes(_rgb(c)[::-1]) + b"\0" for c in palette)
    offset = 14 + len(info) + len(masks) + len(table)
    return struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset) + info + masks \
        + table + pixels


def _bgr(p):
    return bytes(_rgb(p)[::-1])


def _fourth_bytes():
    """Pixel encoder of 32-bit BMP whose unused fourth byte holds anything but 255."""
    values = itertools.cycle([0x80, 0x00, 0x01, 0x7F])
    return lambda p: _bgr(p) + bytes((next(values),))


def _rle_pixels(indexes, nibbles):
    """Runs of equal indexes as encoded runs, the rest in absolute mode (three or more)."""
    out, i = bytearray(), 0
    while i < len(indexes):
        run = 1
        while i + run < len(indexes) and run < 255 and indexes[i + run] == indexes[i]:
            run += 1
        literal = 1  # neighbours that differ
        while (i + literal < len(indexes) and literal < 255
               and indexes[i + literal] != indexes[i + literal - 1]):
            literal += 1
        if run == 1 and literal >= 3:
            chunk = indexes[i:i + literal]
            data = _pack_bits(chunk, 4) if nibbles else bytes(chunk)
            out += bytes((0, literal)) + data + bytes(len(data) % 2)
            i += literal
        else:
            out += bytes((run, indexes[i] * 17 if nibbles else indexes[i]))
            i += run
    return bytes(out)


def _rle_bmp(picture, bits):
    """RLE8 or RLE4 of picture (palette FIVE) with a delta, ends of line and an end of
    picture before the last row; what no code reaches is background."""
    width, height = len(picture[0]), len(picture)
    index = [[FIVE.index(p) for p in r] for r in reversed(picture)]  # bottom row first
    seen = [[False] * width for _ in range(height)]

    def pixels(row, start, end):
        for x in range(start, end):
            seen[row][x] = True
        return _rle_pixels(index[row][start:end], bits == 4)

    data = pixels(0, 0, 6) + b"\0\2\4\0" + pixels(0, 10, 16) + b"\0\0"  # delta 4 right
    data += pixels(1, 0, 10) + b"\0\0"  # end of line before the row's end
    data += b"\0\2\3\1" + pixels(3, 3, 16) + b"\0\0"  # delta 3 right, 1 up: row 2 skipped
    data += pixels(4, 0, 8) + b"\0\1"  # end of picture
    expected = [[picture[height - 1 - row][x] if seen[row][x] else CLEAR for x in range(width)]
                for row in reversed(range(height))]
    return _bmp(picture, bits, None, palette=FIVE, compression=1 if bits == 8 else 2,
                pixels=data), expected


def bmp_variants():
    out = []
    for bits, colours in ((1, TWO), (4, FIVE), (8, FIVE)):
        pic = rows(colours)
        out.append(("paletted%d.bmp" % bits,
                    _bmp(pic, bits, colours.index, palette=colours), pic))
    pic = rows(FIVE)
    out.append(("rgb24.bmp", _bmp(pic, 24, _bgr), pic))
    out.append(("rgb24-topdown.bmp", _bmp(pic, 24, _bgr, top_down=True), pic))
    out.append(("rgb32.bmp", _bmp(pic, 32, lambda p: _bgr(p) + b"\0"), pic))
    out.append(("os2-24.bmp", _bmp(pic, 24, _bgr, header=12), pic))
    out.append(("os2-8.bmp", _bmp(pic, 8, FIVE.index, palette=FIVE, header=12), pic))
    rgba_masks = struct.pack("<IIII", 0xFF0000, 0xFF00, 0xFF, 0xFF000000)
    alpha_pic = rows(WITH_ALPHA)
    out.append(("v5-rgba32.bmp", _bmp(alpha_pic, 32,
                                      lambda p: _bgr(p) + bytes((argb(p) >> 24,)), header=124,
                                      compression=3, masks=rgba_masks), alpha_pic))
    two = rows(TWO)  # five bits a channel hold black and white exactly, not the greys
    out.append(("rgb555.bmp", _bmp(two, 16, lambda p: struct.pack("<H", 0x7FFF if p else 0)),
                two))
    out.append(("bitfields565.bmp",
                _bmp(two, 16, lambda p: struct.pack("<H", 0xFFFF if p else 0), compression=3,
                     masks=struct.pack("<III", 0xF800, 0x07E0, 0x001F)), two))
    # The fourth byte of a 32-bit pixel is alpha only where an alpha mask says so.
    rgb_masks = struct.pack("<III", 0xFF0000, 0xFF00, 0xFF)
    out.append(("rgb32-fourth-byte.bmp", _bmp(pic, 32, _fourth_bytes()), pic))
    out.append(("bitfields32-fourth-byte.bmp",
                _bmp(pic, 32, _fourth_bytes(), compression=3, masks=rgb_masks), pic))
    for header in (108, 124):
        out.append(("v%d-rgb32-fourth-byte.bmp" % {108: 4, 124: 5}[header],
                    _bmp(pic, 32, _fourth_bytes(), header=header), pic))
        out.append(("v%d-bitfields32-fourth-byte.bmp" % {108: 4, 124: 5}[header],
                    _bmp(pic, 32, _fourth_bytes(), header=header, compression=3,
                         masks=rgb_masks + bytes(4)), pic))
    alpha_in = lambda p: _bgr(p) + bytes((argb(p) >> 24,))  # noqa: E731
    out.append(("v4-rgb32-alpha-mask.bmp",
                _bmp(alpha_pic, 32, alpha_in, header=108, masks=rgba_masks), alpha_pic))
    out.append(("alphabitfields32.bmp", _bmp(alpha_pic, 32, alpha_in, compression=6,
                                             masks=rgba_masks), alpha_pic))
    # The 56-byte header holds its masks; here red in the top byte, alpha in the lowest.
    top_red = lambda p: struct.pack("<I", (p & 0xFFFFFF) << 8 | argb(p) >> 24)  # noqa: E731
    out.append(("v3-bitfields32.bmp", _bmp(alpha_pic, 32, top_red, header=56, compression=3,
                                           masks=struct.pack("<IIII", 0xFF000000, 0xFF0000,
                                                             0xFF00, 0xFF)), alpha_pic))
    out.append(("v3-bitfields32-no-alpha.bmp",
                _bmp(pic, 32, lambda p: struct.pack("<I", p << 8 | 0x80), header=56,
                     compression=3, masks=struct.pack("<IIII", 0xFF000000, 0xFF0000, 0xFF00, 0)),
                pic))
    for bits in (8, 4):
        data, expected = _rle_bmp(pic, bits)
        out.append(("rle%d.bmp" % bits, data, expected))
    return out


# ---- GIF: palettes, transparency, interlace, frames ----------------------------------

def _lzw(indexes, min_size):
    """Valid LZW that never grows the code table: a clear code before it would."""
    clear, size = 1 << min_size, min_size + 1
    codes, room = [clear], (1 << size) - clear - 2
    for i, index in enumerate(indexes):
        if i and i % room == 0:
            codes.append(clear)
        codes.append(index)
    codes.append(clear + 1)
    acc, count, data = 0, 0, bytearray()
    for code in codes:
        acc |= code << count
        count += size
        while count >= 8:
            data.append(acc & 255)
            acc, count = acc >> 8, count - 8
    if count:
        data.append(acc)
    blocks = b"".join(bytes((len(data[i:i + 255]),)) + data[i:i + 255]
                      for i in range(0, len(data), 255))
    return bytes((min_size,)) + blocks + b"\0"


def _gif(frames, palette, local=False, transparent=None, interlace=False):
    table = b"".join(bytes(_rgb(c)) for c in palette).ljust(3 * 8, b"\0")
    width, height = len(frames[0][0]), len(frames[0])
    flags = 0 if local else 0x82  # a global table of 8 entries
    data = b"GIF89a" + struct.pack("<HHBBB", width, height, flags, 0, 0) + (b"" if local else table)
    for picture in frames:
        if transparent is not None:
            data += b"\x21\xf9\x04\x01\x00\x00" + bytes((transparent,)) + b"\0"
        order = list(range(height))
        if interlace:
            order = [y for start, step in ((0, 8), (4, 8), (2, 4), (1, 2))
                     for y in range(start, height, step)]
        indexes = [picture[y][x] for y in order for x in range(width)]
        descriptor = (0x82 if local else 0) | (0x40 if interlace else 0)
        data += b"\x2c" + struct.pack("<HHHHB", 0, 0, width, height, descriptor)
        data += (table if local else b"") + _lzw(indexes, 3)
    return data + b";"


def gif_variants():
    pic = rows(FIVE)
    index = [[FIVE.index(p) for p in r] for r in pic]
    white = [[FIVE.index(W)] * WIDTH for _ in range(HEIGHT)]
    keyed = [[CLEAR if p == OTHER else p for p in r] for r in pic]
    return [
        ("global.gif", _gif([index], FIVE), pic),
        ("local.gif", _gif([index], FIVE, local=True), pic),
        ("interlaced.gif", _gif([index], FIVE, interlace=True), pic),
        ("transparent.gif", _gif([index], FIVE, transparent=FIVE.index(OTHER)), keyed),
        ("two-frames.gif", _gif([index, white], FIVE), pic),
    ]


# ---- ICO and CUR: bitmap depths with masks and alpha, embedded PNG -------------------

def _dib(picture, bits, alpha_in_channel, palette=()):
    """Colour rows then the AND mask, which marks every pixel that is not opaque."""
    def encode(p):
        if bits <= 8:
            return palette.index(p if argb(p) >> 24 == 0xFF else W)
        alpha = (argb(p) >> 24) if alpha_in_channel else 0
        return _bgr(p & 0xFFFFFF) + (bytes((alpha,)) if bits == 32 else b"")

    colours = _bmp_rows(picture, bits, encode, False)
    mask_bits = [[0 if argb(p) >> 24 == 0xFF else 1 for p in r] for r in picture]
    mask = _bmp_rows(mask_bits, 1, lambda m: m, False)
    info = struct.pack("<IiiHHIIiiII", 40, len(picture[0]), 2 * len(picture), 1, bits, 0, 0, 0, 0,
                       len(palette), 0)
    table = b"".join(_bgr(c) + b"\0" for c in palette)
    return info + table + colours + mask


def _icon(images, kind=1):
    directory = struct.pack("<HHH", 0, kind, len(images))
    offset = 6 + 16 * len(images)
    for width, height, blob in images:
        directory += struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, 32,
                                 len(blob), offset)
        offset += len(blob)
    return directory + b"".join(blob for _, _, blob in images)


def icon_variants():
    out = []
    masked = rows([K, L, D, W, OTHER, CLEAR])
    small = (8, 8, _dib([[W] * 8] * 8, 24, False))
    for bits, palette in ((1, None), (4, FIVE), (8, FIVE), (24, None), (32, None)):
        pic = rows([K, W, CLEAR]) if bits == 1 else masked
        blob = _dib(pic, bits, False, palette or ([K, W] if bits == 1 else ()))
        for kind, name in ((1, "masked%d.ico"), (2, "masked%d-cursor.cur")):
            out.append((name % bits,
                        _icon([small, (WIDTH, HEIGHT, blob)], kind), pic))
    # Partial alpha where the mask says opaque: the alpha holds.
    alpha = rows(WITH_ALPHA)
    blob = _dib(alpha, 32, True)
    unmasked = blob[:len(blob) - 4 * HEIGHT] + bytes(4 * HEIGHT)
    out.append(("alpha32-mask0.ico", _icon([(WIDTH, HEIGHT, unmasked)]), alpha))
    out.append(("alpha32.ico", _icon([(WIDTH, HEIGHT, blob)]), alpha))
    rgba = [[_rgb(p) + (argb(p) >> 24,) for p in r] for r in alpha]
    out.append(("png.ico", _icon([small, (WIDTH, HEIGHT, _png(rgba, 6, 8))]), alpha))
    return out


# ---- TGA: colour-mapped, truecolour, grey; both origins; RLE -------------------------

def _tga_rle(pixels):
    """Runs of equal pixels as run packets, the rest as raw packets of one pixel."""
    out, i = bytearray(), 0
    while i < len(pixels):
        run = 1
        while i + run < len(pixels) and run < 128 and pixels[i + run] == pixels[i]:
            run += 1
        out += bytes((0x80 | (run - 1),)) + pixels[i] if run > 1 else b"\0" + pixels[i]
        i += run
    return bytes(out)


def _tga(picture, image_type, bits, encode, palette=(), top=False, right=False):
    ordered = picture if top else list(reversed(picture))
    if right:
        ordered = [list(reversed(r)) for r in ordered]
    pixels = [encode(p) for r in ordered for p in r]
    data = _tga_rle(pixels) if image_type >= 9 else b"".join(pixels)
    colour_map = b"".join(_bgr(c) for c in palette)
    header = struct.pack("<BBBHHBHHHHBB", 0, 1 if palette else 0, image_type, 0, len(palette),
                         24 if palette else 0, 0, 0, len(picture[0]), len(picture), bits,
                         (0x20 if top else 0) | (0x10 if right else 0) | (8 if bits == 32 else 0))
    return header + colour_map + data


def tga_variants():
    out = []
    pic, alpha, grey = rows(FIVE), rows(WITH_ALPHA), rows(FOUR)
    for rle, tag in ((0, ""), (8, "-rle")):
        for top, right in itertools.product((False, True), (False, True)):
            where = ("-top" if top else "-bottom") + ("-right" if right else "")
            out.append(("rgb24%s%s.tga" % (where, tag),
                        _tga(pic, 2 + rle, 24, _bgr, top=top, right=right), pic))
            out.append(("mapped%s%s.tga" % (where, tag),
                        _tga(pic, 1 + rle, 8, lambda p: bytes((FIVE.index(p),)), FIVE, top,
                             right), pic))
        out.append(("grey8-top-right%s.tga" % tag,
                    _tga(grey, 3 + rle, 8, lambda p: bytes((_grey(p),)), top=True, right=True),
                    grey))
        out.append(("rgba32%s.tga" % tag,
                    _tga(alpha, 2 + rle, 32, lambda p: _bgr(p) + bytes((argb(p) >> 24,))), alpha))
        out.append(("grey8%s.tga" % tag, _tga(grey, 3 + rle, 8, lambda p: bytes((_grey(p),))),
                    grey))
    return out


# ---- PNM, TIFF, WebP ----------------------------------------------------------------

def pnm_variants():
    out = []
    grey, pic = rows(FOUR), rows(FIVE)
    for maxval, width in ((255, 1), (65535, 2)):
        unit = 257 if maxval == 65535 else 1
        samples = b"".join((_grey(p) * unit).to_bytes(width, "big") for r in grey for p in r)
        out.append(("grey%d.pgm" % (8 * width),
                    b"P5\n# made by a test\n%d %d\n%d\n" % (WIDTH, HEIGHT, maxval) + samples, grey))
        samples = b"".join((v * unit).to_bytes(width, "big") for r in pic for p in r
                           for v in _rgb(p))
        out.append(("rgb%d.ppm" % (8 * width),
                    b"P6 %d %d %d\n" % (WIDTH, HEIGHT, maxval) + samples, pic))
    samples = bytes(_grey(p) for r in grey for p in r)
    out.append(("grey8-comments.pgm",  # a comment may follow a side at once
                b"P5#a\n#b\n%d %d#c\n \t#d 44\n255\n" % (WIDTH, HEIGHT) + samples, grey))
    bound = rows(BOUNDARY)
    wide = _wide_picture(bound, _rgb)
    samples = b"".join(v.to_bytes(2, "big") for r in wide for p in r for v in p)
    out.append(("rgb16-boundaries.ppm", b"P6\n%d %d\n65535\n" % (WIDTH, HEIGHT) + samples,
                bound))
    grey_wide = _wide_picture(bound, lambda p: (_grey(p),))
    samples = b"".join(p[0].to_bytes(2, "big") for r in grey_wide for p in r)
    out.append(("grey16-boundaries.pgm", b"P5\n%d %d\n65535\n" % (WIDTH, HEIGHT) + samples,
                bound))
    # Samples go to the header's maximum: with 3, sample 2 is light grey.
    for maxval, width in ((3, 1), (1023, 2)):
        levels = [_grey(p) * maxval // 255 for r in grey for p in r]
        samples = b"".join(v.to_bytes(width, "big") for v in levels)
        out.append(("grey-max%d.pgm" % maxval,
                    b"P5\n%d %d\n%d\n" % (WIDTH, HEIGHT, maxval) + samples, grey))
    return out


def _tiff(picture, samples_per_pixel, encode, bits=8):
    """Little-endian baseline TIFF: one uncompressed strip; encode(p, x, y) gives a pixel."""
    strip = b"".join(encode(p, x, y) for y, r in enumerate(picture) for x, p in enumerate(r))
    entries = [(256, 3, 1, len(picture[0])), (257, 3, 1, len(picture)),
               (258, 3, 1, bits), (259, 3, 1, 1), (262, 3, 1, 2 if samples_per_pixel == 3 else 1),
               (273, 4, 1, 8), (277, 3, 1, samples_per_pixel), (278, 3, 1, len(picture)),
               (279, 4, 1, len(strip))]
    if samples_per_pixel == 3:  # BitsPerSample needs a value for each sample
        entries[2] = (258, 3, 3, 8 + len(strip) + 2 + 12 * len(entries) + 4)
    ifd = struct.pack("<H", len(entries))
    for tag, kind, count, value in entries:
        ifd += struct.pack("<HHI", tag, kind, count) + struct.pack("<I", value)
    extra = struct.pack("<HHH", bits, bits, bits) if samples_per_pixel == 3 else b""
    return b"II*\0" + struct.pack("<I", 8 + len(strip)) + strip + ifd + b"\0\0\0\0" + extra


def tiff_variants():
    grey, pic, bound = rows(FOUR), rows(FIVE), rows(BOUNDARY)

    def wide(levels):
        return lambda p, x, y: b"".join(struct.pack("<H", _wide(v, x, y)) for v in levels(p))

    return [("grey8.tif", _tiff(grey, 1, lambda p, x, y: bytes((_grey(p),))), grey),
            ("rgb24.tif", _tiff(pic, 3, lambda p, x, y: bytes(_rgb(p))), pic),
            ("grey16-boundaries.tif", _tiff(bound, 1, wide(lambda p: (_grey(p),)), 16), bound),
            ("rgb48-boundaries.tif", _tiff(bound, 3, wide(_rgb), 16), bound)]


def _webp_library():
    name = ctypes.util.find_library("webp")
    return ctypes.CDLL(name) if name else None


def webp_variants():
    library = _webp_library()
    if library is None:
        return []
    pic = rows(WITH_ALPHA)
    rgba = b"".join(bytes(_rgb(p)) + bytes((argb(p) >> 24,)) for r in pic for p in r)
    output = ctypes.POINTER(ctypes.c_uint8)()
    size = library.WebPEncodeLosslessRGBA(rgba, WIDTH, HEIGHT, WIDTH * 4, ctypes.byref(output))
    data = ctypes.string_at(output, size)
    library.WebPFree(output)
    return [("lossless.webp", data, pic)]


# ---- Aseprite: colour modes, raw and zlib cels, layers, cel positions, frames --------

def _full(picture):
    return [[argb(p) for p in r] for r in picture]


def _one_cel_sprite(picture, depth, kind):
    pixels = ase.samples(_full(picture), depth)
    return ase.sprite(WIDTH, HEIGHT, depth, [ase.frame(
        [ase.layer("sprite"), ase.cel(0, WIDTH, HEIGHT, pixels, kind=kind)])])


def _black(width, height):
    return ase.samples([[0xFF000000] * width] * height, ase.RGBA)


def _layered(picture, layers, cels, later=()):
    """picture on layer 0, then the given layers and their cels; later: a second frame."""
    first = [ase.layer("sprite")] + layers
    first += [ase.cel(0, WIDTH, HEIGHT, ase.samples(_full(picture), ase.RGBA))] + cels
    frames = [ase.frame(first)] + ([ase.frame(list(later))] if later else [])
    return ase.sprite(WIDTH, HEIGHT, ase.RGBA, frames)


def _moved_cels(picture):
    """The right part on a cel moved to (6, -1), reaching past the canvas to the right and
    above it, where it holds black."""
    inside = [[argb(p) for p in r[6:]] + [0xFF000000] * 2 for r in picture]
    right = [[0xFF000000] * (WIDTH - 4)] + inside
    left = [[argb(p) for p in r[:6]] for r in picture]
    return ase.sprite(WIDTH, HEIGHT, ase.RGBA, [ase.frame([
        ase.layer("left"), ase.layer("right"),
        ase.cel(0, 6, HEIGHT, ase.samples(left, ase.RGBA)),
        ase.cel(1, WIDTH - 4, HEIGHT + 1, ase.samples(right, ase.RGBA), x=6, y=-1)])])


def _indexed(background, palette=ase.palette):
    """Index 5 is the transparent one, though its colour is black: a background layer
    shows it. Gives the sprite and its picture."""
    indexes = rows(list(range(6)))
    pixels = ase.samples(indexes, ase.INDEXED, lambda i: i)
    data = ase.sprite(WIDTH, HEIGHT, ase.INDEXED, [ase.frame([
        palette(FIVE + [K]), ase.layer("sprite", background=background),
        ase.cel(0, WIDTH, HEIGHT, pixels)])], transparent=5)
    shown = FIVE + [K if background else CLEAR]
    return data, [[shown[i] for i in r] for r in indexes]


# 50% black over a level: black stays, light grey becomes dark grey, the rest background.
HALF_BLACK_OVER = {K: K, L: D}


def aseprite_variants():
    alpha, grey, five = rows(WITH_ALPHA), rows(FOUR), rows(FIVE)
    out = []
    for kind, tag in ((2, "zlib"), (0, "raw")):
        out.append(("rgba-%s.aseprite" % tag, _one_cel_sprite(alpha, ase.RGBA, kind), alpha))
        out.append(("grey-%s.ase" % tag, _one_cel_sprite(grey, ase.GREY, kind), grey))
    out.append(("indexed.aseprite",) + _indexed(False))
    out.append(("indexed-background.ase",) + _indexed(True))
    out.append(("indexed-old-palette.ase",) + _indexed(False, ase.old_palette))
    out.append(("indexed-6-bit-palette.ase",)
               + _indexed(False, lambda colours: ase.old_palette(colours, True)))
    hidden = [ase.layer("hidden", visible=False), ase.layer("off", visible=False, kind=1),
              ase.layer("inside", level=1)]
    out.append(("hidden-layers.aseprite", _layered(five, hidden, [
        ase.cel(1, WIDTH, HEIGHT, _black(WIDTH, HEIGHT)),
        ase.cel(3, WIDTH, HEIGHT, _black(WIDTH, HEIGHT))]), five))
    out.append(("moved-cels.aseprite", _moved_cels(five), five))
    out.append(("linked-later-frame.aseprite", _layered(five, [ase.layer("later")], [], [
        ase.cel(0, 0, 0, 0, kind=1), ase.cel(1, WIDTH, HEIGHT, _black(WIDTH, HEIGHT))]), five))
    out.append(("half-layer.aseprite", _layered(five, [ase.layer("shade", opacity=128)], [
        ase.cel(1, 8, HEIGHT, _black(8, HEIGHT))]),
        [[HALF_BLACK_OVER.get(p, W) if x < 8 else p for x, p in enumerate(r)] for r in five]))
    out.append(("multiply.aseprite", _layered(five, [ase.layer("ink", blend=1)], [
        ase.cel(1, 8, HEIGHT, _black(8, HEIGHT), x=8)]),
        [[K if x >= 8 else p for x, p in enumerate(r)] for r in five]))
    return out


FAMILIES = {"png": png_variants, "bmp": bmp_variants, "gif": gif_variants,
            "icon": icon_variants, "tga": tga_variants, "pnm": pnm_variants,
            "tiff": tiff_variants, "webp": webp_variants, "aseprite": aseprite_variants}


# Extensions whose family has another name; tests/formats checks them against the reader's
# table of formats.
EXTENSION_FAMILIES = {"ico": "icon", "cur": "icon", "pgm": "pnm", "ppm": "pnm", "pnm": "pnm",
                      "tif": "tiff", "jpg": "jpeg", "jpe": "jpeg", "jfif": "jpeg", "dib": "bmp",
                      "ase": "aseprite"}


def family_of(name):
    extension = name.rsplit(".", 1)[-1].lower()
    return EXTENSION_FAMILIES.get(extension, extension)


def all_variants():
    """(family, file name, bytes, picture) of every variant."""
    return [(family, name, data, picture) for family, make in FAMILIES.items()
            for name, data, picture in make()]


def reference_png(picture):
    return png_bytes(expected(picture))
