"""The frames the gallery's tests build: their hostile names and the class
names they get, their pixels as PNG files, and a PNG reader to compare the
drawn pixels with.

A frame's pixels are all opaque or fully clear, because a browser's canvas
keeps its colours multiplied by alpha: only those come back from it exactly.
Every pixel's colour depends on its place and on the frame, so a frame drawn
one pixel off, or the wrong frame, does not compare equal."""
import re
import struct
import zlib

# Names that a format must escape: a double quote, a backslash, a blank, dots,
# a leading digit, non-ASCII letters, an apostrophe.
HOSTILE_NAMES = ['say"hi.png', 'back\\slash.png', 'my walk.png', 'dot.ted.png',
                 '1up.png', 'gr\u00fc\u00df \u6b69.png', "it's.png"]
HOSTILE_SHEET = 'my "sheet" \u00e9.png'


def class_name(file_name):
    """A frame's class, as doc/templates.md gives the mapping: its name less
    ".png", each blank, tab, line feed, form feed or carriage return a "-"."""
    return re.sub(r'[ \t\n\f\r]', '-', file_name[:-4])


def frame_pixel(x, y, seed):
    if (3 * x + 2 * y + seed) % 7 == 0:
        return (0, 0, 0, 0)
    return ((6 * x + 35 * seed) % 256, (11 * y + 17 * seed) % 256, (x * y + 71 * seed) % 256, 255)


def png_bytes(width, height, seed):
    """An RGBA PNG of a frame's pixels, rows unfiltered."""
    def chunk(kind, data):
        body = kind + data
        return struct.pack('>I', len(data)) + body + struct.pack('>I', zlib.crc32(body))
    rows = b''.join(b'\0' + b''.join(bytes(frame_pixel(x, y, seed)) for x in range(width))
                    for y in range(height))
    return (b'\x89PNG\r\n\x1a\n' +
            chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, 6, 0, 0, 0)) +
            chunk(b'IDAT', zlib.compress(rows)) + chunk(b'IEND', b''))


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
