"""Builds hostile pictures (decompression/CPU bombs and size-check bypasses) into a folder.

Usage: make_bombs.py OUT [--full] [PREFIX ...]; test_bombs.py runs it into a temporary folder.
Bombs that only repeat a structure are written at a tenth of their full size (--full, for
make bench): the same code paths, a tenth of the disk. Their names say the size written."""
import os
import struct
import sys
import zlib

OUT = sys.argv[1] if len(sys.argv) > 1 else "bombs"
os.makedirs(OUT, exist_ok=True)
FULL = "--full" in sys.argv[2:]
ONLY = set(sys.argv[2:]) - {"--full"}


def scaled(count):
    """How many of a repeated structure the bomb holds: its full count or a tenth."""
    return count if FULL else count // 10


def counted(count):
    """A count for a name: 5m, 500k."""
    return "%dm" % (count // 1_000_000) if count % 1_000_000 == 0 else "%dk" % (count // 1000)


def w(name, data):
    if ONLY and not any(name.startswith(o) for o in ONLY):
        return
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(data)


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xffffffff)


def ihdr(wd, ht, depth=8, ctype=2, interlace=0):
    return chunk(b"IHDR", struct.pack(">IIBBBBB", wd, ht, depth, ctype, 0, 0, interlace))


SIG = b"\x89PNG\r\n\x1a\n"


def zeros_zlib(total, block=1 << 20):
    """A zlib stream of `total` zero bytes, made by repeating one fully flushed block."""
    # after a full flush the compressor state is reset, so the same input gives the same bytes
    c2 = zlib.compressobj(9)
    head = c2.compress(bytes(block)) + c2.flush(zlib.Z_FULL_FLUSH)
    rep = c2.compress(bytes(block)) + c2.flush(zlib.Z_FULL_FLUSH)
    n = total // block
    body = head + rep * (n - 1)
    # final empty block + adler32 of n*block zeros: a = 1, b = len mod 65521
    tail = c2.flush(zlib.Z_FINISH)
    # the tail from c2 carries adler32 of the bytes c2 saw (2 blocks); rebuild with the right one
    tail = tail[:-4] + struct.pack(">I", (((n * block) % 65521) << 16) | 1)
    return body + tail


# ---------------- PNG ----------------
def png_bombs():
    # 8 x 4095 RGB, 8-bit: rows of 1 + 24 bytes. Valid image, then gigabytes more zeros in
    # the same zlib stream ("too much image data").
    need = 4095 * (1 + 8 * 3)
    sizes = [(1 << 30, "1g"), (6 << 30, "6g")]
    if FULL:
        sizes = [(1 << 30, "1g"), (16 << 30, "16g"), (60 << 30, "60g")]
    for mb_out, tag in sizes:
        z = zeros_zlib(mb_out)
        # IDAT in 1 MB chunks
        idats = b"".join(chunk(b"IDAT", z[i:i + (1 << 20)]) for i in range(0, len(z), 1 << 20))
        w("png-extra-zlib-%s.png" % tag, SIG + ihdr(8, 4095) + idats + chunk(b"IEND", b""))
    # The same image split into 1-byte IDAT chunks (millions of chunks)
    z = zlib.compress(bytes(need), 0)
    many = b"".join(chunk(b"IDAT", z[i:i + 1]) for i in range(len(z)))
    w("png-1byte-idats.png", SIG + ihdr(8, 4095) + many + chunk(b"IEND", b""))
    # Then 4M empty IDAT chunks after the image
    w("png-empty-idats-after.png", SIG + ihdr(8, 4095) + chunk(b"IDAT", z) +
      chunk(b"IDAT", b"") * scaled(4_000_000) + chunk(b"IEND", b""))
    # 60 MB of private ancillary chunks before the image
    anc = chunk(b"prIv", bytes(1000)) * scaled(60000)
    w("png-ancillary-%dmb.png" % scaled(60), SIG + ihdr(8, 8) + anc
      + chunk(b"IDAT", zlib.compress(bytes(8 * 25))) + chunk(b"IEND", b""))
    # 1.5M tEXt chunks (cache limit) before IDAT
    txt = chunk(b"tEXt", b"k\x00v") * scaled(1_500_000)
    w("png-many-text.png", SIG + ihdr(8, 8) + txt + chunk(b"IDAT", zlib.compress(bytes(8 * 25))) +
      chunk(b"IEND", b""))
    # 5 million empty ancillary chunks (57 MB), then 4.5 million one-byte IDAT chunks that
    # hold nothing but empty deflate blocks: each costs libpng the same whatever it holds
    w("png-%s-empty-ancillary.png" % counted(scaled(5_000_000)),
      SIG + ihdr(8, 8) + chunk(b"teXt", b"") * scaled(5_000_000) +
      chunk(b"IDAT", zlib.compress(bytes(8 * 25))) + chunk(b"IEND", b""))
    empty_blocks = b"\x78\x01" + b"\x00\x00\x00\xff\xff" * scaled(900_000)
    one_byte = {value: chunk(b"IDAT", bytes([value])) for value in set(empty_blocks)}
    w("png-1byte-idats-of-empty-blocks.png", SIG + ihdr(8, 4095) +
      b"".join(one_byte[value] for value in empty_blocks) + chunk(b"IEND", b""))
    # zTXt bomb: 1 GB of text compressed
    zt = chunk(b"zTXt", b"Comment\x00\x00" + zeros_zlib(1 << 30))
    w("png-ztxt-bomb.png", SIG + ihdr(8, 8) + zt + chunk(b"IDAT", zlib.compress(bytes(8 * 25))) +
      chunk(b"IEND", b""))
    # iCCP bomb
    ic = chunk(b"iCCP", b"icc\x00\x00" + zeros_zlib(1 << 30))
    w("png-iccp-bomb.png", SIG + ihdr(8, 8) + ic + chunk(b"IDAT", zlib.compress(bytes(8 * 25))) +
      chunk(b"IEND", b""))
    # 16-bit RGBA interlaced at the limit, 32760 pixels, all zeros (transparent)
    # Adam7 sizes are awkward; just give far too much data.
    w("png-16bit-rgba-adam7-limit.png", SIG + ihdr(8, 4095, 16, 6, 1) +
      chunk(b"IDAT", zlib.compress(bytes(4095 * (1 + 64) * 2), 9)) + chunk(b"IEND", b""))
    # Width 32760, height 1
    w("png-32760x1.png", SIG + ihdr(32760, 1)
      + chunk(b"IDAT", zlib.compress(bytes(1 + 32760 * 3))) + chunk(b"IEND", b""))
    # APNG: acTL with 2^31 frames, fcTL huge
    actl = chunk(b"acTL", struct.pack(">II", 0x7fffffff, 0))
    fctl = chunk(b"fcTL", struct.pack(">IIIIIHHBB", 0, 60000, 60000, 0, 0, 1, 1, 0, 0))
    w("png-apng-huge-fctl.png", SIG + ihdr(8, 8) + actl + fctl
      + chunk(b"IDAT", zlib.compress(bytes(8 * 25))) + chunk(b"IEND", b""))
    # palette PNG with tRNS longer than palette, bit depth 1, width 32760
    w("png-palette-trns.png", SIG + ihdr(8, 8, 1, 3) + chunk(b"PLTE", bytes(6))
      + chunk(b"tRNS", bytes(256)) + chunk(b"IDAT", zlib.compress(bytes(8 * 2)))
      + chunk(b"IEND", b""))


# ---------------- GIF ----------------
def gif_sub_blocks(data):
    out = bytearray()
    for i in range(0, len(data), 255):
        part = data[i:i + 255]
        out += bytes([len(part)]) + part
    return bytes(out) + b"\x00"


class BitWriter:
    def __init__(self):
        self.acc = 0
        self.n = 0
        self.out = bytearray()

    def put(self, code, bits):
        self.acc |= code << self.n
        self.n += bits
        while self.n >= 8:
            self.out.append(self.acc & 0xff)
            self.acc >>= 8
            self.n -= 8

    def done(self):
        if self.n:
            self.out.append(self.acc & 0xff)
        return bytes(self.out)


def gif_bombs():
    def screen(wd, ht):
        return b"GIF89a" + struct.pack("<HHBBB", wd, ht, 0xF7, 0, 0) + bytes(3 * 256)

    def frame(wd, ht, lzw):
        return b"\x2c" + struct.pack("<HHHHB", 0, 0, wd, ht, 0) + b"\x08" + gif_sub_blocks(lzw)

    # 60 MB of clear codes (no pixels ever), frame 8 x 4095
    bw = BitWriter()
    for _ in range(8 * 60_000_000 // 9 // 64):
        pass
    # 9-bit clear codes repeated: 8 clear codes = 72 bits = 9 bytes, a repeating pattern
    pat_w = BitWriter()
    for _ in range(8):
        pat_w.put(256, 9)
    pat = pat_w.done()
    lzw = pat * (scaled(60_000_000) // len(pat))
    w("gif-clear-codes-%dmb.gif" % scaled(60), screen(8, 4095) + frame(8, 4095, lzw) + b";")
    # A valid small frame followed by 60 MB of trailing LZW data in the same frame
    bw = BitWriter()
    bw.put(256, 9)
    for _ in range(64):
        bw.put(0, 9)
    good = bw.done()
    w("gif-trailing-%dmb.gif" % scaled(60),
      screen(8, 8) + frame(8, 8, good + bytes(scaled(60_000_000))) + b";")
    # 60 MB of comment extensions before a small frame
    comment = b"\x21\xfe" + gif_sub_blocks(bytes(scaled(60_000_000)))
    bw = BitWriter()
    bw.put(256, 9)
    for _ in range(64):
        bw.put(0, 9)
    bw.put(257, 9)
    w("gif-comments-%dmb.gif" % scaled(60), screen(8, 8) + comment + frame(8, 8, bw.done()) + b";")
    # 2 million tiny extension blocks
    ext = (b"\x21\xf9\x04\x00\x00\x00\x00\x00") * scaled(2_000_000)
    w("gif-%s-gce.gif" % counted(scaled(2_000_000)),
      screen(8, 8) + ext + frame(8, 8, bw.done()) + b";")
    # Real LZW: 8 x 4095 frame of one colour, codes growing to 12 bits then clear; the most
    # pixels per byte LZW gives
    w("gif-lzw-limit.gif", screen(8, 4095) + frame(8, 4095, lzw_run(8 * 4095)) + b";")
    # Frame larger than the screen but within limit, at an offset past the screen (65535, 65535)
    fr = (b"\x2c" + struct.pack("<HHHHB", 65000, 65000, 8, 8, 0) + b"\x08"
          + gif_sub_blocks(bw.done()))
    w("gif-frame-offset-far.gif", screen(8, 8) + fr + b";")
    # Screen 8x8, 20000 frames of 8x8 (first counts)
    w("gif-20000-frames.gif", screen(8, 8) + frame(8, 8, bw.done()) * 20000 + b";")
    # Local colour table of 256 then code size 12 (invalid: > 11 max)
    fr = b"\x2c" + struct.pack("<HHHHB", 0, 0, 8, 8, 0) + b"\x0c" + gif_sub_blocks(bytes(100))
    w("gif-codesize-12.gif", screen(8, 8) + fr + b";")
    fr = b"\x2c" + struct.pack("<HHHHB", 0, 0, 8, 8, 0) + b"\x00" + gif_sub_blocks(bytes(100))
    w("gif-codesize-0.gif", screen(8, 8) + fr + b";")


def lzw_run(npixels, minsize=8):
    """LZW of npixels of colour 0: each new code is the previous string plus one 0."""
    clear, end = 1 << minsize, (1 << minsize) + 1
    bw = BitWriter()
    size = minsize + 1
    bw.put(clear, size)
    nextcode = end + 1
    emitted = 0
    prev = None
    while emitted < npixels:
        # emit: first code 0 (1 pixel); then code for "00" etc.
        if prev is None:
            bw.put(0, size)
            emitted += 1
            prev = 1
            continue
        # each code adds a new entry = previous string + first char
        if nextcode < 4096:
            # the KwKwK case: emit the code being defined (prev string + its first char)
            bw.put(nextcode, size)
            emitted += prev + 1
            prev = prev + 1
            nextcode += 1
            if nextcode == (1 << size) and size < 12:
                size += 1
        else:
            bw.put(clear, size)
            size = minsize + 1
            nextcode = end + 1
            bw.put(0, size)
            emitted += 1
            prev = 1
    bw.put(end, size)
    return bw.done()


# ---------------- JPEG ----------------
def seg(marker, body):
    return b"\xff" + bytes([marker]) + struct.pack(">H", len(body) + 2) + body


DQT = seg(0xDB, b"\x00" + bytes([1] * 64))
# DC table 0: one code of length 1 for category 0; AC table 0: one code of length 1 for EOB (0x00)
DHT = seg(0xC4, b"\x00" + bytes([1] + [0] * 15) + b"\x00"
          + b"\x10" + bytes([1] + [0] * 15) + b"\x00")


def jpeg_bombs():
    # Arithmetic-coded (SOF9) grey, sizes that stb_image cannot read
    for wd, ht in [(16000, 16000), (30000, 30000), (65500, 65500), (8, 8)]:
        frame = seg(0xC9, struct.pack(">BHHB", 8, ht, wd, 1) + b"\x01\x11\x00")
        sos = seg(0xDA, b"\x01\x01\x00\x00\x3f\x00")
        w("jpeg-sof9-%dx%d.jpg" % (wd, ht),
          b"\xff\xd8" + DQT + frame + sos + bytes(64) + b"\xff\xd9")
    # Progressive: many repeated DC-first scans over an 8 x 4095 grey picture (512 blocks)
    frame = seg(0xC2, struct.pack(">BHHB", 8, 4095, 8, 1) + b"\x01\x11\x00")
    dc_scan = seg(0xDA, b"\x01\x01\x00\x00\x00\x00")  # Ss=0 Se=0 Ah=0 Al=0
    for mb in (1, 8, 60) if FULL else (1, 6):
        n = mb * 1_000_000 // len(dc_scan)
        w("jpeg-prog-%dmb-scans.jpg" % mb,
          b"\xff\xd8" + DQT + DHT + frame + dc_scan * n + b"\xff\xd9")
    # AC scans repeated (Ss=1 Se=63), with the DC scan first
    ac_scan = seg(0xDA, b"\x01\x01\x00\x01\x3f\x00")
    n = 8_000_000 // len(ac_scan)
    w("jpeg-prog-8mb-acscans.jpg",
      b"\xff\xd8" + DQT + DHT + frame + dc_scan + ac_scan * n + b"\xff\xd9")
    # Progressive 3-component at 8 x 4095 with many scans of all three
    three = b"\x01\x11\x00\x02\x11\x00\x03\x11\x00"  # components 1 to 3, 1 x 1, table 0
    frame3 = seg(0xC2, struct.pack(">BHHB", 8, 4095, 8, 3) + three)
    dc3 = seg(0xDA, b"\x03\x01\x00\x02\x00\x03\x00\x00\x00\x00")
    n = 8_000_000 // len(dc3)
    w("jpeg-prog3-8mb-scans.jpg", b"\xff\xd8" + DQT + DHT + frame3 + dc3 * n + b"\xff\xd9")
    # Baseline with restart interval 1 and 60 MB of RST markers... (data after image)
    frame = seg(0xC0, struct.pack(">BHHB", 8, 4095, 8, 1) + b"\x01\x11\x00")
    dri = seg(0xDD, struct.pack(">H", 1))
    sos = seg(0xDA, b"\x01\x01\x00\x00\x3f\x00")
    rst = b"".join(b"\x00\xff" + bytes([0xD0 + (i % 8)]) for i in range(512))
    w("jpeg-dri1.jpg", b"\xff\xd8" + DQT + DHT + frame + dri + sos + rst + b"\xff\xd9")
    # 60 MB of COM segments before SOF
    com = seg(0xFE, bytes(65000)) * scaled(920)
    frame = seg(0xC0, struct.pack(">BHHB", 8, 8, 8, 1) + b"\x01\x11\x00")
    w("jpeg-com-%dmb.jpg" % scaled(60),
      b"\xff\xd8" + com + DQT + DHT + frame + sos + bytes(16) + b"\xff\xd9")
    # SOF2 with huge dims (stb reads progressive: should be refused)
    frame = seg(0xC2, struct.pack(">BHHB", 8, 30000, 30000, 1) + b"\x01\x11\x00")
    w("jpeg-prog-30000.jpg", b"\xff\xd8" + DQT + DHT + frame + dc_scan + b"\xff\xd9")
    # SOF1 (extended sequential) huge, and SOF10 (progressive arithmetic) huge
    frame = seg(0xCA, struct.pack(">BHHB", 8, 16000, 16000, 1) + b"\x01\x11\x00")
    w("jpeg-sof10-16000.jpg", b"\xff\xd8" + DQT + frame + seg(0xDA, b"\x01\x01\x00\x00\x00\x00") +
      bytes(16) + b"\xff\xd9")
    # SOF9 with 3 components 12000x12000 (RGB output 432MB)
    frame = seg(0xC9, struct.pack(">BHHB", 8, 12000, 12000, 3) + three)
    sos3 = seg(0xDA, b"\x03\x01\x00\x02\x00\x03\x00\x00\x3f\x00")
    w("jpeg-sof9-rgb-12000.jpg", b"\xff\xd8" + DQT + frame + sos3 + bytes(16) + b"\xff\xd9")


# ---------------- BMP ----------------
def bmp(width, height, bits, compression=0, planes=1, hsz=40, data=b"", palette=None):
    if hsz == 12:
        info = struct.pack("<IHHHH", 12, width, height, planes, bits)
    else:
        info = struct.pack("<IiiHHIIiiII", hsz, width, height, planes, bits, compression,
                           len(data), 2835, 2835, 0, 0)
        info += bytes(hsz - 40)
    if palette is None:
        palette = bytes(4 << bits) if bits <= 8 else b""
    off = 14 + len(info) + len(palette)
    return struct.pack("<2sIHHI", b"BM", off + len(data), 0, 0, off) + info + palette + data


def bmp_bombs():
    # RLE8: stb_image refuses RLE, SDL reads it. "End of bitmap" right away.
    for wd, ht in [(30000, 30000), (65535, 65535), (20000, 20000)]:
        w("bmp-rle8-%dx%d.bmp" % (wd, ht), bmp(wd, ht, 8, 1, data=b"\x00\x01"))
        w("bmp-rle4-%dx%d.bmp" % (wd, ht), bmp(wd, ht, 4, 2, data=b"\x00\x01"))
    # Planes 0: stb_image refuses it, SDL does not look
    w("bmp-planes0-30000x30000.bmp", bmp(30000, 30000, 8, 0, planes=0))
    w("bmp-planes0-65535x65535.bmp", bmp(65535, 65535, 8, 0, planes=0))
    w("bmp-planes0-16000x16000-24.bmp", bmp(16000, 16000, 24, 0, planes=0))
    # OS/2 2.x header size 64 (stb refuses unknown sizes)
    w("bmp-hsz64-30000x30000.bmp", bmp(30000, 30000, 8, 0, hsz=64))
    w("bmp-hsz52-30000x30000.bmp", bmp(30000, 30000, 8, 0, hsz=52))
    # Negative height (top-down) huge
    w("bmp-topdown-30000.bmp", bmp(30000, -30000, 8, 0))
    # A fully decoded RLE8 bomb: 20000x20000 filled by runs of 255 (2 bytes per 255 pixels)
    row = (b"\xff\x00" * (20000 // 255) + bytes([20000 % 255, 0])) + b"\x00\x00"
    w("bmp-rle8-full-20000.bmp", bmp(20000, 20000, 8, 1, data=row * 20000 + b"\x00\x01"))
    # RLE8 with delta escapes jumping far (x,y) outside
    w("bmp-rle8-delta.bmp",
      bmp(8, 8, 8, 1, data=b"\x00\x02\xff\xff" * 10 + b"\x05\x01" * 100 + b"\x00\x01"))
    # bitfields 16 bpp huge with planes 0
    masks = struct.pack("<III", 0xf800, 0x7e0, 0x1f)
    w("bmp-bitfields-planes0.bmp", bmp(16000, 16000, 16, 3, planes=0, palette=masks))


# ---------------- ICO / CUR ----------------
def ico(entries, images, kind=1):
    head = struct.pack("<HHH", 0, kind, len(entries))
    return head + b"".join(entries) + images


def ico_bombs():
    # DIB inside an icon with planes 0 (stb refuses, SDL's icon reader does not check)
    for wd in (15000, 16000, 30000):
        dib = struct.pack("<IiiHHIIiiII", 40, wd, 2 * wd, 0, 32, 0, 0, 0, 0, 0, 0)
        entry = struct.pack("<BBBBHHII", 0, 0, 0, 0, 1, 32, len(dib), 22)
        w("ico-dib-planes0-%d.ico" % wd, ico([entry], dib))
        w("cur-dib-planes0-%d.cur" % wd, ico([entry], dib, kind=2))
    # 65535 directory entries, all pointing past the file, except the best
    dib = struct.pack("<IiiHHIIiiII", 40, 8, 16, 1, 32, 0, 0, 0, 0, 0, 0) + bytes(8 * 8 * 4 + 8 * 4)
    n = 65535
    entries = []
    for i in range(n - 1):
        entries.append(struct.pack("<BBBBHHII", 4, 4, 0, 0, 1, 32, 0xffffffff, 0xfffffff0))
    entries.append(struct.pack("<BBBBHHII", 8, 8, 0, 0, 1, 32, len(dib), 6 + 16 * n))
    w("ico-65535-entries.ico", ico(entries, dib))
    # all entries past the file, best one too
    entries = [struct.pack("<BBBBHHII", 8, 8, 0, 0, 1, 32, 1000, 0x7fffffff)] * 5000
    w("ico-5000-past-end.ico", ico(entries, b""))
    # entry whose size+offset wraps 32 bits
    entries = [struct.pack("<BBBBHHII", 8, 8, 0, 0, 1, 32, 0xffffffff, 23)]
    w("ico-wrap.ico", ico(entries, bytes(100)))
    # directory count 65535, file cut short
    w("ico-count-cut.ico", struct.pack("<HHH", 0, 1, 65535) + bytes(100))
    # embedded PNG claiming 8x8 in the directory but 8 x 4095 in its IHDR
    png = (SIG + ihdr(8, 4095) + chunk(b"IDAT", zlib.compress(bytes(4095 * 25), 9))
           + chunk(b"IEND", b""))
    entries = [struct.pack("<BBBBHHII", 8, 8, 0, 0, 1, 32, len(png), 22)]
    w("ico-png-8x4095.ico", ico(entries, png))
    # DIB with biSize 40 but 1 bpp, height odd, width 32760
    dib = (struct.pack("<IiiHHIIiiII", 40, 32760, 3, 1, 1, 0, 0, 0, 0, 0, 0) + bytes(8)
           + bytes(4096 * 3 * 2))
    entries = [struct.pack("<BBBBHHII", 0, 1, 0, 0, 1, 1, len(dib), 22)]
    w("ico-dib-32760x1.ico", ico(entries, dib))
    # ICO with negative DIB height
    dib = (struct.pack("<IiiHHIIiiII", 40, 16, -32, 1, 32, 0, 0, 0, 0, 0, 0)
           + bytes(16 * 16 * 4 + 16 * 4))
    entries = [struct.pack("<BBBBHHII", 16, 16, 0, 0, 1, 32, len(dib), 22)]
    w("ico-negative-height.ico", ico(entries, dib))
    # ICO DIB 8bpp with biClrUsed huge
    dib = (struct.pack("<IiiHHIIiiII", 40, 8, 16, 1, 8, 0, 0, 0, 0, 0x7fffffff, 0)
           + bytes(1024 + 64 + 32))
    entries = [struct.pack("<BBBBHHII", 8, 8, 0, 0, 1, 8, len(dib), 22)]
    w("ico-clrused-huge.ico", ico(entries, dib))


# ---------------- TGA ----------------
def tga_header(idlen, cmaptype, itype, cmfirst, cmlen, cmbits, wd, ht, bpp, desc):
    return struct.pack("<BBBHHBHHHHBB", idlen, cmaptype, itype, cmfirst, cmlen, cmbits, 0, 0,
                       wd, ht, bpp, desc)


def tga_bombs():
    # True colour (type 10, RLE) with a colour map present: stb refuses, SDL reads and skips the map
    for wd, bpp in [(16000, 24), (30000, 24), (16000, 32)]:
        h = tga_header(0, 1, 10, 0, 1, 24, wd, wd, bpp, 0x20)
        w("tga-rle-cmap-%d-%d.tga" % (wd, bpp), h + bytes(3) + b"\xff" + bytes(bpp // 8))
    # The fully decoded one: 16000 x 16000 24-bit via RLE packets of 128 (4 bytes each)
    h = tga_header(0, 1, 10, 0, 1, 24, 16000, 16000, 24, 0x20)
    npk = 16000 * 16000 // 128
    w("tga-rle-cmap-full-16000.tga", h + bytes(3) + (b"\xff" + b"\x00\x00\x00") * npk)
    # Plain RLE truecolour huge (stb reads: should be refused)
    h = tga_header(0, 0, 10, 0, 0, 0, 30000, 30000, 24, 0x20)
    w("tga-rle-30000.tga", h + b"\xff\x00\x00\x00")
    # Indexed with 65535-entry colour map (SDL: ncols > 256 unsupported)
    h = tga_header(0, 1, 1, 0, 65535, 24, 8, 8, 8, 0x20)
    w("tga-cmap-65535.tga", h + bytes(65535 * 3) + bytes(64))
    # colour map first index huge
    h = tga_header(0, 1, 1, 65000, 256, 24, 8, 8, 8, 0x20)
    w("tga-cmap-first-65000.tga", h + bytes(256 * 3) + bytes(64))
    # 16-bit grey (SDL unsupported?) huge
    h = tga_header(0, 0, 3, 0, 0, 0, 30000, 30000, 16, 0x20)
    w("tga-grey16-30000.tga", h + bytes(16))
    # A truecolour TGA whose colour-map fields make it look like a cursor with 3 images
    h = tga_header(0, 0, 2, 0, 3, 0, 16, 8, 24, 0x20)
    row = b"\x00\x00\x00" * 8 + b"\xff\xff\xff" * 8
    w("tga-looks-like-cur.tga", h + row * 8)


# ---------------- Aseprite ----------------
def aseprite_bombs():
    sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
    import aseprite_file as ase
    full = zlib.compress(bytes([0, 0, 0, 255]) * 32760, 9)
    # The most layers quillbit reads, each a whole 8 x 4095 cel at half opacity.
    for blend in (0, 9):  # normal and soft light
        layers = [ase.layer("l%d" % i, opacity=128, blend=blend) for i in range(128)]
        cels = [ase.chunk(ase.CEL, struct.pack("<HhhBHh5xHH", i, 0, 0, 255, 2, 0, 8, 4095) + full)
                for i in range(128)]
        w("ase-128-half-layers-blend%d.aseprite" % blend,
          ase.sprite(8, 4095, ase.RGBA, [ase.frame(layers + cels)]))
    # A cel far larger than the canvas, its pixels all zeros: refused before inflating.
    huge = ase.chunk(ase.CEL, struct.pack("<HhhBHh5xHH", 0, 0, 0, 255, 2, 0, 65535, 65535)
                     + zeros_zlib(1 << 26))
    w("ase-cel-65535.aseprite", ase.sprite(8, 8, ase.RGBA, [ase.frame([ase.layer("a"), huge])]))
    # A small cel whose zlib stream runs on for 256 MB: inflating stops at the cel's size.
    long = ase.chunk(ase.CEL, struct.pack("<HhhBHh5xHH", 0, 0, 0, 255, 2, 0, 8, 8)
                     + zeros_zlib(1 << 28))
    w("ase-long-stream.aseprite", ase.sprite(8, 8, ase.RGBA, [ase.frame([ase.layer("a"), long])]))
    # A million chunks claimed by a frame of 16 bytes, and 65535 frames claimed by the header.
    w("ase-chunks.aseprite", ase.sprite(8, 8, ase.RGBA, [struct.pack("<IHHH2xI", 16, 0xF1FA,
                                                                     0xFFFF, 0, 1 << 20)]))
    many = bytearray(ase.sprite(8, 8, ase.RGBA, [ase.frame([ase.layer("a")])]))
    many[6:8] = struct.pack("<H", 65535)
    w("ase-frames.aseprite", bytes(many))


# ---------------- PNM / PCX / XPM / LBM / XV / QOI / SVG / TIFF / WebP ----------------
def misc_bombs():
    # PNM: P4 and P1 are not sized by stb_image (only P5/P6)
    w("pnm-p4-30000.pbm", b"P4\n30000 30000\n" + bytes(16))
    w("pnm-p4-65535.pbm", b"P4\n65535 65535\n" + bytes(16))
    w("pnm-p1-30000.pbm", b"P1\n30000 30000\n0 1\n")
    w("pnm-p2-30000.pgm", b"P2\n30000 30000\n255\n0 1\n")
    w("pnm-p3-16000.ppm", b"P3\n16000 16000\n255\n0 1 2\n")
    w("pnm-p5-30000.pgm", b"P5\n30000 30000\n255\n" + bytes(16))
    w("pnm-p6-65535.ppm", b"P6\n65535 65535\n255\n" + bytes(16))
    w("pnm-p5-16bit-30000.pgm", b"P5\n30000 30000\n65535\n" + bytes(16))
    w("pnm-p4-huge-number.pbm", b"P4\n99999999999999999999 8\n" + bytes(16))
    w("pnm-p2-maxval-0.pgm", b"P2\n8 8\n0\n" + b"0 " * 64)
    # A P4 fully decoded at 30000x30000: 112 MB of data > 64 MB cap; use 20000x20000 = 50 MB
    w("pnm-p4-full-20000.pbm", b"P4\n20000 20000\n" + bytes(20000 // 8 * 20000))
    # Comments: 60 MB of comment lines in the header
    w("pnm-p5-comments.pgm",
      b"P5\n" + b"#" + bytes(b"x" * scaled(60_000_000)) + b"\n8 8\n255\n" + bytes(64))

    # PCX: version 5, RLE, 8-bit, 1 plane
    def pcx(xmax, ymax, bpl, planes=1, bits=8, data=b""):
        h = struct.pack("<BBBBHHHHHH", 10, 5, 1, bits, 0, 0, xmax, ymax, 72, 72) + bytes(48) + \
            struct.pack("<BBHHHH", 0, planes, bpl, 1, 0, 0) + bytes(54)
        return h + data

    w("pcx-30000.pcx", pcx(29999, 29999, 30000, data=bytes(16)))
    w("pcx-65535.pcx", pcx(65535, 65535, 65535, data=bytes(16)))
    w("pcx-24bit-16000.pcx", pcx(15999, 15999, 16000, planes=3, data=bytes(16)))
    # Fully decoded PCX 20000x20000 8-bit via RLE runs of 63: 2 bytes per 63 pixels => 12.7 MB
    row = (b"\xff\x00" * (20000 // 63)) + b"\xc1\x00" * (20000 % 63)
    w("pcx-full-20000.pcx", pcx(19999, 19999, 20000, data=row * 20000 + b"\x0c" + bytes(768)))
    # bytes-per-line tiny vs width (mismatch)
    w("pcx-bpl-mismatch.pcx", pcx(7, 7, 1, data=bytes(200)))
    w("pcx-bpl-zero.pcx", pcx(7, 7, 0, data=bytes(200)))
    # XPM
    xpm = b'/* XPM */\nstatic char *x[] = {\n"%s",\n"%s c #000000",\n};\n'
    w("xpm-30000.xpm", xpm % (b"30000 30000 1 1", b"a"))
    w("xpm-ncolors-huge.xpm", xpm % (b"8 8 100000000 8", b"a"))
    w("xpm-cpp-huge.xpm", xpm % (b"8 8 1 100000000", b"a"))
    w("xpm-16000-2col.xpm", xpm % (b"16000 16000 300 2", b"aa"))

    # LBM (ILBM) BMHD 30000 x 30000 8 planes
    def iff(w_, h_, planes, body=b"", comp=0, masking=0):
        bmhd = struct.pack(">HHhhBBBBHBBHH", w_, h_, 0, 0, planes, masking, comp, 0, 0, 1, 1,
                           w_, h_)
        chunks = b"BMHD" + struct.pack(">I", len(bmhd)) + bmhd
        chunks += b"CMAP" + struct.pack(">I", 3 * 256) + bytes(3 * 256)
        chunks += b"BODY" + struct.pack(">I", len(body)) + body
        return b"FORM" + struct.pack(">I", 4 + len(chunks)) + b"ILBM" + chunks

    w("lbm-30000.lbm", iff(30000, 30000, 8, bytes(16)))
    w("lbm-65535-24.lbm", iff(65535, 65535, 24, bytes(16)))
    w("lbm-16000-24.lbm", iff(16000, 16000, 24, bytes(16), comp=1))
    # XV thumbnail
    w("xv-30000.xv", b"P7 332\n#END_OF_COMMENTS\n30000 30000 255\n" + bytes(16))

    # QOI
    def qoi(w_, h_, body):
        return b"qoif" + struct.pack(">IIBB", w_, h_, 4, 0) + body + bytes(7) + b"\x01"

    w("qoi-15000.qoi", qoi(15000, 15000, b"\xfd" * (15000 * 15000 // 62 + 1)))
    w("qoi-20000-trunc.qoi", qoi(20000, 20000, b"\xfd" * 16))
    w("qoi-65535.qoi", qoi(65535, 65535, b"\xfd" * 16))

    # SVG
    def svg(attributes, body=b""):
        return b'<svg xmlns="http://www.w3.org/2000/svg" ' + attributes + b">" + body + b"</svg>"

    xlink = b'xmlns:xlink="http://www.w3.org/1999/xlink" '
    w("svg-15000.svg", svg(b'width="15000" height="15000"'))
    w("svg-1e9.svg", svg(b'width="1000000000" height="1000000000"'))
    w("svg-neg.svg", b'<svg xmlns="http://www.w3.org/2000/svg" width="-8" height="-8"></svg>')
    w("svg-nan.svg", b'<svg xmlns="http://www.w3.org/2000/svg" width="nan" height="inf"></svg>')
    rects = b"".join(b'<rect x="0" y="0" width="8" height="4095"/>' for _ in range(200_000))
    w("svg-200k-rects.svg", svg(b'width="8" height="4095"', rects))
    path = b"M0 0 " + b"C 1e6 -1e6 -1e6 1e6 8 4095 " * 1_000_000
    w("svg-1m-curves.svg", svg(b'width="8" height="4095"',
                               b'<path d="' + path + b'" stroke="black" stroke-width="1000"/>'))
    circles = b"".join(b'<circle cx="4" cy="2000" r="100000" stroke="black" stroke-width="50000"'
                       b' stroke-dasharray="0.001"/>' for _ in range(50))
    w("svg-dash.svg", svg(b'width="8" height="4095"', circles))
    nest = b"<g>" * 200_000 + b"</g>" * 200_000
    w("svg-nested.svg", svg(b'width="8" height="8"', nest))
    grad = (b'<defs>' + b''.join(b'<linearGradient id="g%d" xlink:href="#g%d"/>' % (i, i + 1)
                                 for i in range(20000)) + b'</defs>')
    w("svg-grad-chain.svg", svg(xlink + b'width="8" height="8"',
                                grad + b'<rect width="8" height="8" fill="url(#g0)"/>'))
    loop = (b'<defs><linearGradient id="a" xlink:href="#b"/>'
            b'<linearGradient id="b" xlink:href="#a"/></defs>')
    w("svg-grad-loop.svg", svg(xlink + b'width="8" height="8"',
                               loop + b'<rect width="8" height="8" fill="url(#a)"/>'))
    w("svg-viewbox-tiny.svg", svg(b'width="8" height="4095" viewBox="0 0 1e-30 1e-30"',
                                  b'<rect width="1" height="1" stroke="black" stroke-width="1"/>'))
    w("svg-stroke-huge.svg", svg(b'width="8" height="4095"',
                                 b'<path d="M0 0 L8 4095" stroke="black" stroke-width="1e30"/>'))


if __name__ == "__main__":
    for f in (png_bombs, gif_bombs, jpeg_bombs, bmp_bombs, ico_bombs, tga_bombs, misc_bombs,
              aseprite_bombs):
        f()
    print("done")
