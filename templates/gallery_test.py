#!/usr/bin/env python3
"""Every template of the gallery expanded by orvane-zozivi-cli and read back by
a reader of its format: Python's json, xml.etree and plistlib; the Spine
runtime's TextureAtlas, PixiJS's Spritesheet and Phaser 3's atlas parsers
under node; small readers
written from the formats' descriptions for CSS, Godot's text resources and
Defold's tile sources. Each runs over the example frames (64 x 64) and over a
folder of odd-sized frames (37 x 21) whose names hold a double quote, a
backslash, a blank, dots, a leading digit and non-ASCII letters, saved as a
sheet whose name holds a blank, a quote and a non-ASCII letter; Retina off
and on. Every name, rectangle and the frame count must come back exactly.
With animations, from the example frames copied into three subfolders and
from a set of hostile prefix-named frames, every animation must come back
with its frames in order and its rate.

    gallery_test.py CLI FRAMES_DIR TEMPLATES_DIR NODE_DIR

NODE_DIR is where the engines' packages are installed with npm (node_packages.py)
when node is present; without node those readers are skipped with a message.
"""
import glob
import json
import os
import plistlib
import re
import subprocess
import sys
import tempfile
import unittest
import xml.etree.ElementTree as ElementTree

from format_readers import read_css, read_godot_resource, read_protobuf_text
from gallery_build import run_build
from gallery_frames import (ANIMATION_FOLDERS, HOSTILE_NAMES, HOSTILE_SHEET, class_name,
                            png_bytes, png_size, write_animations, write_frames)
from node_packages import node_modules, read_with_engine

CLI, FRAMES, TEMPLATES, NODE_DIR = (os.path.abspath(a) for a in sys.argv[1:5])
COLUMNS = 3
NODE_MODULES = node_modules(NODE_DIR)


def engine(mode, path, *args):
    return read_with_engine(NODE_MODULES, mode, path, *args)


class Build:
    """One build: the script's text, where it is, the sheet's size and file name,
    the Retina divisor, and the frames (file name, x, y, w, h in the sheet's
    pixels) in the program's order."""

    def __init__(self, text, path, size, sheet, divisor, frames, stderr):
        self.text, self.path, self.size, self.sheet = text, path, size, sheet
        self.divisor, self.frames, self.stderr = divisor, frames, stderr

    def base(self, file_name):
        return file_name[:-4]

    @property
    def sheet_base(self):
        return os.path.splitext(self.sheet)[0]


class GalleryTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.TemporaryDirectory()
        cls.hostile = write_frames(os.path.join(cls.tmp.name, 'hostile'),
                                   [(37, 21)] * len(HOSTILE_NAMES))
        examples = sorted(os.listdir(FRAMES))
        def example(i):
            with open(os.path.join(FRAMES, examples[i % len(examples)]), 'rb') as f:
                return f.read()
        cls.animated = {}
        for by in ('folders', 'prefixes'):
            folder = os.path.join(cls.tmp.name, by, 'hero')
            cls.animated[by] = folder, write_animations(folder, by, example, len(examples))

    @classmethod
    def tearDownClass(cls):
        cls.tmp.cleanup()

    def builds(self, template, spacing=0, extrude=0, premultiplied=False):
        """The template over both folders, Retina off and on."""
        for folder, sheet in ((FRAMES, 'walk.png'), (self.hostile, HOSTILE_SHEET)):
            for divisor in (1, 2):
                with self.subTest(folder=os.path.basename(folder), retina=divisor == 2,
                                  spacing=spacing, extrude=extrude, premultiplied=premultiplied):
                    yield self.build(template, folder, sheet, divisor, spacing, extrude,
                                     premultiplied)

    def build(self, template, folder, sheet_name, divisor, spacing=0, extrude=0,
              premultiplied=False, options=()):
        out = tempfile.mkdtemp(dir=self.tmp.name)
        data = os.path.join(out, 'script.out')
        options = ['--columns', str(COLUMNS)] + list(options)
        if divisor == 2:
            options.append('--retina')
        if spacing or extrude:
            options += ['--spacing', str(spacing), '--extrude', str(extrude)]
        if premultiplied:
            options.append('--premultiplied-alpha')
        names, run = run_build(CLI, folder, os.path.join(out, sheet_name),
                               os.path.join(TEMPLATES, template + '.txt'), data, options)
        self.assertEqual(run.returncode, 0, run.stderr)
        frames = []
        for i, name in enumerate(names):
            w, h = png_size(os.path.join(folder, name))
            step_x, step_y = w + 2 * extrude + spacing, h + 2 * extrude + spacing
            frames.append((name, extrude + i % COLUMNS * step_x, extrude + i // COLUMNS * step_y,
                           w, h))
        pngs = glob.glob('*.png', root_dir=folder) + glob.glob('*/*.png', root_dir=folder)
        self.assertEqual(sorted(names), sorted(pngs))
        with open(data, encoding='utf-8') as f:
            return Build(f.read(), data, png_size(os.path.join(out, sheet_name)), sheet_name,
                         divisor, frames, run.stderr.decode())

    # JSON

    def check_rectangles(self, build, entries):
        """Full-size rectangles, never halved: Retina is told by the scale."""
        self.assertEqual(len(entries), len(build.frames))
        for entry, (name, x, y, w, h) in zip(entries, build.frames):
            self.assertEqual(entry['frame'], {'x': x, 'y': y, 'w': w, 'h': h}, name)
            self.assertEqual(entry['spriteSourceSize'], {'x': 0, 'y': 0, 'w': w, 'h': h})
            self.assertEqual(entry['sourceSize'], {'w': w, 'h': h})
            self.assertIs(entry['rotated'], False)
            self.assertIs(entry['trimmed'], False)

    def check_phaser(self, build, name_of):
        """Phaser's parser takes every frame once, in the sheet's pixels."""
        if NODE_MODULES is None:
            return
        phaser = engine('phaser', build.path, *build.size)
        self.assertEqual(phaser['refused'], [])
        self.assertEqual(phaser['names'], [name_of(f[0]) for f in build.frames])
        self.assertEqual(phaser['frames'],
                         {name_of(name): [x, y, w, h] for name, x, y, w, h in build.frames})

    def check_meta(self, build, meta):
        self.assertEqual(meta['image'], build.sheet)
        self.assertEqual(meta['size'], {'w': build.size[0], 'h': build.size[1]})
        self.assertEqual(meta['scale'], str(build.divisor))
        self.assertEqual(meta['format'], 'RGBA8888')

    def test_json_hash(self):
        for build in self.builds('JSON Hash'):
            pairs = []
            atlas = json.loads(build.text, object_pairs_hook=lambda p: pairs.append(p) or dict(p))
            # No key twice: every frame once, in order.
            self.assertEqual(list(atlas['frames']), [build.base(f[0]) for f in build.frames])
            self.assertTrue(all(len(p) == len(dict(p)) for p in pairs))
            self.check_rectangles(build, list(atlas['frames'].values()))
            self.check_meta(build, atlas['meta'])
            self.assertEqual(atlas['animations'],
                             {build.sheet_base: [build.base(f[0]) for f in build.frames]})
            if NODE_MODULES is None:
                continue
            # What PixiJS draws: every rectangle divided by the scale, exactly.
            pixi = engine('pixi', build.path, *build.size)
            self.assertEqual(pixi['resolution'], build.divisor)
            self.assertEqual(pixi['textures'], {
                build.base(name): [v / build.divisor for v in (x, y, w, h)]
                for name, x, y, w, h in build.frames})
            self.assertEqual(pixi['animations'],
                             {build.sheet_base: [build.base(f[0]) for f in build.frames]})
            self.check_phaser(build, build.base)
        if NODE_MODULES is None:
            print('gallery_test: node is missing; PixiJS did not read the JSON hash',
                  file=sys.stderr)

    def test_json_array(self):
        for build in self.builds('JSON Array'):
            atlas = json.loads(build.text)
            self.assertEqual([e['filename'] for e in atlas['frames']],
                             [build.base(f[0]) for f in build.frames])
            self.check_rectangles(build, atlas['frames'])
            self.check_meta(build, atlas['meta'])
            self.check_phaser(build, build.base)

    def test_aseprite_json(self):
        for build in self.builds('Aseprite JSON'):
            atlas = json.loads(build.text)
            names = [f[0] for f in build.frames]
            # Phaser's createFromAseprite finds the frames of a tag by index.
            self.assertEqual([e['filename'] for e in atlas['frames']],
                             [str(i) for i in range(len(build.frames))])
            self.assertTrue(all(e['duration'] == 100 for e in atlas['frames']))
            self.check_rectangles(build, atlas['frames'])
            self.check_meta(build, atlas['meta'])
            self.assertEqual(atlas['meta']['frameTags'], [
                {'name': build.sheet_base, 'from': 0, 'to': len(build.frames) - 1,
                 'direction': 'forward', 'color': '#000000ff'}])
            self.check_phaser(build, lambda name: str(names.index(name)))

    # XML and property lists

    def test_starling_xml(self):
        for build in self.builds('Starling XML'):
            root = ElementTree.fromstring(build.text.encode('utf-8'))
            self.assertEqual(root.tag, 'TextureAtlas')
            self.assertEqual(root.attrib, {'imagePath': build.sheet, 'width': str(build.size[0]),
                                           'height': str(build.size[1])})
            self.assertEqual([(s.tag, s.attrib) for s in root], [
                ('SubTexture', {'name': build.base(name), 'x': str(x), 'y': str(y),
                                'width': str(w), 'height': str(h)})
                for name, x, y, w, h in build.frames])

    def test_cocos2d_plist(self):
        for build in self.builds('cocos2d plist'):
            plist = plistlib.loads(build.text.encode('utf-8'))
            self.assertEqual(plist['metadata'], {
                'format': 3, 'pixelFormat': 'RGBA8888', 'premultiplyAlpha': False,
                'realTextureFileName': build.sheet, 'textureFileName': build.sheet,
                'size': '{%d,%d}' % build.size})
            self.assertEqual(list(plist['frames']), [f[0] for f in build.frames])
            for name, x, y, w, h in build.frames:
                self.assertEqual(plist['frames'][name], {
                    'aliases': [], 'spriteOffset': '{0,0}', 'spriteSize': '{%d,%d}' % (w, h),
                    'spriteSourceSize': '{%d,%d}' % (w, h),
                    'textureRect': '{{%d,%d},{%d,%d}}' % (x, y, w, h), 'textureRotated': False})

    # Texture atlases, read by the Spine runtime

    def check_atlas(self, template, pma):
        """`pma`: whether the format has the field; where it has it, the
        runtime must read it as the sheet was built."""
        builds = [(b, False) for b in self.builds(template)]
        builds += [(b, True) for b in self.builds(template, premultiplied=True)]
        for build, premultiplied in builds:
            if NODE_MODULES is None:
                self.skipTest('node is missing: the Spine runtime cannot read the atlas')
            self.assertEqual(build.text.count('pma:'), 1 if pma else 0)
            atlas = engine('spine', build.path)
            width, height = build.size
            page = {'name': build.sheet, 'width': width, 'height': height,
                    'pma': premultiplied and pma}
            self.assertEqual(atlas['pages'], [page])
            # The texture coordinates are the same whether the engine draws the
            # sheet at full or at half size.
            self.assertEqual(atlas['regions'], [
                {'name': build.base(name), 'page': build.sheet, 'x': x, 'y': y, 'width': w,
                 'height': h, 'u': x / width, 'v': y / height, 'u2': (x + w) / width,
                 'v2': (y + h) / height, 'index': -1, 'degrees': 0, 'offsetX': 0, 'offsetY': 0,
                 'originalWidth': w, 'originalHeight': h}
                for name, x, y, w, h in build.frames])

    def test_libgdx_atlas(self):
        self.check_atlas('libGDX Atlas', pma=False)

    def test_libgdx_atlas_bounds(self):
        self.check_atlas('libGDX Atlas Bounds', pma=True)

    def test_spine_atlas(self):
        self.check_atlas('Spine Atlas', pma=True)

    # CSS

    def test_css_sprites(self):
        for build in self.builds('CSS Sprites'):
            rules = read_css(build.text)
            self.assertEqual([s for s, _ in rules],
                             ['.sprite'] + ['.sprite-' + class_name(f[0]) for f in build.frames])
            shared = rules[0][1]
            self.assertEqual(shared['background-image'], 'url(%s)' % build.sheet)
            d = build.divisor
            self.assertEqual(shared['background-size'], [build.size[0] / d, build.size[1] / d])
            for (name, x, y, w, h), (_, rule) in zip(build.frames, rules[1:]):
                self.assertEqual(rule['background-position'], [-x / d, -y / d], name)
                self.assertEqual(rule['width'], [w / d], name)
                self.assertEqual(rule['height'], [h / d], name)

    # Godot and Defold

    def test_godot_sprite_frames(self):
        for build in self.builds('Godot SpriteFrames'):
            sections = read_godot_resource(build.text)
            header, ext, *subs, resource = sections
            self.assertEqual(header, ('gd_resource', {'type': 'SpriteFrames', 'format': 3}, {}))
            self.assertEqual(ext, ('ext_resource', {'type': 'Texture2D', 'path': build.sheet,
                                                    'id': '1_sheet'}, {}))
            regions = {}
            for kind, attributes, properties in subs:
                self.assertEqual((kind, attributes['type']), ('sub_resource', 'AtlasTexture'))
                self.assertEqual(properties['atlas'], 'ExtResource("1_sheet")')
                regions[attributes['id']] = properties['region']
            animations = resource[2]['animations']
            self.assertEqual(len(animations), 1)
            animation = animations[0]
            self.assertEqual((animation['name'], animation['loop'], animation['speed']),
                             (build.sheet_base, True, 10.0))
            textures = [f['texture'] for f in animation['frames']]
            self.assertEqual(len(textures), len(build.frames))
            for texture, (name, x, y, w, h) in zip(textures, build.frames):
                m = re.fullmatch(r'SubResource\("([^"]+)"\)', texture)
                self.assertEqual(regions.pop(m.group(1)), 'Rect2(%d, %d, %d, %d)' % (x, y, w, h))
            self.assertEqual(regions, {})

    def test_defold_tilesource(self):
        builds = list(self.builds('Defold Tilesource')) + list(
            self.builds('Defold Tilesource', spacing=3, extrude=2))
        for build in builds:
            source = read_protobuf_text(build.text)
            name, x, y, w, h = build.frames[0]
            self.assertEqual(source['image'], ['/' + build.sheet])
            self.assertEqual((source['tile_width'], source['tile_height']), ([w], [h]))
            animation, = source['animations']
            self.assertEqual(animation['id'], [build.sheet_base])
            self.assertEqual((animation['start_tile'], animation['end_tile'], animation['fps']),
                             ([1], [len(build.frames)], [10]))
            # Defold numbers tiles from 1, left to right and row by row. Each
            # tile is ringed by its margin and the rings lie its spacing apart,
            # in the sheet's own pixels: each frame must be the tile of its number.
            (margin,), (spacing,) = source['tile_margin'], source['tile_spacing']
            step_x, step_y = w + 2 * margin + spacing, h + 2 * margin + spacing
            per_row = (build.size[0] + spacing) // step_x
            for number, (name, x, y, _, _) in enumerate(build.frames, 1):
                column, row = (number - 1) % per_row, (number - 1) // per_row
                self.assertEqual((margin + column * step_x, margin + row * step_y), (x, y), name)

    # Animations

    def animated_builds(self, template):
        """The template over the animated folders: from subfolders at --fps
        24, from prefixes at the rate an animations option gives by default.
        Yields each build, its animations ((name, [frame name less ".png"])
        each, in order) and the rate."""
        for by, fps in (('folders', 24), ('prefixes', None)):
            folder, animations = self.animated[by]
            options = ['--animations', by] + (['--fps', str(fps)] if fps else [])
            with self.subTest(template=template, animations=by):
                build = self.build(template, folder, 'hero.png', 1, options=options)
                self.assertEqual([f[0] for f in build.frames],
                                 [name for _, names in animations for name in names])
                yield build, [(a, [n[:-4] for n in names]) for a, names in animations], fps or 12

    def test_animations_each_with_its_frames_and_rate(self):
        for build, animations, _ in self.animated_builds('JSON Hash'):
            self.assertEqual(list(json.loads(build.text)['animations'].items()), animations)
            if NODE_MODULES is not None:
                pixi = engine('pixi', build.path, *build.size)
                self.assertEqual(list(pixi['animations'].items()), animations)
        for build, animations, fps in self.animated_builds('Aseprite JSON'):
            atlas = json.loads(build.text)
            names = [build.base(f[0]) for f in build.frames]
            self.assertEqual([(t['name'], names[t['from']:t['to'] + 1])
                              for t in atlas['meta']['frameTags']], animations)
            self.assertEqual({e['duration'] for e in atlas['frames']}, {round(1000 / fps)})
        for build, animations, fps in self.animated_builds('Godot SpriteFrames'):
            sections = read_godot_resource(build.text)
            regions = {'SubResource("%s")' % a['id']: p['region'] for _, a, p in sections[2:-1]}
            rects = {build.base(n): 'Rect2(%d, %d, %d, %d)' % tuple(r) for n, *r in build.frames}
            found = sections[-1][2]['animations']
            self.assertEqual([(a['name'], [regions[f['texture']] for f in a['frames']])
                              for a in found],
                             [(a, [rects[n] for n in names]) for a, names in animations])
            self.assertEqual({a['speed'] for a in found}, {float(fps)})
        for build, animations, fps in self.animated_builds('Defold Tilesource'):
            names = [build.base(f[0]) for f in build.frames]
            found = read_protobuf_text(build.text)['animations']
            self.assertEqual([(a['id'][0], names[a['start_tile'][0] - 1:a['end_tile'][0]])
                              for a in found], animations)
            self.assertEqual({a['fps'][0] for a in found}, {fps})

    def test_animations_carried_by_the_frame_names(self):
        # Starling's getTextures(prefix) takes the names that start with it,
        # sorted without regard to case; cocos2d's cache is keyed by them.
        readers = {'Starling XML': lambda text: [
                       s.attrib['name'] for s in ElementTree.fromstring(text.encode('utf-8'))],
                   'cocos2d plist': lambda text: [
                       n[:-4] for n in plistlib.loads(text.encode('utf-8'))['frames']]}
        for template, read in readers.items():
            for build, animations, _ in self.animated_builds(template):
                names = read(build.text)
                self.assertEqual(names, [n for _, frames in animations for n in frames])
                for animation, frames in animations:
                    prefix = animation + ('/' if '/' in frames[0] else '')
                    self.assertEqual(sorted((n for n in names if n.startswith(prefix)),
                                            key=str.lower), frames)

    def test_animations_from_bad_subfolders(self):
        folder = os.path.join(self.tmp.name, 'bad', 'hero')
        write_animations(folder, 'folders', lambda i: png_bytes(8, 8, i), per_folder=1)
        os.makedirs(os.path.join(folder, 'empty'))
        open(os.path.join(folder, 'empty', 'notes.txt'), 'w').close()
        build = self.build('JSON Hash', folder, 'hero.png', 1, options=['--animations', 'folders'])
        self.assertEqual(list(json.loads(build.text)['animations']), ANIMATION_FOLDERS)
        self.assertEqual(build.stderr, 'orvane-zozivi-cli: The subfolder "empty" holds no PNG '
                         'frames, so no animation comes of it.\n')
        # "jump up" and "jump-up" are one class on a page: refused before the
        # sheet or the script is touched.
        os.rename(os.path.join(folder, 'empty'), os.path.join(folder, 'jump-up'))
        with open(os.path.join(folder, 'jump-up', 'frame1.png'), 'wb') as f:
            f.write(png_bytes(8, 8, 9))
        sheet = os.path.join(os.path.dirname(build.path), build.sheet)
        # Neither replaced nor written to.
        files = lambda: [(s.st_ino, s.st_mtime_ns) for s in map(os.stat, (sheet, build.path))]
        written = files()
        run = subprocess.run([CLI, '--sheet', sheet, '--animations', 'folders', '--script',
                              os.path.join(TEMPLATES, 'JSON Hash.txt'), '--data', build.path,
                              folder], capture_output=True,
                             env=dict(os.environ, HOME=self.tmp.name))
        self.assertEqual((run.returncode, run.stdout, run.stderr.decode()), (1, b'', (
            'Wait! The animations "jump up" and "jump-up" cannot be told apart in the script! '
            'Unable to create sprite sheet/strip.\nWritten in an HTML class attribute, both '
            'names are "jump-up": rename one of them.\n')))
        self.assertEqual(files(), written)

    # Retina

    def test_retina_warns_of_odd_frame_sizes_and_succeeds(self):
        for build in self.builds('JSON Hash'):
            odd = build.frames[0][3] % 2 or build.frames[0][4] % 2
            if build.divisor == 2 and odd:
                self.assertIn('37 x 21', build.stderr)
            else:
                self.assertEqual(build.stderr, '')


if __name__ == '__main__':
    unittest.main(argv=sys.argv[:1])
