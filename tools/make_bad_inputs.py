#!/usr/bin/python3
"""Writes the broken pictures, level files and demos of tests/bad_inputs/, the
catalogue of inputs the game must survive. Run from the repository's top:

    /usr/bin/python3 tools/make_bad_inputs.py [pictures] [levels] [demos]

Needs Debian's python3-pil for the JPEG variants. The files are committed;
this only makes them again.
"""
import io
import os
import struct
import zlib


OUT = "tests/bad_inputs"


def write(name, data):
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(data if isinstance(data, bytes) else data.encode("latin-1"))


def tga_header(kind, width, height, bits, descriptor=0x20, id_length=0, map_type=0, map_length=0, map_bits=0):
    return struct.pack("<BBBHHBHHHHBB", id_length, map_type, kind, 0, map_length, map_bits,
                       0, 0, width, height, bits, descriptor)


def tga(width, height, bits=24, **kw):
    return tga_header(2, width, height, bits, **kw) + bytes([40, 80, 120, 255][: bits // 8]) * (width * height)


def jpeg(image, **kw):
    buffer = io.BytesIO()
    image.save(buffer, "JPEG", **kw)
    return buffer.getvalue()


def jpeg_with_size(data, width, height):
    """The same JPEG with its frame header claiming another size."""
    at = data.index(b"\xff\xc0")
    return data[: at + 5] + struct.pack(">HH", height, width) + data[at + 9:]


def pictures():
    from PIL import Image  # only the pictures need it

    good = tga(8, 8)
    rle = tga_header(10, 64, 64, 24) + bytes([0xFF, 1, 2, 3]) * 32  # 32 runs of 128 pixels
    colour = jpeg(Image.new("RGB", (16, 16), (200, 30, 30)))
    write("empty.tga", b"")
    write("header-only.tga", good[:18])
    write("truncated.tga", good[:-5])
    write("truncated-rle.tga", rle[:-3])
    write("zero-width.tga", tga_header(2, 0, 8, 24) + b"\0" * 64)
    write("zero-height.tga", tga_header(2, 8, 0, 24) + b"\0" * 64)
    write("huge.tga", tga_header(2, 65535, 65535, 32) + b"\0" * 4096)
    write("huge-declared-small-file.tga", tga_header(2, 4000, 4000, 24) + b"\0" * 100)
    write("unknown-type.tga", tga_header(7, 8, 8, 24) + b"\0" * 192)
    write("zero-bits.tga", tga_header(2, 8, 8, 0) + b"\0" * 192)
    write("id-past-end.tga", tga_header(2, 2, 2, 24, id_length=255) + b"\0" * 12)
    write("colour-map-past-end.tga", tga_header(1, 2, 2, 8, map_type=1, map_length=4000, map_bits=24) + b"\0" * 30)
    write("sixteen-bit.tga", tga_header(2, 4, 4, 16) + struct.pack("<H", 0x7C00) * 16)
    write("right-to-left.tga", tga(4, 4, descriptor=0x30))
    write("text.tga", "this is not a picture at all, just some words\n")
    write("png-named.tga", b"\x89PNG\r\n\x1a\n" + b"\0" * 64)
    write("bmp-named.tga", b"BM" + b"\0" * 64)
    write("tga-named.jpg", good)
    write("jpeg-named.tga", colour)
    write("grey.jpg", jpeg(Image.new("L", (16, 16), 128)))
    write("cmyk.jpg", jpeg(Image.new("CMYK", (16, 16), (0, 200, 200, 0))))
    write("truncated.jpg", colour[: len(colour) // 2])
    write("headers-only.jpg", colour[: colour.index(b"\xff\xda")])
    write("huge.jpg", jpeg_with_size(colour, 60000, 60000))
    write("zero-size.jpg", jpeg_with_size(colour, 0, 16))
    write("bare-markers.jpg", b"\xff\xd8\xff\xd9")


ENEMY = "60 100 0 20 170 0.04 16 data\\enemy1.tga\n"
STAIR = "120 16 0 24 16 0 1\n"
ITEM = "150 18 0 12 12 0 data\\coin.tga 0 0 %s 0 -1 50\n"


def level(enemies=(), stairs=(), items=()):
    return "".join(f"{len(part)}\n" + "".join(part) for part in (enemies, stairs, items))


def levels():
    whole = level([ENEMY] * 2, [STAIR] * 2, [ITEM] * 2)
    write("empty.lvl.txt", "")
    write("only-spaces.lvl.txt", " \n\t\r\n ")
    write("binary.lvl.txt", bytes(range(256)) * 4)
    write("too-many-enemies.lvl.txt", level([ENEMY] * 25, [STAIR], [ITEM]))
    write("too-many-stairs-and-items.lvl.txt", level([ENEMY], [STAIR] * 30, [ITEM] * 40))
    write("negative-counts.lvl.txt", "-3 -1 -7\n")
    write("truncated-record.lvl.txt", whole[: whole.index(STAIR) + 10])
    write("ends-after-enemies.lvl.txt", "1\n" + ENEMY)
    write("overlong-token.lvl.txt", "1\n60 100 0 20 170 0.04 16 data\\" + "n" * 5000 + ".tga\n0 0\n")
    write("long-name.lvl.txt", "1\n60 100 0 20 170 0.04 16 data\\" + "n" * 300 + ".tga\n0 0\n")
    write("overflowing-count.lvl.txt", "99999999999999999999\n" + ENEMY)
    write("overflowing-integers.lvl.txt", level([], ["120 16 0 24 16 0 99999999999999999999\n"],
                                                ["150 18 0 12 12 0 data\\coin.tga 0 0 %s 1e40 -99999999999999 99999999999\n"]))
    write("huge-reals.lvl.txt", level(["1e308 -1e308 0 1e308 -1e308 1e308 1e308 data\\enemy1.tga\n"], [], []))
    write("nan-and-infinity.lvl.txt", level(["nan inf -inf 20 170 nan 16 data\\enemy1.tga\n"],
                                            ["nan 16 0 inf 16 0 1\n"], []))
    write("first-frame-after-last.lvl.txt", level([], [], ["150 18 0 12 12 0 data\\gem 8 1 %s%02d.tga 80 -1 50\n"]))
    write("absurd-frame-range.lvl.txt", level([], [], ["150 18 0 12 12 0 data\\gem 0 2147483647 %s%02d.tga 80 -1 50\n"]))
    write("format-n.lvl.txt", level([], [], ["150 18 0 12 12 0 data\\gem 1 8 %n%s%d 80 -1 50\n"]))
    write("format-two-strings.lvl.txt", level([], [], ["150 18 0 12 12 0 data\\gem 1 8 %s%s 80 -1 50\n"]))
    write("format-lone-percent.lvl.txt", level([], [], ["150 18 0 12 12 0 data\\gem 1 8 % 80 -1 50\n"]))
    write("format-hex-dump.lvl.txt", level([], [], ["150 18 0 12 12 0 data\\gem 1 8 %x%x%x%x 80 -1 50\n"]))
    write("format-huge-width-and-long.lvl.txt", level([], [], ["150 18 0 12 12 0 data\\gem 1 8 %999999999s%d 80 -1 50\n",
                                                               "150 18 0 12 12 0 data\\gem 1 8 %s%lld 80 -1 50\n"]))
    write("non-ascii-names.lvl.txt", level(["60 100 0 20 170 0.04 16 data\\\xe9nemy\xff.tga\n"], [], []))
    write("odd-separators-in-names.lvl.txt", level(["60 100 0 20 170 0.04 16 data/enemy1.tga\n",
                                                    "60 100 0 20 170 0.04 16 data\\\\enemy1.tga\n"], [], []))
    write("letters-in-numbers.lvl.txt", "2abc\n" + ENEMY * 2 + "x\n0\n")
    write("crlf-and-tabs.lvl.txt", whole.replace("\n", "\r\n").replace(" ", "\t  "))
    write("trailing-junk.lvl.txt", whole + "this is\0 not part of the level " * 50)
    write("missing-pictures.lvl.txt", level(["60 100 0 20 170 0.04 16 data\\nothing.tga\n"], [STAIR],
                                            ["150 18 0 12 12 0 data\\nothing 1 4 %s%02d.tga 80 -1 50\n"]))
    write("inverted-enemy-bounds.lvl.txt", level(["60 100 0 170 20 0.04 16 data\\enemy1.tga\n"], [], []))
    write("zero-sizes.lvl.txt", level(["60 100 0 20 170 0.04 0 data\\enemy1.tga\n"], ["120 16 0 0 0 0 1\n"],
                                      ["150 18 0 0 0 0 data\\coin.tga 0 0 %s 0 -1 50\n"]))


def number(n):
    """Unsigned LEB128, as the demo's records hold numbers."""
    out = b""
    while True:
        byte, n = n & 0x7F, n >> 7
        out += bytes([byte | (0x80 if n else 0)])
        if not n:
            return out


def demo_header(version="0.3.0", start=None, rules=1):
    """A demo of a level of its own, so that no data's levels are asked for."""
    text = level([ENEMY], [STAIR], [ITEM]) if start is None else start
    return (f"vantrel-demo 2\ngame {version}\nrules {rules}\nlevels 0\nstart file {len(text)}\n{text}\n"
            "tick 1000\nrecords\n").encode("latin-1")


def frame(delta=16):
    """A frame and its clock reading, `delta` ms after the one before."""
    return b"F" + number((delta << 1) ^ (delta >> 63))


def short_frame(delta=16):
    """The same in one byte, as a recording writes a delta of 0 to 127 ms."""
    return bytes([0x80 | delta])


def message(kind, w_param, l_param):
    """lParam is held rotated left by 2 bits."""
    rotated = ((l_param << 2) | (l_param >> 30)) & 0xFFFFFFFF
    return b"M" + bytes([kind]) + number(w_param) + number(rotated)


def demos():
    frames = frame() + short_frame() + frame(200)
    write("not-a-demo.demo", "this is not a demo, just some words\n")
    write("empty.demo", b"")
    write("other-format.demo", demo_header().replace(b"vantrel-demo 2", b"vantrel-demo 3"))
    write("earlier-format.demo", b"vantrel-demo 1\ngame 0.2.0\nlevels 0\nstart level 0\ntick 1000\nrecords\nF")
    # Later rules, with a header line of their own that this release does not know.
    write("later-rules.demo", demo_header(version="9.0.0", rules=99).replace(b"rules 99\n", b"rules 99\nkeys left=65\n") +
          frames)
    write("header-cut.demo", demo_header()[:40])
    write("huge-level-count.demo", demo_header().replace(b"levels 0", b"levels 99999999999999999999"))
    write("cut-in-a-wait.demo", demo_header() + frames + frame() + b"W\x80")
    write("unknown-record.demo", demo_header() + frames + b"Z" + frames)
    write("bad-message-kind.demo", demo_header() + frames + message(0x63, 32, 0) + frames)
    # 65535 x 65535: a recording never holds a size, which fits the view to its own window.
    write("window-size.demo", demo_header() + frames + message(1, 0, 0xFFFFFFFF) + frames)
    write("overlong-number.demo", demo_header() + frames + b"F" + b"\xff" * 11 + b"\x01")
    write("huge-level-record.demo", demo_header() + frames + b"L" + number(1 << 40) + b"2\n")
    write("level-record-not-a-level.demo", demo_header() + frames + b"L" + number(5) + b"hello" + frames +
          b"E" + number(6) + number(0))
    write("bytes-after-end.demo", demo_header() + frames + b"E" + number(3) + number(0) + b"more")
    write("keys-out-of-range.demo", demo_header() + frames + message(4, 70000, 0) + message(5, 300, 0) + frames +
          b"E" + number(6) + number(0))


if __name__ == "__main__":
    import sys
    os.makedirs(OUT, exist_ok=True)
    wanted = sys.argv[1:] or ["pictures", "levels", "demos"]
    for kind in wanted:
        {"pictures": pictures, "levels": levels, "demos": demos}[kind]()
