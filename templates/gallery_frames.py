"""The frames the gallery's tests build: their hostile names and the class
names they get, their pixels as PNG files (for the packed layout, of
different sizes with clear margins to trim), folders of animations, and a PNG
reader to compare the drawn pixels with.

A frame's pixels are all opaque or fully clear, because a browser's canvas
keeps its colours multiplied by alpha: only those come back from it exactly.
Every pixel's colour depends on its place and on the frame, so a frame drawn
one pixel off, or the wrong frame, does not compare equal."""
import os
import re
import struct
import zlib

# Names that a format must escape: a double quote, a backslash, a blank, dots,
# a leading digit, non-ASCII letters, an apostrophe.
HOSTILE_NAMES = ['say"hi.png', 'back\\slash.png', 'my walk.png', 'dot.ted.png',
                 '1up.png', 'gr\u00fc\u00df \u6b69.png', "it's.png"]
HOSTILE_SHEET = 'my "sheet" \u00e9.png'

# Frames for the packed layout, one for each hostile name: the whole size and
# the box of visible pixels in it, odd and even, wide, tall and thin (which
# packs tighter turned), one with nothing to trim, one with nothing visible.
PACKED_FRAMES = [(37, 21, (5, 3, 25, 14)), (12, 61, (2, 4, 7, 50)), (40, 30, (0, 0, 40, 30)),
                 (64, 14, (9, 2, 44, 9)), (9, 47, (1, 1, 6, 44)), (30, 30, (7, 11, 15, 8)),
                 (20, 20, (0, 0, 0, 0))]
# The same, all even, for what draws exactly at half size only there (CSS
# with Retina).
EVEN_PACKED_FRAMES = [(38, 22, (6, 4, 24, 14)), (12, 62, (2, 4, 8, 50)), (40, 30, (0, 0, 40, 30)),
                      (64, 14, (10, 2, 44, 10)), (10, 48, (2, 2, 6, 44)), (30, 30, (8, 12, 14, 8)),
                      (20, 20, (0, 0, 0, 0))]


# Animations from subfolders, one with a blank in its name, and from name
# prefixes with hostile names and a one-frame animation: each animation's
# frames, in the order the program takes them.
ANIMATION_FOLDERS = ['jump up', 'run', 'walk']
PREFIX_ANIMATIONS = [('back\\slash', ['back\\slash-1.png', 'back\\slash-2.png']),
                     ('gr\u00fc\u00df \u6b69', ['gr\u00fc\u00df \u6b69 1.png',
                                           'gr\u00fc\u00df \u6b69 2.png',
                                           'gr\u00fc\u00df \u6b69 3.png']),
                     ('idle', ['idle.png']),
                     ('my walk', ['my walk_01.png', 'my walk_02.png', 'my walk_10.png']),
                     ('say"hi', ['say"hi1.png', 'say"hi2.png'])]


def write_animations(folder, by, frame, per_folder=3):
    """Writes animations into `folder`: with `by` "folders" `per_folder`
    frames into each of ANIMATION_FOLDERS, with "prefixes" the frames of
    PREFIX_ANIMATIONS; `frame(i)` gives the i-th frame's PNG bytes. Returns
    the animations the program should find, (name, [frame file]) each."""
    if by == 'folders':
        animations = [(sub, ['%s/frame%d.png' % (sub, n) for n in range(1, per_folder + 1)])
                      for sub in ANIMATION_FOLDERS]
    else:
        animations = PREFIX_ANIMATIONS
    for i, name in enumerate(name for _, names in animations for name in names):
        path = os.path.join(folder, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, 'wb') as f:
            f.write(frame(i))
    return animations


def class_name(file_name):
    """A frame's class, as doc/templates.md gives the mapping: its name less
    ".png", each blank, tab, line feed, form feed or carriage return a "-"."""
    return re.sub(r'[ \t\n\f\r]', '-', file_name[:-4])


def frame_pixel(x, y, seed):
    if (3 * x + 2 * y + seed) % 7 == 0:
        return (0, 0, 0, 0)
    return ((6 * x + 35 * seed) % 256, (11 * y + 17 * seed) % 256, (x * y + 71 * seed) % 256, 255)


def png_bytes(width, height, seed, box=None):
    """An RGBA PNG of a frame's pixels, rows unfiltered; with a `box` (x, y,
    width, height), clear outside it. Every row and column of a box at least
    2 pixels wide and high holds visible pixels, so trimming keeps the box."""
    def chunk(kind, data):
        body = kind + data
        return struct.pack('>I', len(data)) + body + struct.pack('>I', zlib.crc32(body))
    bx, by, bw, bh = box or (0, 0, width, height)
    def pixel(x, y):
        inside = bx <= x < bx + bw and by <= y < by + bh
        return frame_pixel(x, y, seed) if inside else (0, 0, 0, 0)
    rows = b''.join(b'\0' + b''.join(bytes(pixel(x, y)) for x in range(width))
                    for y in range(height))
    return (b'\x89PNG\r\n\x1a\n' +
            chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, 6, 0, 0, 0)) +
            chunk(b'IDAT', zlib.compress(rows)) + chunk(b'IEND', b''))


def write_frames(folder, sizes):
    """Writes the hostile names' frames of `sizes` ((width, height, box) each,
    or (width, height)) into `folder`. Returns the folder."""
    os.makedirs(folder, exist_ok=True)
    for i, (name, size) in enumerate(zip(HOSTILE_NAMES, sizes)):
        with open(os.path.join(folder, name), 'wb') as f:
            f.write(png_bytes(size[0], size[1], i, size[2] if len(size) > 2 else None))
    return folder


def png_size(path):
    with open(path, 'rb') as f:
        head = f.read(24)
    assert head[:8] == b'\x89PNG\r\n\x1a\n' and head[12:16] == b'IHDR', path
    return struct.unpack('>II', head[16:24])


def read_png(path):
    """(width, height, RGBA bytes) of an 8-bit RGBA or RGB PNG without
    interlacing, as the program's frames and sheets are."""
    with open(path, 'rb') as f:
        data = f.read()
    assert data[:8] == b'\x89PNG\r\n\x1a\n', path
    at, idat = 8, b''
    while at < len(data):
        length, kind = struct.unpack('>I4s', data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        if kind == b'IHDR':
            width, height, depth, colour, _, _, interlace = struct.unpack('>IIBBBBB', body)
            assert depth == 8 and colour in (2, 6) and interlace == 0, (path, depth, colour)
        elif kind == b'IDAT':
            idat += body
        at += 12 + length
    channels = 4 if colour == 6 else 3
    stride = width * channels
    raw = zlib.decompress(idat)
    rows, previous = [], bytearray(stride)
    for y in range(height):
        start = y * (stride + 1)
        kind, line = raw[start], bytearray(raw[start + 1:start + 1 + stride])
        for i in range(stride):
            a = line[i - channels] if i >= channels else 0
            b = previous[i]
            c = previous[i - channels] if i >= channels else 0
            if kind == 1:
                line[i] = (line[i] + a) & 255
            elif kind == 2:
                line[i] = (line[i] + b) & 255
            elif kind == 3:
                line[i] = (line[i] + (a + b) // 2) & 255
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        rows.append(bytes(line))
        previous = line
    pixels = b''.join(rows)
    if channels == 3:
        pixels = b''.join(pixels[i:i + 3] + b'\xff' for i in range(0, len(pixels), 3))
    return width, height, pixels
