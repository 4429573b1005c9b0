#!/usr/bin/env python3
"""Every template of the gallery over a packed sheet, read back by a reader
of its format as the format is documented: the frames of different sizes with
clear margins and hostile names (gallery_frames.py), packed with trimming and
rotation, spacing, a border and extrusion, Retina off and on. From what each
reader finds, every frame is put back together from the sheet's pixels
(turned back the way the format reads turned frames, its trimmed margins
restored) and must equal its source PNG exactly. Formats that cannot say
what the build did are told of by the program instead.

    gallery_packed_test.py CLI TEMPLATES_DIR NODE_DIR

The atlases are read by the Spine runtime's TextureAtlas under node; without
node that test is skipped with a message.
"""
import collections
import json
import os
import plistlib
import re
import sys
import tempfile
import unittest
import xml.etree.ElementTree as ElementTree

from format_readers import read_css, read_godot_resource, read_protobuf_text
from gallery_build import run_build
from gallery_frames import HOSTILE_SHEET, PACKED_FRAMES, class_name, read_png, write_frames
from node_packages import node_modules, read_with_engine

CLI, TEMPLATES, NODE_DIR = (os.path.abspath(a) for a in sys.argv[1:4])
NODE_MODULES = node_modules(NODE_DIR)
APART = ['--spacing', '2', '--border', '3', '--extrude', '1']
TRIM, ROTATE = ['--trim'], ['--rotate']

# Where a reader finds a frame: its rectangle upright (x, y, w, h) at its
# place on the sheet, how it is turned there (None, 'clockwise' or
# 'anticlockwise': the way the upright frame was turned to be stored), and
# where that rectangle lies in the whole frame of `whole` size.
Placed = collections.namedtuple('Placed', 'x y w h turn off_x off_y whole')


def restored(sheet, placed):
    """The whole frame put back from `sheet` ((width, height, RGBA)) as
    `placed` says: clear around the stored rectangle, turned back upright."""
    sheet_width, _, pixels = sheet
    width, height = placed.whole
    out = bytearray(width * height * 4)
    for v in range(placed.h):
        for u in range(placed.w):
            if placed.turn == 'clockwise':
                sx, sy = placed.x + placed.h - 1 - v, placed.y + u
            elif placed.turn == 'anticlockwise':
                sx, sy = placed.x + v, placed.y + placed.w - 1 - u
            else:
                sx, sy = placed.x + u, placed.y + v
            at = ((placed.off_y + v) * width + placed.off_x + u) * 4
            out[at:at + 4] = pixels[(sy * sheet_width + sx) * 4:][:4]
    return bytes(out)


def same_pixels(a, b):
    """Equal, a clear pixel only needing to be clear."""
    return all(a[i:i + 4] == b[i:i + 4] or a[i + 3] == b[i + 3] == 0 for i in range(0, len(a), 4))


class Build:
    """One packed build: its options, the script's text and path, the sheet,
    the Retina divisor, the frames' file names in the program's order, and
    what the program said on standard error."""

    def __init__(self, options, text, path, sheet_path, divisor, frames, stderr):
        self.options, self.text, self.path, self.sheet_path = options, text, path, sheet_path
        self.divisor, self.frames, self.stderr = divisor, frames, stderr


class PackedGalleryTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.TemporaryDirectory()
        cls.source = write_frames(os.path.join(cls.tmp.name, 'frames'), PACKED_FRAMES)

    @classmethod
    def tearDownClass(cls):
        cls.tmp.cleanup()

    def builds(self, template, turns=True):
        """The template over the packed frames, set apart, trimmed or not,
        turned or not (where the format reads turned frames), Retina off and
        on."""
        for options in ([], TRIM, ROTATE, TRIM + ROTATE) if turns else ([], TRIM):
            for retina in (False, True):
                with self.subTest(template=template, options=options, retina=retina):
                    yield self.build(template, options, retina)

    def build(self, template, options, retina=False):
        out = tempfile.mkdtemp(dir=self.tmp.name)
        data = os.path.join(out, 'script.out')
        args = ['--layout', 'packed'] + APART + list(options) + (['--retina'] if retina else [])
        sheet = os.path.join(out, HOSTILE_SHEET)
        names, run = run_build(CLI, self.source, sheet, os.path.join(TEMPLATES, template + '.txt'),
                               data, args)
        self.assertEqual(run.returncode, 0, run.stderr)
        with open(data, encoding='utf-8') as f:
            return Build(options, f.read(), data, sheet, 2 if retina else 1, names,
                         run.stderr.decode())

    def assertRestores(self, build, placed):
        """`placed` (file name to Placed) puts every frame back exactly, and
        with --rotate some are turned: the packed set's tall thin frames pack
        tighter so."""
        self.assertEqual(sorted(placed), sorted(build.frames))
        sheet = read_png(build.sheet_path)
        for name in build.frames:
            width, height, source = read_png(os.path.join(self.source, name))
            self.assertEqual(placed[name].whole, (width, height), name)
            self.assertTrue(same_pixels(restored(sheet, placed[name]), source), name)
        turned = [name for name in build.frames if placed[name].turn is not None]
        self.assertEqual(bool(turned), '--rotate' in build.options, turned)

    # JSON: TexturePacker's fields, turned clockwise.

    def placed_json(self, entries, name_of):
        placed = {}
        for entry in entries:
            frame, source = entry['frame'], entry['spriteSourceSize']
            self.assertEqual((source['w'], source['h']), (frame['w'], frame['h']))
            whole = (entry['sourceSize']['w'], entry['sourceSize']['h'])
            placed[name_of(entry)] = Placed(frame['x'], frame['y'], frame['w'], frame['h'],
                                            'clockwise' if entry['rotated'] else None,
                                            source['x'], source['y'], whole)
            trimmed = whole != (frame['w'], frame['h']) or (source['x'], source['y']) != (0, 0)
            self.assertIs(entry['trimmed'], trimmed)
        return placed

    def test_json_hash_array_and_aseprite(self):
        for template in ('JSON Hash', 'JSON Array', 'Aseprite JSON'):
            for build in self.builds(template):
                atlas = json.loads(build.text)
                self.assertEqual(atlas['meta']['scale'], str(build.divisor))
                if template == 'JSON Hash':
                    entries = [dict(e, filename=k) for k, e in atlas['frames'].items()]
                else:
                    entries = atlas['frames']
                if template == 'Aseprite JSON':
                    name_of = lambda e: build.frames[int(e['filename'])]
                else:
                    name_of = lambda e: e['filename'] + '.png'
                self.assertRestores(build, self.placed_json(entries, name_of))

    # Starling: the region on the sheet, the frame around it, turned clockwise.

    def test_starling_xml(self):
        for build in self.builds('Starling XML'):
            placed = {}
            for sub in ElementTree.fromstring(build.text.encode('utf-8')):
                a = {k: v if k in ('name', 'rotated') else int(v) for k, v in sub.attrib.items()}
                turned = a['rotated'] == 'true'
                # A turned region's width on the sheet is the frame's height.
                w, h = (a['height'], a['width']) if turned else (a['width'], a['height'])
                placed[a['name'] + '.png'] = Placed(a['x'], a['y'], w, h,
                                                    'clockwise' if turned else None, -a['frameX'],
                                                    -a['frameY'],
                                                    (a['frameWidth'], a['frameHeight']))
            self.assertRestores(build, placed)
            # Written as numbers Starling and Phaser read: no "-0".
            self.assertNotIn('"-0"', build.text)

    # cocos2d: the offset of the stored rectangle's centre, y up.

    def test_cocos2d_plist(self):
        for build in self.builds('cocos2d plist'):
            plist = plistlib.loads(build.text.encode('utf-8'))
            placed = {}
            for name, frame in plist['frames'].items():
                numbers = lambda key: [float(n) for n in re.findall(r'-?\d+(?:\.5)?',
                                                                     frame[key])]
                (x, y, _, _), (w, h) = numbers('textureRect'), numbers('spriteSize')
                (ox, oy), (sw, sh) = numbers('spriteOffset'), numbers('spriteSourceSize')
                left, top = (sw - w) / 2 + ox, (sh - h) / 2 - oy
                self.assertTrue(left.is_integer() and top.is_integer(), (name, ox, oy))
                placed[name] = Placed(int(x), int(y), int(w), int(h),
                                      'clockwise' if frame['textureRotated'] else None,
                                      int(left), int(top), (int(sw), int(sh)))
            self.assertRestores(build, placed)
            # Odd margins give half pixels, written as the format reads them.
            if '--trim' in build.options:
                self.assertRegex(build.text, r'<string>\{-?\d+\.5,')

    # Atlases: the Spine runtime's reading, turned anticlockwise, offsets from
    # the bottom.

    def test_atlases(self):
        if NODE_MODULES is None:
            self.skipTest('node is missing: the Spine runtime cannot read the atlases')
        for template in ('libGDX Atlas', 'libGDX Atlas Bounds', 'Spine Atlas'):
            for build in self.builds(template):
                placed = {}
                for r in read_with_engine(NODE_MODULES, 'spine', build.path)['regions']:
                    self.assertIn(r['degrees'], (0, 90))
                    placed[r['name'] + '.png'] = Placed(
                        r['x'], r['y'], r['width'], r['height'],
                        'anticlockwise' if r['degrees'] == 90 else None, r['offsetX'],
                        r['originalHeight'] - r['offsetY'] - r['height'],
                        (r['originalWidth'], r['originalHeight']))
                self.assertRestores(build, placed)

    # Godot's margin and CSS's padding place trimmed frames; neither turns.

    def test_godot_sprite_frames(self):
        for build in self.builds('Godot SpriteFrames', turns=False):
            sections = read_godot_resource(build.text)
            regions = {}
            for _, attributes, properties in sections[2:-1]:
                x, y, w, h = rect2(properties['region'])
                left, top, cut_w, cut_h = rect2(properties['margin'])
                regions[attributes['id']] = Placed(x, y, w, h, None, left, top,
                                                   (w + cut_w, h + cut_h))
            textures = [f['texture'] for f in sections[-1][2]['animations'][0]['frames']]
            placed = {name: regions[re.fullmatch(r'SubResource\("([^"]+)"\)', t).group(1)]
                      for name, t in zip(build.frames, textures)}
            self.assertRestores(build, placed)
        self.assertIn('stored turned', self.build('Godot SpriteFrames', ROTATE).stderr)

    def test_css_sprites(self):
        for build in self.builds('CSS Sprites', turns=False):
            rules = dict(read_css(build.text))
            d = build.divisor
            placed = {}
            for name in build.frames:
                rule = rules['.sprite-' + class_name(name)]
                (x, y), (w,), (h,) = rule['background-position'], rule['width'], rule['height']
                top, right, bottom, left = (n * d for n in rule['padding'])
                self.assertEqual((rule['background-origin'], rule['background-clip']),
                                 ('content-box', 'content-box'))
                w, h = w * d, h * d
                placed[name] = Placed(int(-x * d), int(-y * d), int(w), int(h), None, int(left),
                                      int(top), (int(left + w + right), int(top + h + bottom)))
            self.assertRestores(build, placed)
        self.assertIn('stored turned', self.build('CSS Sprites', ROTATE).stderr)

    # Formats that cannot tell what the build did.

    def test_formats_without_the_fields_are_told_of(self):
        # Defold's tiles lie in a grid, which packed frames do not.
        defold = self.build('Defold Tilesource', [])
        self.assertIn("not their places on the sheet: with the frames packed", defold.stderr)
        self.assertIn('tile_width', read_protobuf_text(defold.text))
        page = self.build('HTML5 Canvas', TRIM + ROTATE)
        self.assertIn('stored turned', page.stderr)
        self.assertIn('are trimmed, but', page.stderr)
        for template in ('JSON Hash', 'Starling XML', 'cocos2d plist', 'Spine Atlas'):
            self.assertEqual(self.build(template, TRIM + ROTATE).stderr, '', template)


def rect2(text):
    return [int(n) for n in re.fullmatch(r'Rect2\((-?\d+), (-?\d+), (-?\d+), (-?\d+)\)',
                                         text).groups()]


if __name__ == '__main__':
    unittest.main(argv=sys.argv[:1])
