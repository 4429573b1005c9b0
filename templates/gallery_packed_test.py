#!/usr/bin/env python3
"""Every template of the gallery over a packed sheet, read back by a reader
of its format as the format is documented: the frames of different sizes with
clear margins and hostile names (gallery_frames.py), packed with trimming and
rotation, spacing, a border and extrusion, Retina off and on. From what each
reader finds, every frame is put back together from the sheet's pixels
(turned back the way the format reads turned frames, its trimmed margins
restored) and must equal its source PNG exactly. Formats that cannot say
what the build did are told of by the program instead. With animations, the
packed frames of a prefix-named set on one sheet and on several: each
animation's frames, as each script names them, put back the same way.

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
from gallery_build import numbered, run_build
from gallery_frames import (HOSTILE_SHEET, PACKED_FRAMES, class_name, png_bytes, png_size,
                            read_png, write_animations, write_frames)
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
    the Retina divisor, the frames' file names in the program's order, what
    the program said on standard error, and the frames' folder."""

    def __init__(self, options, text, path, sheet_path, divisor, frames, stderr, source):
        self.options, self.text, self.path, self.sheet_path = options, text, path, sheet_path
        self.divisor, self.frames, self.stderr, self.source = divisor, frames, stderr, source


class PackedGalleryTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.TemporaryDirectory()
        cls.source = write_frames(os.path.join(cls.tmp.name, 'frames'), PACKED_FRAMES)
        cls.animated = os.path.join(cls.tmp.name, 'hero')
        sizes = PACKED_FRAMES * 2
        cls.animations = write_animations(cls.animated, 'prefixes',
                                          lambda i: png_bytes(*sizes[i][:2], i, sizes[i][2]))

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
                         run.stderr.decode(), self.source)

    def animated_sheets(self, template, options):
        """The animated set packed, trimmed, with `options`: a Build for each
        sheet."""
        out = tempfile.mkdtemp(dir=self.tmp.name)
        sheet, data = os.path.join(out, 'hero.png'), os.path.join(out, 'hero.out')
        args = ['--layout', 'packed', '--animations', 'prefixes'] + APART + TRIM + options
        names, run = run_build(CLI, self.animated, sheet,
                               os.path.join(TEMPLATES, template + '.txt'), data, args)
        self.assertEqual(run.returncode, 0, run.stderr)
        names = names if '--multipack' in options else [names]
        builds = []
        for frames, sheet_path, path in zip(names, numbered(sheet, len(names)),
                                            numbered(data, len(names))):
            with open(path, encoding='utf-8') as f:
                builds.append(Build(TRIM, f.read(), path, sheet_path, 1, frames,
                                    run.stderr.decode(), self.animated))
        return builds

    def assertRestores(self, build, placed):
        """`placed` (file name to Placed) puts every frame back exactly, and
        with --rotate some are turned: the packed set's tall thin frames pack
        tighter so."""
        self.assertEqual(sorted(placed), sorted(build.frames))
        sheet = read_png(build.sheet_path)
        for name in build.frames:
            width, height, source = read_png(os.path.join(build.source, name))
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
            (_, frames), = godot_animations(build.text)
            self.assertRestores(build, dict(zip(build.frames, frames)))
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

    # Animations, packed across all their frames together: each script names
    # the part of every animation that lies on its sheet.

    def hash_parts(self, build):
        atlas = json.loads(build.text)
        if NODE_MODULES is not None:
            pixi = read_with_engine(NODE_MODULES, 'pixi', build.path, *png_size(build.sheet_path))
            self.assertEqual(pixi['animations'], atlas['animations'])
        placed = self.placed_json([dict(e, filename=k) for k, e in atlas['frames'].items()],
                                  lambda e: e['filename'])
        return [(a, [placed[n] for n in names]) for a, names in atlas['animations'].items()]

    def aseprite_parts(self, build):
        atlas = json.loads(build.text)
        placed = self.placed_json(atlas['frames'], lambda e: int(e['filename']))
        return [(t['name'], [placed[i] for i in range(t['from'], t['to'] + 1)])
                for t in atlas['meta']['frameTags']]

    def test_animations_on_packed_sheets(self):
        # Each script's animations, one after another, name the frames of its
        # sheet in order, and put back they are those frames; each
        # animation's parts on the sheets make it up once, in order. At 80
        # pixels some span two sheets.
        spanning = set()
        for template, parts_of in (('JSON Hash', self.hash_parts),
                                   ('Aseprite JSON', self.aseprite_parts),
                                   ('Godot SpriteFrames', lambda b: godot_animations(b.text))):
            for options in ([], ['--multipack', '--max-size', '80']):
                with self.subTest(template=template, options=options):
                    sheets = self.animated_sheets(template, options)
                    self.assertEqual(len(sheets) > 1, bool(options))
                    found = collections.defaultdict(list)
                    for build in sheets:
                        named, placed = [], {}
                        for animation, frames in parts_of(build):
                            part = build.frames[len(named):len(named) + len(frames)]
                            named += part
                            placed.update(zip(part, frames))
                            found[animation].append(part)
                        self.assertEqual(named, build.frames)
                        self.assertRestores(build, placed)
                    for animation, frames in self.animations:
                        parts = found.pop(animation)
                        self.assertEqual(sorted(sum(parts, [])), sorted(frames), animation)
                        for part in parts:
                            self.assertEqual(part, [f for f in frames if f in part], animation)
                        if len(parts) > 1:
                            spanning.add(animation)
                    self.assertEqual(found, {})
        self.assertTrue(spanning)

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


def godot_animations(text):
    """A Godot resource's animations: (name, [Placed of each frame]) each. Its
    AtlasTextures place frames by `region` and `margin`, never turned."""
    sections = read_godot_resource(text)
    regions = {}
    for _, attributes, properties in sections[2:-1]:
        x, y, w, h = rect2(properties['region'])
        left, top, cut_w, cut_h = rect2(properties['margin'])
        regions['SubResource("%s")' % attributes['id']] = Placed(x, y, w, h, None, left, top,
                                                                 (w + cut_w, h + cut_h))
    return [(a['name'], [regions[f['texture']] for f in a['frames']])
            for a in sections[-1][2]['animations']]


def rect2(text):
    return [int(n) for n in re.fullmatch(r'Rect2\((-?\d+), (-?\d+), (-?\d+), (-?\d+)\)',
                                         text).groups()]


if __name__ == '__main__':
    unittest.main(argv=sys.argv[:1])
