#!/usr/bin/env python3
"""The gallery's scripts as their consumers draw them in headless Chromium:
Phaser 3 and 4 play the Aseprite JSON's animations (one, or several from
subfolders or name prefixes, on one sheet or two) and draw every frame of the
JSON hash, the JSON array and the Starling XML, PixiJS 8 every frame of the
JSON hash, the Spine runtime (spine-core's atlas, drawn by spine-webgl) every
region of the three atlases, a page shows every frame of the CSS sprites by
its class, and the HTML5 pages draw their frames into their canvas. Every
drawn frame is read back and compared with its source PNG, pixel for pixel,
at its whole size, with the transparent pixels around it: trimmed frames
must come back with their clear margins, turned ones upright
(browser/draw_frames.mjs draws; one browser for all checks).

The frames are the odd-sized ones with hostile names of gallery_test.py, made
of opaque and fully clear pixels only (gallery_frames.py says why); the sheets are
built with spacing, a border and extrusion, with Retina off and on; packed
sheets of frames of different sizes with trimming and rotation off and on.

    gallery_browser_test.py CLI TEMPLATES_DIR NODE_DIR

Exits with status 77 (skipped) where node or Chromium is missing.
"""
import base64
import json
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

from gallery_frames import (EVEN_PACKED_FRAMES, HOSTILE_NAMES, HOSTILE_SHEET, PACKED_FRAMES,
                            class_name, png_bytes, read_png, write_animations, write_frames)
from gallery_build import numbered, run_build
from node_packages import node_modules

CLI, TEMPLATES, NODE_DIR = (os.path.abspath(a) for a in sys.argv[1:4])
CHROMIUM = shutil.which('chromium') or shutil.which('chromium-browser')
ODD, EVEN = (37, 21), (38, 22)  # frame sizes of the grid sheets
PAD = 2  # clear pixels drawn around each frame: what spills over shows there


def canvas(frame_sizes):
    """A canvas with PAD pixels around the largest frame, its sides even:
    Phaser 3 centres its camera on the canvas and, along an odd side, draws
    every sprite half a pixel off, blurred."""
    sides = [max(size[i] for size in frame_sizes) for i in (0, 1)]
    return [n + 2 * PAD + n % 2 for n in sides]


APART = ['--spacing', '2', '--border', '3', '--extrude', '1']
PACKED = ['--layout', 'packed']
TRIM, ROTATE = ['--trim'], ['--rotate']
# Frame sets: where they are made from, and the canvas their draws need.
SETS = {'odd': [ODD] * len(PACKED_FRAMES), 'even': [EVEN] * len(PACKED_FRAMES),
        'packed': PACKED_FRAMES, 'even packed': EVEN_PACKED_FRAMES}
AT = [PAD, PAD]
# Animated sets: the frames of each grouping, in turn.
ANIMATED = {'folders': [ODD] * 9, 'prefixes': PACKED_FRAMES * 2}


class Sheet:
    """A built sheet: its folder, file name and script, the folder of its
    frames and their files in the program's order, and what the program said
    on standard error."""

    def __init__(self, folder, sheet, script, source, frames, stderr):
        self.folder, self.sheet, self.script = folder, sheet, script
        self.source, self.frames, self.stderr = source, frames, stderr

    @property
    def base(self):
        return os.path.splitext(self.sheet)[0]

    def turned(self):
        """The frames the JSON hash says are stored turned, by name."""
        with open(os.path.join(self.folder, self.script), encoding='utf-8') as f:
            return {name for name, e in json.load(f)['frames'].items() if e['rotated']}


class BrowserTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.TemporaryDirectory()
        cls.folders = {name: write_frames(os.path.join(cls.tmp.name, name), sizes)
                       for name, sizes in SETS.items()}
        cls.animation_of = {}  # by frame folder: each frame's animation
        for by, sizes in ANIMATED.items():
            folder = cls.folders[by] = os.path.join(cls.tmp.name, by, 'hero')
            animations = write_animations(folder, by, lambda i: png_bytes(*sizes[i][:2], i,
                                                                          *sizes[i][2:]))
            cls.animation_of[folder] = {f: name for name, frames in animations for f in frames}
        cls.checks = []
        cls.sheets = {}
        for retina in (False, True):
            # Chromium draws the background of an element half a CSS pixel
            # wide (an odd frame at device scale 2) a pixel off inside: the
            # Retina style sheet is checked on frames of even size.
            frames = 'even' if retina else 'odd'
            css = cls.build('CSS Sprites.txt', frames, '.css', retina, APART)
            cls.check(('css', retina), css, consumer='css', scale=2 if retina else 1,
                      canvas=canvas(SETS[frames]), at=AT,
                      classes=['sprite sprite-' + class_name(n) for n in css.frames])
            page = cls.build('HTML5 Canvas.txt', 'odd', '.html', retina, APART)
            cls.check(('html5 canvas', retina), page, consumer='page', count=len(page.frames))
        for options in ([], APART):
            aseprite = cls.build('Aseprite JSON.txt', 'odd', '.json', False, options)
            hash_ = cls.build('JSON Hash.txt', 'odd', '.json', False, options)
            example = cls.build('HTML5', 'odd', '.html', False, options, sheet_name='run.png')
            cls.check(('html5 example', bool(options)), example, consumer='page',
                      count=len(example.frames))
            cls.check(('pixi', 'grid', bool(options)), hash_, consumer='pixi',
                      canvas=canvas(SETS['odd']), at=AT)
            for phaser in ('phaser3', 'phaser4'):
                cls.check((phaser, 'aseprite', bool(options)), aseprite, consumer=phaser,
                          load='aseprite', canvas=canvas(SETS['odd']), at=AT)
                cls.check((phaser, 'atlas', bool(options)), hash_, consumer=phaser,
                          load='atlas', canvas=canvas(SETS['odd']), at=AT)
        cls.packed_checks()
        cls.animation_checks()
        jobs = os.path.join(cls.tmp.name, 'checks.json')
        with open(jobs, 'w') as f:
            json.dump({'checks': [check for _, check in cls.checks]}, f)
        run = subprocess.run(['node', os.path.join(TEMPLATES, 'browser', 'draw_frames.mjs'), jobs],
                             capture_output=True, check=True, timeout=600,
                             env=dict(os.environ, OZ_NODE_MODULES=NODE_MODULES,
                                      OZ_CHROMIUM=CHROMIUM))
        results = json.loads(run.stdout)['results']
        cls.results = {key: result for (key, _), result in zip(cls.checks, results)}

    @classmethod
    def packed_checks(cls):
        """Packed sheets, set apart, of the frames of different sizes: the JSON
        hash with trimming and rotation off and on, drawn by PixiJS and
        Phaser; the atlases by the Spine runtime; the other formats with the
        options their engines read."""
        packed = canvas(PACKED_FRAMES)
        for trim in (False, True):
            for rotate in (False, True):
                options = PACKED + APART + (TRIM if trim else []) + (ROTATE if rotate else [])
                hash_ = cls.build('JSON Hash.txt', 'packed', '.json', False, options)
                for consumer in ('pixi', 'phaser3', 'phaser4'):
                    cls.check((consumer, 'packed', trim, rotate), hash_, consumer=consumer,
                              load='atlas', canvas=packed, at=AT)
                spine = cls.build('Spine Atlas.txt', 'packed', '.atlas', False, options)
                cls.check(('spine', 'Spine Atlas.txt', trim, rotate), spine, consumer='spine',
                          canvas=packed, at=AT)
        both = PACKED + APART + TRIM + ROTATE
        retina = cls.build('JSON Hash.txt', 'packed', '.json', True, both)
        cls.check(('pixi', 'packed retina'), retina, consumer='pixi', canvas=packed, at=AT)
        for template in ('libGDX Atlas.txt', 'libGDX Atlas Bounds.txt'):
            atlas = cls.build(template, 'packed', '.atlas', False, both)
            cls.check(('spine', template, True, True), atlas, consumer='spine', canvas=packed,
                      at=AT)
        for template in ('Spine Atlas.txt', 'libGDX Atlas.txt', 'libGDX Atlas Bounds.txt'):
            atlas = cls.build(template, 'odd', '.atlas', False, APART)
            cls.check(('spine', template, 'grid'), atlas, consumer='spine',
                      canvas=canvas(SETS['odd']), at=AT)
        trimmed = PACKED + APART + TRIM
        aseprite = cls.build('Aseprite JSON.txt', 'packed', '.json', False, trimmed)
        array = cls.build('JSON Array.txt', 'packed', '.json', False, trimmed)
        for phaser in ('phaser3', 'phaser4'):
            cls.check((phaser, 'aseprite', 'packed'), aseprite, consumer=phaser, load='aseprite',
                      canvas=packed, at=AT)
            cls.check((phaser, 'array', 'packed'), array, consumer=phaser, load='atlas',
                      canvas=packed, at=AT)
        # Sprites drawn centred, Phaser's default origin, where trimmed
        # frames need their whole size.
        centres = {name[:-4]: [PAD + w / 2, PAD + h / 2]
                   for name, (w, h, _) in zip(HOSTILE_NAMES, PACKED_FRAMES)}
        hash_ = cls.build('JSON Hash.txt', 'packed', '.json', False, trimmed)
        xml = cls.build('Starling XML.txt', 'packed', '.xml', False, trimmed)
        for phaser in ('phaser3', 'phaser4'):
            cls.check((phaser, 'packed centred'), hash_, consumer=phaser, load='atlas',
                      canvas=packed, at=AT, centres=centres)
        cls.check(('phaser3', 'xml'), xml, consumer='phaser3', load='atlasXML', canvas=packed,
                  at=AT)
        cls.check(('phaser3', 'xml centred'), xml, consumer='phaser3', load='atlasXML',
                  canvas=packed, at=AT, centres=centres)
        # Half-size CSS lengths draw exactly where every place and size is
        # even: even frames, spacing and border, and an even extrusion.
        for retina, frames, apart in ((False, 'packed', APART),
                                      (True, 'even packed', ['--spacing', '2', '--border', '2',
                                                             '--extrude', '2'])):
            css = cls.build('CSS Sprites.txt', frames, '.css', retina, PACKED + apart + TRIM)
            cls.check(('css', 'packed', retina), css, consumer='css', scale=2 if retina else 1,
                      canvas=canvas(SETS[frames]), at=AT,
                      classes=['sprite sprite-' + class_name(n) for n in css.frames])

    @classmethod
    def animation_checks(cls):
        """Several animations: the Aseprite JSON's from subfolders on a grid,
        from name prefixes packed and trimmed, on one sheet and on two, played
        by Phaser; the CSS sprites of the subfolders' frames."""
        by_prefix = ['--animations', 'prefixes'] + PACKED + APART + TRIM
        builds = {'folders': cls.build_sheets('Aseprite JSON.txt', 'folders', '.json', False,
                                              ['--animations', 'folders'] + APART),
                  'prefixes': cls.build_sheets('Aseprite JSON.txt', 'prefixes', '.json', False,
                                               by_prefix),
                  'two sheets': cls.build_sheets('Aseprite JSON.txt', 'prefixes', '.json', False,
                                                 by_prefix + ['--multipack', '--max-size', '80'])}
        assert [len(sheets) for sheets in builds.values()] == [1, 1, 2], builds
        # The frames' classes carry their subfolder: "sprite-jump-up/frame1".
        css = cls.build('CSS Sprites.txt', 'folders', '.css', False,
                        ['--animations', 'folders'] + APART)
        cls.check(('css', 'folders'), css, consumer='css', scale=1, canvas=canvas([ODD]), at=AT,
                  classes=['sprite sprite-' + class_name(n) for n in css.frames])
        for variant, sheets in builds.items():
            for k, sheet in enumerate(sheets):
                for phaser in ('phaser3', 'phaser4'):
                    cls.check((phaser, 'aseprite', variant, k), sheet, consumer=phaser,
                              load='aseprite', canvas=canvas(ANIMATED['prefixes']), at=AT)

    @classmethod
    def tearDownClass(cls):
        cls.tmp.cleanup()

    @classmethod
    def build(cls, template, frames, extension, retina, options=(), sheet_name=HOSTILE_SHEET):
        """The frame set `frames` with `template`, a gallery file or the name
        of an example script, in rows of three for a grid."""
        sheet, = cls.build_sheets(template, frames, extension, retina, options, sheet_name)
        return sheet

    @classmethod
    def build_sheets(cls, template, frames, extension, retina, options=(),
                     sheet_name=HOSTILE_SHEET):
        """The same, a Sheet for each sheet written (several with --multipack)."""
        out = tempfile.mkdtemp(dir=cls.tmp.name)
        script = os.path.splitext(sheet_name)[0] + extension
        if template.endswith('.txt'):
            template = os.path.join(TEMPLATES, template)
        args = ['--columns', '3'] if 'packed' not in options else []
        args += list(options) + (['--retina'] if retina else [])
        source = cls.folders[frames]
        names, run = run_build(CLI, source, os.path.join(out, sheet_name), template,
                               os.path.join(out, script), args)
        assert run.returncode == 0, run.stderr
        names = names if '--multipack' in options else [names]
        return [Sheet(out, sheet, data, source, frames, run.stderr.decode())
                for frames, sheet, data in zip(names, numbered(sheet_name, len(names)),
                                               numbered(script, len(names)))]

    @classmethod
    def check(cls, key, sheet, **check):
        cls.sheets[key] = sheet
        cls.checks.append((key, dict(check, folder=sheet.folder, sheet=sheet.sheet,
                                     script=sheet.script)))

    def drawn(self, key):
        result = self.results[key]
        self.assertNotIn('error', result, result.get('messages'))
        return result['draws']

    def assertDrawsFrames(self, key, labels, at=AT):
        """Each draw of check `key` is its frame of the sheet at `at` on a
        clear canvas, exactly, at its whole size."""
        sheet, draws = self.sheets[key], self.drawn(key)
        self.assertEqual([d['label'] for d in draws], labels)
        for draw, frame in zip(draws, sheet.frames):
            self.assertEqual(wrong_pixels(draw, os.path.join(sheet.source, frame), at), (0, None),
                             (draw['label'], frame))

    def test_css_sprites_show_every_frame_by_its_class(self):
        for key in (('css', False), ('css', True), ('css', 'packed', False),
                    ('css', 'packed', True), ('css', 'folders')):
            with self.subTest(key=key):
                labels = ['sprite sprite-' + class_name(n) for n in self.sheets[key].frames]
                self.assertDrawsFrames(key, labels)

    def test_phaser_plays_the_aseprite_animations_frame_by_frame(self):
        # Each tag an animation of its name, its frames in order: with the
        # sheet's frames named by index, the draws are the sheet's frames.
        variants = [(False,), (True,), ('packed',), ('folders', 0), ('prefixes', 0),
                    ('two sheets', 0), ('two sheets', 1)]
        for phaser in ('phaser3', 'phaser4'):
            for variant in variants:
                with self.subTest(phaser=phaser, variant=variant):
                    key = (phaser, 'aseprite') + variant
                    sheet = self.sheets[key]
                    animation_of = self.animation_of.get(sheet.source, {})
                    labels = ['%s/%d' % (animation_of.get(frame, sheet.base), i)
                              for i, frame in enumerate(sheet.frames)]
                    self.assertDrawsFrames(key, labels)
                    self.assertEqual([m for m in self.results[key]['messages'] if 'frame' in m],
                                     [])

    def test_phaser_draws_every_frame_of_the_json_hash_and_array(self):
        keys = [(phaser, 'atlas', apart) for phaser in ('phaser3', 'phaser4')
                for apart in (False, True)]
        keys += [(phaser, 'packed', trim, False) for phaser in ('phaser3', 'phaser4')
                 for trim in (False, True)]
        keys += [('phaser3', 'array', 'packed'), ('phaser4', 'array', 'packed')]
        for key in keys:
            with self.subTest(key=key):
                self.assertDrawsFrames(key, [n[:-4] for n in self.sheets[key].frames])

    def test_phaser_cannot_draw_turned_frames(self):
        # Phaser maps a frame's texture with two corners only, so a frame
        # stored turned comes out mirrored and stretched, whichever way it
        # was turned: the gallery tells Phaser users to leave rotation off.
        for phaser in ('phaser3', 'phaser4'):
            for trim in (False, True):
                with self.subTest(phaser=phaser, trim=trim):
                    key = (phaser, 'packed', trim, True)
                    sheet = self.sheets[key]
                    turned = sheet.turned()
                    self.assertTrue(turned, '--rotate turned no frame of the packed set')
                    for draw, frame in zip(self.drawn(key), sheet.frames):
                        wrong = wrong_pixels(draw, os.path.join(sheet.source, frame), AT)[0]
                        self.assertEqual(wrong != 0, frame[:-4] in turned, frame)

    def test_pixi_draws_every_frame_of_the_json_hash(self):
        keys = [('pixi', 'grid', False), ('pixi', 'grid', True), ('pixi', 'packed retina')]
        keys += [('pixi', 'packed', trim, rotate) for trim in (False, True)
                 for rotate in (False, True)]
        for key in keys:
            with self.subTest(key=key):
                self.assertDrawsFrames(key, [n[:-4] for n in self.sheets[key].frames])
        self.assertTrue(self.sheets['pixi', 'packed', True, True].turned())

    def test_spine_draws_every_region_of_the_atlases(self):
        keys = [('spine', t, 'grid') for t in
                ('Spine Atlas.txt', 'libGDX Atlas.txt', 'libGDX Atlas Bounds.txt')]
        keys += [('spine', 'Spine Atlas.txt', trim, rotate) for trim in (False, True)
                 for rotate in (False, True)]
        keys += [('spine', 'libGDX Atlas.txt', True, True),
                 ('spine', 'libGDX Atlas Bounds.txt', True, True)]
        for key in keys:
            with self.subTest(key=key):
                self.assertDrawsFrames(key, [n[:-4] for n in self.sheets[key].frames])

    def test_phaser_centres_trimmed_frames_of_the_json_hash_but_not_of_starling_xml(self):
        for phaser in ('phaser3', 'phaser4'):
            key = (phaser, 'packed centred')
            self.assertDrawsFrames(key, [n[:-4] for n in self.sheets[key].frames])
        # Phaser's atlasXML takes a trimmed frame's stored size for its whole
        # size: drawn from its corner the frame comes back, centred only where
        # nothing was trimmed (or nothing is visible), as the gallery says.
        self.assertDrawsFrames(('phaser3', 'xml'),
                               [n[:-4] for n in self.sheets['phaser3', 'xml'].frames])
        sheet = self.sheets['phaser3', 'xml centred']
        sizes = dict(zip(HOSTILE_NAMES, PACKED_FRAMES))
        for draw, frame in zip(self.drawn(('phaser3', 'xml centred')), sheet.frames):
            width, height, box = sizes[frame]
            kept = box == (0, 0, width, height) or box[2] == 0
            wrong = wrong_pixels(draw, os.path.join(sheet.source, frame), AT)[0]
            self.assertEqual(wrong == 0, kept, frame)

    def test_html5_canvas_page_draws_every_frame_in_turn(self):
        for retina in (False, True):
            with self.subTest(retina=retina):
                key = ('html5 canvas', retina)
                self.assertDrawsFrames(key, list(range(len(self.sheets[key].frames))), (0, 0))

    def test_html5_example_misses_frames_apart_and_says_so(self):
        key = ('html5 example', False)
        self.assertDrawsFrames(key, list(range(len(self.sheets[key].frames))), (0, 0))
        self.assertEqual(self.sheets[key].stderr, '')
        # The example steps by the frame size from the corner; frames set
        # apart lie elsewhere, and the program says so.
        sheet = self.sheets['html5 example', True]
        draws = self.drawn(('html5 example', True))
        self.assertEqual(len(draws), len(sheet.frames))
        for draw, frame in zip(draws, sheet.frames):
            self.assertNotEqual(wrong_pixels(draw, os.path.join(sheet.source, frame), (0, 0))[0],
                                0, frame)
        self.assertIn("the frames' size but not their places", sheet.stderr)


def wrong_pixels(draw, frame_path, at):
    """How many pixels of `draw` differ from the frame at `at` on a clear
    canvas, and the first of them (x, y, drawn, wanted). A clear pixel only
    needs to be clear: its colour is not kept."""
    width, height, frame = read_png(frame_path)
    pixels = base64.b64decode(draw['rgba'])
    count, first = 0, None
    for y in range(draw['height']):
        for x in range(draw['width']):
            fx, fy = x - at[0], y - at[1]
            inside = 0 <= fx < width and 0 <= fy < height
            wanted = frame[(fy * width + fx) * 4:][:4] if inside else b'\0\0\0\0'
            drawn = pixels[(y * draw['width'] + x) * 4:][:4]
            if drawn != wanted and not (wanted[3] == 0 and drawn[3] == 0):
                count += 1
                first = first or (x, y, tuple(drawn), tuple(wanted))
    return count, first


if __name__ == '__main__':
    NODE_MODULES = node_modules(NODE_DIR)
    for what, found in (('node', NODE_MODULES), ('Chromium (Debian package chromium)', CHROMIUM)):
        if found is None:
            print('gallery_browser_test: skipped, %s is missing' % what, file=sys.stderr)
            sys.exit(77)
    unittest.main(argv=sys.argv[:1])
