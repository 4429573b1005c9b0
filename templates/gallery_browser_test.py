#!/usr/bin/env python3
"""The gallery's scripts as their consumers draw them in headless Chromium:
Phaser 3 and 4 play the Aseprite JSON's animation and draw every frame of the
JSON hash, a page shows every frame of the CSS sprites by its class, and the
HTML5 pages draw their frames into their canvas. Every drawn frame is read
back and compared with its source PNG, pixel for pixel, with the transparent
pixels around it (browser/draw_frames.mjs draws; one browser for all checks).

The frames are the odd-sized ones with hostile names of gallery_test.py, made
of opaque and fully clear pixels only (gallery_frames.py says why); the sheets are
built with spacing, a border and extrusion, with Retina off and on.

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

from gallery_frames import HOSTILE_NAMES, HOSTILE_SHEET, class_name, png_bytes, read_png
from gallery_build import run_build
from node_packages import node_modules

CLI, TEMPLATES, NODE_DIR = (os.path.abspath(a) for a in sys.argv[1:4])
CHROMIUM = shutil.which('chromium') or shutil.which('chromium-browser')
ODD, EVEN = (37, 21), (38, 22)  # frame sizes
PAD = 2  # clear pixels drawn around each frame: what spills over shows there


def canvas(frame_size):
    """A canvas with PAD pixels around the frame, its sides even: Phaser 3
    centres its camera on the canvas and, along an odd side, draws every
    sprite half a pixel off, blurred."""
    return [n + 2 * PAD + n % 2 for n in frame_size]
APART = ['--spacing', '2', '--border', '3', '--extrude', '1']


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


class BrowserTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.TemporaryDirectory()
        cls.folders = {size: cls.frames_folder(size) for size in (ODD, EVEN)}
        cls.checks = []
        cls.sheets = {}
        for retina in (False, True):
            # Chromium draws the background of an element half a CSS pixel
            # wide (an odd frame at device scale 2) a pixel off inside: the
            # Retina style sheet is checked on frames of even size.
            size = EVEN if retina else ODD
            css = cls.build('CSS Sprites.txt', size, HOSTILE_SHEET, '.css', retina, APART)
            cls.check(('css', retina), css, consumer='css', scale=2 if retina else 1,
                      canvas=canvas(size), at=[PAD, PAD],
                      classes=['sprite sprite-' + class_name(n) for n in css.frames])
            page = cls.build('HTML5 Canvas.txt', ODD, HOSTILE_SHEET, '.html', retina, APART)
            cls.check(('html5 canvas', retina), page, consumer='page', count=len(page.frames))
        for options in ([], APART):
            aseprite = cls.build('Aseprite JSON.txt', ODD, HOSTILE_SHEET, '.json', False, options)
            hash_ = cls.build('JSON Hash.txt', ODD, HOSTILE_SHEET, '.json', False, options)
            example = cls.build('HTML5', ODD, 'run.png', '.html', False, options)
            cls.check(('html5 example', bool(options)), example, consumer='page',
                      count=len(example.frames))
            for phaser in ('phaser3', 'phaser4'):
                cls.check((phaser, 'aseprite', bool(options)), aseprite, consumer=phaser,
                          load='aseprite', canvas=canvas(ODD), at=[PAD, PAD])
                cls.check((phaser, 'atlas', bool(options)), hash_, consumer=phaser,
                          load='atlas', canvas=canvas(ODD), at=[PAD, PAD])
        jobs = os.path.join(cls.tmp.name, 'checks.json')
        with open(jobs, 'w') as f:
            json.dump({'checks': [check for _, check in cls.checks]}, f)
        run = subprocess.run(['node', os.path.join(TEMPLATES, 'browser', 'draw_frames.mjs'), jobs],
                             capture_output=True, check=True, timeout=300,
                             env=dict(os.environ, OZ_NODE_MODULES=NODE_MODULES,
                                      OZ_CHROMIUM=CHROMIUM))
        results = json.loads(run.stdout)['results']
        cls.results = {key: result for (key, _), result in zip(cls.checks, results)}

    @classmethod
    def tearDownClass(cls):
        cls.tmp.cleanup()

    @classmethod
    def frames_folder(cls, size):
        """The frames with hostile names at `size`."""
        folder = os.path.join(cls.tmp.name, '%dx%d' % size)
        os.mkdir(folder)
        for i, name in enumerate(HOSTILE_NAMES):
            with open(os.path.join(folder, name), 'wb') as f:
                f.write(png_bytes(*size, i))
        return folder

    @classmethod
    def build(cls, template, size, sheet_name, extension, retina, options=()):
        """The hostile frames of `size` in rows of three with `template`, a
        gallery file or the name of an example script."""
        out = tempfile.mkdtemp(dir=cls.tmp.name)
        script = os.path.splitext(sheet_name)[0] + extension
        if template.endswith('.txt'):
            template = os.path.join(TEMPLATES, template)
        args = ['--columns', '3'] + list(options) + (['--retina'] if retina else [])
        source = cls.folders[size]
        frames, run = run_build(CLI, source, os.path.join(out, sheet_name), template,
                                os.path.join(out, script), args)
        assert run.returncode == 0, run.stderr
        return Sheet(out, sheet_name, script, source, frames, run.stderr.decode())

    @classmethod
    def check(cls, key, sheet, **check):
        cls.sheets[key] = sheet
        cls.checks.append((key, dict(check, folder=sheet.folder, sheet=sheet.sheet,
                                     script=sheet.script)))

    def drawn(self, key):
        result = self.results[key]
        self.assertNotIn('error', result, result.get('messages'))
        return result['draws']

    def assertDrawsFrames(self, draws, labels, sheet, at):
        """Each draw is its frame of `sheet` at `at` on a clear canvas, exactly."""
        self.assertEqual([d['label'] for d in draws], labels)
        for draw, frame in zip(draws, sheet.frames):
            self.assertEqual(wrong_pixels(draw, os.path.join(sheet.source, frame), at), (0, None),
                             (draw['label'], frame))

    def test_css_sprites_show_every_frame_by_its_class(self):
        for retina in (False, True):
            with self.subTest(retina=retina):
                sheet = self.sheets['css', retina]
                labels = ['sprite sprite-' + class_name(n) for n in sheet.frames]
                self.assertDrawsFrames(self.drawn(('css', retina)), labels, sheet,
                                       (PAD, PAD))

    def test_phaser_plays_the_aseprite_animation_frame_by_frame(self):
        for phaser in ('phaser3', 'phaser4'):
            for apart in (False, True):
                with self.subTest(phaser=phaser, apart=apart):
                    key = (phaser, 'aseprite', apart)
                    sheet = self.sheets[key]
                    labels = ['%s/%d' % (sheet.base, i) for i in range(len(sheet.frames))]
                    self.assertDrawsFrames(self.drawn(key), labels, sheet, (PAD, PAD))
                    self.assertEqual([m for m in self.results[key]['messages'] if 'frame' in m],
                                     [])

    def test_phaser_draws_every_frame_of_the_json_hash(self):
        for phaser in ('phaser3', 'phaser4'):
            for apart in (False, True):
                with self.subTest(phaser=phaser, apart=apart):
                    key = (phaser, 'atlas', apart)
                    sheet = self.sheets[key]
                    self.assertDrawsFrames(self.drawn(key), [n[:-4] for n in sheet.frames],
                                           sheet, (PAD, PAD))

    def test_html5_canvas_page_draws_every_frame_in_turn(self):
        for retina in (False, True):
            with self.subTest(retina=retina):
                sheet = self.sheets['html5 canvas', retina]
                self.assertDrawsFrames(self.drawn(('html5 canvas', retina)),
                                       list(range(len(sheet.frames))), sheet, (0, 0))

    def test_html5_example_misses_frames_apart_and_says_so(self):
        sheet = self.sheets['html5 example', False]
        self.assertDrawsFrames(self.drawn(('html5 example', False)),
                               list(range(len(sheet.frames))), sheet, (0, 0))
        self.assertEqual(sheet.stderr, '')
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
