#!/usr/bin/env python3
"""Draw the game-pad application icon and write it as res/icon/app.ico.

Standard library only. Shapes are signed distance functions in the pixel
space of each size; every size has its own hand-tuned layout so the small
ones stay crisp instead of being a blurred copy of the large one.

    python3 res/icon/draw_icon.py                 # writes app.ico next to this file
    python3 res/icon/draw_icon.py --preview DIR   # also writes DIR/icon_<N>.png
"""

import argparse
import math
import os
import struct
import sys
import zlib

SIZES = (128, 48, 32, 16)   # order of the images inside the .ico
PNG_SIZES = {128}           # stored as PNG; the others as 32-bit DIBs
SUPERSAMPLE = 8             # samples per pixel along each axis
ZLIB_LEVEL = 9              # fixed so the output is byte-identical every run


# ---------------------------------------------------------------- colours

def hex_rgba(s, a=1.0):
    s = s.lstrip('#')
    return (int(s[0:2], 16) / 255.0, int(s[2:4], 16) / 255.0,
            int(s[4:6], 16) / 255.0, a)


OUTLINE = hex_rgba('#141923')       # keeps the silhouette on light backgrounds
BODY_TOP = hex_rgba('#5d6a82')      # lighter than most dark backgrounds
BODY_BOTTOM = hex_rgba('#3b4457')
BODY_FLAT = hex_rgba('#4c576c')     # the small sizes have no room for a gradient
RIM = hex_rgba('#8593aa')           # thin light edge just inside the outline
RECESS = hex_rgba('#252c3a')        # sockets around the cross and buttons
CROSS = hex_rgba('#e9edf3')
CROSS_DIMPLE = hex_rgba('#c3cad6')
BUTTON_A = hex_rgba('#f0474f')
BUTTON_A_HI = hex_rgba('#ff8c8f')
BUTTON_B = hex_rgba('#f7b733')
BUTTON_B_HI = hex_rgba('#ffdc85')
PILL = hex_rgba('#a6b0c0')


def vertical_gradient(top, bottom, y0, y1):
    def colour(x, y):
        t = min(1.0, max(0.0, (y - y0) / (y1 - y0)))
        return tuple(a + (b - a) * t for a, b in zip(top, bottom))
    return colour


# ------------------------------------------------ signed distance shapes
# Every function is 1-Lipschitz (never overstates the distance), which the
# renderer relies on to skip supersampling of pixels far from any edge.

def rounded_rect(x0, y0, x1, y1, r):
    cx, cy = (x0 + x1) / 2.0, (y0 + y1) / 2.0
    hx, hy = (x1 - x0) / 2.0 - r, (y1 - y0) / 2.0 - r

    def sdf(x, y):
        qx = abs(x - cx) - hx
        qy = abs(y - cy) - hy
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0) - r
    return sdf


def circle(cx, cy, r):
    def sdf(x, y):
        return math.hypot(x - cx, y - cy) - r
    return sdf


def pill(cx, cy, half_w, half_h):
    return rounded_rect(cx - half_w, cy - half_h, cx + half_w, cy + half_h,
                        min(half_w, half_h))


def union(*shapes):
    def sdf(x, y):
        return min(s(x, y) for s in shapes)
    return sdf


def smooth_union(a, b, k):
    """Union with a fillet of size k, so the grips flow into the body."""
    def sdf(x, y):
        da, db = a(x, y), b(x, y)
        h = max(k - abs(da - db), 0.0) / k
        return min(da, db) - h * h * k * 0.25
    return sdf


def grow(shape, w):
    def sdf(x, y):
        return shape(x, y) - w
    return sdf


def cross(cx, cy, half_len, half_thick, r):
    return union(
        rounded_rect(cx - half_len, cy - half_thick, cx + half_len, cy + half_thick, r),
        rounded_rect(cx - half_thick, cy - half_len, cx + half_thick, cy + half_len, r))


# ---------------------------------------------------------------- layouts

def disc(cx, cy, r):
    """A circle as a box: (x0, y0, x1, y1, corner radius)."""
    return (cx - r, cy - r, cx + r, cy + r, r)


def layout(size):
    """Geometry for one size, in that size's pixels. Boxes are
    (x0, y0, x1, y1, corner radius). The numbers are tuned per size so the
    small sizes have cross arms and buttons on whole pixels."""
    if size == 128:
        return dict(
            body=(6, 18, 122, 84, 26), grips=(disc(30, 84, 23), disc(98, 84, 23)),
            fillet=16, outline=3.0, rim=1.5, gradient=True,
            cross=(34, 48, 17, 6.5, 2.5), cross_recess=3.0, dimple=3.5,
            buttons=(disc(80, 57, 9.5) + ('B',), disc(102, 39, 9.5) + ('A',)),
            button_recess=2.5, highlights=True,
            pills=((55, 75, 6.5, 2.75), (73, 75, 6.5, 2.75)), pill_recess=1.5)
    if size == 48:
        return dict(
            body=(2, 7, 46, 32, 10), grips=(disc(11.5, 31.5, 8.5), disc(36.5, 31.5, 8.5)),
            fillet=6, outline=1.25, rim=0.75, gradient=True,
            cross=(12.5, 18.5, 6.5, 2.5, 0.75), cross_recess=1.25, dimple=0,
            buttons=(disc(30.5, 21.5, 3.5) + ('B',), disc(38.5, 14.5, 3.5) + ('A',)),
            button_recess=1.0, highlights=True,
            pills=((20.5, 28, 2.5, 1.0), (27.5, 28, 2.5, 1.0)), pill_recess=0.75)
    if size == 32:
        return dict(
            body=(1, 5, 31, 22, 7), grips=(disc(7.5, 21, 6), disc(24.5, 21, 6)),
            fillet=4, outline=1.0, rim=0, gradient=False,
            cross=(8.5, 12.5, 4.5, 1.5, 0.5), cross_recess=1.0, dimple=0,
            buttons=((18, 12, 22, 16, 2, 'B'), (24, 7, 28, 11, 2, 'A')),
            button_recess=0, highlights=False,
            pills=((13, 19, 2, 1), (19, 19, 2, 1)), pill_recess=0)
    if size == 16:
        # No room for sockets, shine or Start/Select: a one-pixel plus and
        # two 2x2 buttons on whole pixels stay sharp.
        return dict(
            body=(0, 2, 16, 11, 3.5), grips=(disc(4, 10.5, 3.5), disc(12, 10.5, 3.5)),
            fillet=2, outline=1.0, rim=0, gradient=False,
            cross=(4.5, 6.5, 2.5, 0.5, 0), cross_recess=0, dimple=0,
            buttons=((9, 7, 11, 9, 0.4, 'B'), (12, 4, 14, 6, 0.4, 'A')),
            button_recess=0, highlights=False,
            pills=(), pill_recess=0)
    raise ValueError('no layout for size %d' % size)


def scene(size):
    """Layers bottom to top: (shape, colour or colour(x, y))."""
    L = layout(size)
    x0, y0, x1, y1, r = L['body']
    body = rounded_rect(x0, y0, x1, y1, r)
    # Both grips in one union so the fillet stays left-right symmetric.
    grips = union(*(rounded_rect(*grip) for grip in L['grips']))
    body = smooth_union(body, grips, L['fillet'])
    bottom = max(grip[3] for grip in L['grips'])

    layers = [(body, OUTLINE)]
    inner = grow(body, -L['outline'])
    if L['rim']:
        layers.append((inner, RIM))
        inner = grow(inner, -L['rim'])
    fill = vertical_gradient(BODY_TOP, BODY_BOTTOM, y0, bottom) if L['gradient'] else BODY_FLAT
    layers.append((inner, fill))

    cx, cy, half_len, half_thick, cr = L['cross']
    pad = cross(cx, cy, half_len, half_thick, cr)
    if L['cross_recess']:
        layers.append((grow(pad, L['cross_recess']), RECESS))
    layers.append((pad, CROSS))
    if L['dimple']:
        layers.append((circle(cx, cy, L['dimple']), CROSS_DIMPLE))

    for px, py, hw, hh in L['pills']:
        shape = pill(px, py, hw, hh)
        if L['pill_recess']:
            layers.append((grow(shape, L['pill_recess']), RECESS))
        layers.append((shape, PILL))

    for bx0, by0, bx1, by1, br, name in L['buttons']:
        face, hi = (BUTTON_A, BUTTON_A_HI) if name == 'A' else (BUTTON_B, BUTTON_B_HI)
        shape = rounded_rect(bx0, by0, bx1, by1, br)
        if L['button_recess']:
            layers.append((grow(shape, L['button_recess']), RECESS))
        layers.append((shape, face))
        if L['highlights']:
            # A small shine towards the top left makes the buttons read as domes.
            bcx, bcy, half = (bx0 + bx1) / 2.0, (by0 + by1) / 2.0, (bx1 - bx0) / 2.0
            layers.append((circle(bcx - half * 0.3, bcy - half * 0.3, half * 0.38), hi))
    return layers


# --------------------------------------------------------------- renderer

HALF_DIAGONAL = math.sqrt(0.5) + 1e-9


def render(size):
    """Rows of straight-alpha RGBA bytes, top row first."""
    layers = scene(size)
    n = SUPERSAMPLE
    offsets = [(i + 0.5) / n for i in range(n)]
    rows = []
    for py in range(size):
        row = bytearray()
        for px in range(size):
            cx, cy = px + 0.5, py + 0.5
            # Per layer: True (covers the whole pixel), False (misses it) or
            # None (an edge crosses it and it needs samples).
            state = []
            for shape, _ in layers:
                d = shape(cx, cy)
                state.append(True if d <= -HALF_DIAGONAL else
                             False if d >= HALF_DIAGONAL else None)
            if None not in state:
                samples = [(cx, cy)]
            else:
                samples = [(px + ox, py + oy) for oy in offsets for ox in offsets]
            acc = [0.0, 0.0, 0.0, 0.0]          # premultiplied sum
            for sx, sy in samples:
                r = g = b = a = 0.0
                for (shape, colour), st in zip(layers, state):
                    if st is False or (st is None and shape(sx, sy) > 0.0):
                        continue
                    cr, cg, cb, ca = colour(sx, sy) if callable(colour) else colour
                    k = 1.0 - ca
                    r, g, b, a = cr * ca + r * k, cg * ca + g * k, cb * ca + b * k, ca + a * k
                acc[0] += r
                acc[1] += g
                acc[2] += b
                acc[3] += a
            count = float(len(samples))
            alpha = acc[3] / count
            a8 = int(round(alpha * 255))
            if a8 == 0:
                row += b'\0\0\0\0'
                continue
            row += bytes(min(255, int(round(c / acc[3] * 255))) for c in acc[:3])
            row.append(a8)
        rows.append(bytes(row))
    return rows


# ---------------------------------------------------------------- writers

def png_bytes(rows):
    size_y, size_x = len(rows), len(rows[0]) // 4

    def chunk(kind, data):
        return (struct.pack('>I', len(data)) + kind + data +
                struct.pack('>I', zlib.crc32(kind + data) & 0xffffffff))

    raw = b''.join(b'\0' + row for row in rows)     # filter type 0 on every row
    return (b'\x89PNG\r\n\x1a\n' +
            chunk(b'IHDR', struct.pack('>IIBBBBB', size_x, size_y, 8, 6, 0, 0, 0)) +
            chunk(b'IDAT', zlib.compress(raw, ZLIB_LEVEL)) +
            chunk(b'IEND', b''))


def mask_stride(width):
    return ((width + 31) // 32) * 4


def dib_bytes(rows):
    """BITMAPINFOHEADER (height doubled for colour + mask), bottom-up BGRA,
    then the 1-bit AND mask (1 = transparent), rows padded to 32 bits."""
    h, w = len(rows), len(rows[0]) // 4
    stride = mask_stride(w)
    pixels = bytearray()
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(stride)
        for x in range(w):
            r, g, b, a = row[4 * x:4 * x + 4]
            pixels += bytes((b, g, r, a))
            if a == 0:
                bits[x >> 3] |= 0x80 >> (x & 7)
        mask += bits
    header = struct.pack('<IiiHHIIiiII', 40, w, 2 * h, 1, 32, 0,
                         len(pixels) + len(mask), 0, 0, 0, 0)
    return header + bytes(pixels) + bytes(mask)


def ico_bytes(images):
    """images: list of (size, payload bytes)."""
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        dim = 0 if size >= 256 else size
        out += struct.pack('<BBBBHHII', dim, dim, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + b''.join(data for _, data in images)


# ---------------------------------------------------------------- read back

def decode_png(data):
    """Just enough PNG reading for what png_bytes writes (filter 0, RGBA8)."""
    assert data[:8] == b'\x89PNG\r\n\x1a\n'
    pos, idat, w = 8, b'', None
    while pos < len(data):
        length, kind = struct.unpack('>I4s', data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        assert struct.unpack('>I', data[pos + 8 + length:pos + 12 + length])[0] == \
            zlib.crc32(kind + body) & 0xffffffff
        if kind == b'IHDR':
            w, h, depth, ctype = struct.unpack('>IIBB', body[:10])
            assert (depth, ctype) == (8, 6)
        elif kind == b'IDAT':
            idat += body
        pos += 12 + length
    raw = zlib.decompress(idat)
    stride = 1 + 4 * w
    rows = [raw[i * stride:(i + 1) * stride] for i in range(h)]
    assert all(r[0] == 0 for r in rows)
    return [bytes(r[1:]) for r in rows]


def decode_dib(data):
    (hsize, w, h2, planes, bpp, comp, image_size) = struct.unpack('<IiiHHII', data[:24])
    assert (hsize, planes, bpp, comp) == (40, 1, 32, 0) and h2 % 2 == 0
    h = h2 // 2
    stride = mask_stride(w)
    assert len(data) == 40 + 4 * w * h + stride * h == 40 + image_size
    rows = []
    for y in range(h):
        src = data[40 + 4 * w * (h - 1 - y):40 + 4 * w * (h - y)]
        mask = data[40 + 4 * w * h + stride * (h - 1 - y):][:stride]
        row = bytearray()
        for x in range(w):
            b, g, r, a = src[4 * x:4 * x + 4]
            transparent = bool(mask[x >> 3] & (0x80 >> (x & 7)))
            assert transparent == (a == 0), 'AND mask disagrees with alpha'
            row += bytes((r, g, b, a))
        rows.append(bytes(row))
    return rows


def check_ico(data, expected):
    """Parse the finished file and compare each frame with what was drawn."""
    reserved, kind, count = struct.unpack('<HHH', data[:6])
    assert (reserved, kind, count) == (0, 1, len(expected))
    end = 6 + 16 * count
    for i, (size, rows) in enumerate(expected):
        w, h, colours, res, planes, bpp, length, offset = \
            struct.unpack('<BBBBHHII', data[6 + 16 * i:22 + 16 * i])
        assert (w or 256, h or 256) == (size, size)
        assert (colours, res, planes, bpp) == (0, 0, 1, 32)
        assert offset == end, 'frames must follow each other without gaps'
        payload = data[offset:offset + length]
        end = offset + length
        got = decode_png(payload) if payload[:4] == b'\x89PNG' else decode_dib(payload)
        assert got == rows, 'frame %d does not read back as drawn' % size
    assert end == len(data)


# -------------------------------------------------------------------- main

def main(argv=None):
    here = os.path.dirname(os.path.abspath(__file__))
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument('-o', '--output', default=os.path.join(here, 'app.ico'))
    ap.add_argument('--preview', metavar='DIR',
                    help='also write every size as DIR/icon_<N>.png')
    args = ap.parse_args(argv)

    drawn = [(size, render(size)) for size in SIZES]
    images = [(size, png_bytes(rows) if size in PNG_SIZES else dib_bytes(rows))
              for size, rows in drawn]
    data = ico_bytes(images)
    check_ico(data, drawn)
    with open(args.output, 'wb') as f:
        f.write(data)

    if args.preview:
        os.makedirs(args.preview, exist_ok=True)
        for size, rows in drawn:
            with open(os.path.join(args.preview, 'icon_%d.png' % size), 'wb') as f:
                f.write(png_bytes(rows))
    print('wrote %s (%d bytes, sizes %s)' % (args.output, len(data),
                                             ', '.join(map(str, SIZES))))
    return 0


if __name__ == '__main__':
    sys.exit(main())
