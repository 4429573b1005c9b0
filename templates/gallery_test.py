#!/usr/bin/env python3
"""The gallery's templates expanded by orvane-zozivi-cli over the example frames,
without and with --retina, and read back: the JSON hash with Python's json
module, the CSS and the libGDX atlas by small readers written from those
formats' descriptions. Every rectangle and the frame count must come back
exactly, computed here from the frames' own PNG headers.

    gallery_test.py CLI FRAMES_DIR TEMPLATES_DIR
"""
import json
import os
import re
import struct
import subprocess
import sys
import tempfile
import unittest

CLI, FRAMES, TEMPLATES = sys.argv[1:4]
COLUMNS = 5  # 8 example frames: a full row and a short one, a sheet wider than high


def png_size(path):
    """Width and height from the IHDR chunk, which follows the 8-byte signature."""
    with open(path, 'rb') as f:
        head = f.read(24)
    assert head[:8] == b'\x89PNG\r\n\x1a\n' and head[12:16] == b'IHDR', path
    return struct.unpack('>II', head[16:24])


def version_key(name):
    return [int(part) if part.isdigit() else part for part in re.split(r'(\d+)', name)]


def expected_frames(divisor):
    """(name, x, y, w, h) per frame in the order the program reads them: a sheet
    of COLUMNS frames per row."""
    names = sorted((n for n in os.listdir(FRAMES) if n.endswith('.png')), key=version_key)
    frames = []
    for i, name in enumerate(names):
        w, h = png_size(os.path.join(FRAMES, name))
        frames.append((name[:-4], i % COLUMNS * w // divisor, i // COLUMNS * h // divisor,
                       w // divisor, h // divisor))
    return frames


def read_css(text):
    """Rule sets of a style sheet: comments /* */ dropped, each `selector {
    declarations }` split at ";" into property and value at the first ":"."""
    text = re.sub(r'/\*.*?\*/', '', text, flags=re.S)
    rules = []
    for selector, body in re.findall(r'([^{}]+)\{([^{}]*)\}', text):
        declarations = {}
        for declaration in body.split(';'):
            if declaration.strip():
                prop, colon, value = declaration.partition(':')
                assert colon, declaration
                declarations[prop.strip().lower()] = value.strip()
        rules.append((selector.strip(), declarations))
    assert re.sub(r'([^{}]+)\{([^{}]*)\}', '', text).strip() == '', 'text outside rule sets'
    return rules


def css_pixels(value):
    """A list of lengths in px; 0 may stand without a unit."""
    numbers = []
    for length in value.split():
        m = re.fullmatch(r'(-?\d+)(px)?', length)
        assert m and (m.group(2) or m.group(1).lstrip('-') == '0'), value
        numbers.append(int(m.group(1)))
    return numbers


def read_atlas(text):
    """A libGDX texture atlas: pages separated by blank lines; a page is its image
    name, then "key: value" lines about the page, then regions, each a name line
    followed by indented "key: value" lines. Values are comma separated."""
    pages = []
    page = None
    for line in text.split('\n'):
        if not line.strip():
            page = None
            continue
        if page is None:
            page = {'name': line, 'fields': {}, 'regions': []}
            pages.append(page)
            continue
        key, colon, value = line.partition(':')
        values = [v.strip() for v in value.split(',')]
        if line[0] in ' \t':
            assert colon and page['regions'], line
            page['regions'][-1]['fields'][key.strip()] = values
        elif colon and not page['regions']:
            page['fields'][key.strip()] = values
        else:
            page['regions'].append({'name': line, 'fields': {}})
    return pages


class GalleryTest(unittest.TestCase):
    def expand(self, template, divisor):
        """Builds the example frames with the template, with --retina when the
        divisor is 2; the script's text, the sheet's size divided and the frames
        the script must list."""
        with tempfile.TemporaryDirectory() as tmp:
            sheet = os.path.join(tmp, 'walk.png')
            data = os.path.join(tmp, 'walk.data')
            args = [CLI, '--sheet', sheet, '--columns', str(COLUMNS), '--script',
                    os.path.join(TEMPLATES, template + '.txt'), '--data', data, FRAMES]
            if divisor == 2:
                args.append('--retina')
            subprocess.run(args, check=True, capture_output=True, env=dict(os.environ, HOME=tmp))
            with open(data, encoding='utf-8') as f:
                size = tuple(n // divisor for n in png_size(sheet))
                return f.read(), size, expected_frames(divisor)

    def test_json_hash(self):
        for divisor in (1, 2):
            with self.subTest(retina=divisor == 2):
                text, size, frames = self.expand('JSON Hash', divisor)
                # The template repeats the last frame's entry (it cannot leave the
                # separator off inside its block); the repeat must be identical.
                pairs = []
                json.loads(text, object_pairs_hook=lambda p: pairs.append(p) or dict(p))
                frame_pairs = next(p for p in pairs if p and p[0][0] == frames[0][0])
                names = [f[0] for f in frames]
                self.assertEqual([k for k, _ in frame_pairs], names + names[-1:])
                self.assertEqual(frame_pairs[-1][1], frame_pairs[-2][1])

                atlas = json.loads(text)
                self.assertEqual(len(atlas['frames']), len(frames))
                for name, x, y, w, h in frames:
                    entry = atlas['frames'][name]
                    self.assertEqual(entry['frame'], {'x': x, 'y': y, 'w': w, 'h': h}, name)
                    self.assertEqual(entry['spriteSourceSize'], {'x': 0, 'y': 0, 'w': w, 'h': h})
                    self.assertEqual(entry['sourceSize'], {'w': w, 'h': h})
                    self.assertIs(entry['rotated'], False)
                    self.assertIs(entry['trimmed'], False)
                self.assertEqual(atlas['meta'], {
                    'app': 'Orvane Zozivi', 'version': '1.0', 'image': 'walk.png',
                    'format': 'RGBA8888', 'size': {'w': size[0], 'h': size[1]}, 'scale': '1'})

    def test_css_sprites(self):
        for divisor in (1, 2):
            with self.subTest(retina=divisor == 2):
                text, size, frames = self.expand('CSS Sprites', divisor)
                rules = read_css(text)
                self.assertEqual([s for s, _ in rules],
                                 ['.sprite'] + ['.sprite-' + f[0] for f in frames])
                shared = rules[0][1]
                self.assertEqual(shared['background-image'], 'url("walk.png")')
                self.assertEqual(css_pixels(shared['background-size']), list(size))
                for (name, x, y, w, h), (_, rule) in zip(frames, rules[1:]):
                    self.assertEqual(css_pixels(rule['background-position']), [-x, -y], name)
                    self.assertEqual(css_pixels(rule['width']), [w], name)
                    self.assertEqual(css_pixels(rule['height']), [h], name)

    def test_libgdx_atlas(self):
        for divisor in (1, 2):
            with self.subTest(retina=divisor == 2):
                text, size, frames = self.expand('libGDX Atlas', divisor)
                pages = read_atlas(text)
                self.assertEqual(len(pages), 1)
                page = pages[0]
                self.assertEqual(page['name'], 'walk.png')
                self.assertEqual(page['fields']['size'], [str(n) for n in size])
                self.assertEqual(set(page['fields']), {'size', 'format', 'filter', 'repeat'})
                self.assertEqual([r['name'] for r in page['regions']], [f[0] for f in frames])
                for (name, x, y, w, h), region in zip(frames, page['regions']):
                    fields = {k: [int(v) if re.fullmatch(r'-?\d+', v) else v for v in values]
                              for k, values in region['fields'].items()}
                    expected = {'rotate': ['false'], 'xy': [x, y], 'size': [w, h],
                                'orig': [w, h], 'offset': [0, 0], 'index': [-1]}
                    self.assertEqual(fields, expected, name)


if __name__ == '__main__':
    unittest.main(argv=sys.argv[:1])
