#!/usr/bin/env python3
"""Why extrusion matters, seen in a browser: three frames of solid red, green and
blue, built into one strip by orvane-zozivi-cli with and without --extrude 2,
are each drawn by headless Chromium through WebGL at a scale of 1.5 with linear
filtering, from the rectangles the coordinate script gives. Without extrusion
the filter pulls the neighbour frames' colours into the edges; with it no drawn
pixel holds any colour but its own frame's.

    extrude_filtering_test.py CLI

Skips (exit status 77) when Chromium is not installed.
"""
import base64
import json
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest
import zlib

CLI = sys.argv[1]
FRAME = 16
SCALE = 1.5
COLOURS = [(255, 0, 0), (0, 255, 0), (0, 0, 255)]
TEMPLATE = ('ov.Extension = ".json"\n[\nov.Repeat\n'
            '[ov.ImageX, ov.ImageY, ov.ImageWidth, ov.ImageHeight],\n'
            'ov.Until = ov.ImageCount\nnull]\n')
FLAGS = ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
         '--disable-background-networking', '--disable-component-update', '--disable-sync',
         '--use-angle=swiftshader', '--enable-unsafe-swiftshader', '--virtual-time-budget=5000']

# Draws every frame's rectangle of the sheet as a quad 1.5 times its size, a
# tenth of a pixel off the pixel grid, so that the first and the last pixel of
# each side sample beyond the rectangle, with LINEAR filtering as engines do,
# and writes the drawn pixels into the page as JSON, one list per frame.
PAGE = """<!DOCTYPE html><html><body><pre id="out">pending</pre><script>
const rects = RECTS, scale = SCALE, img = new Image();
img.onload = () => {
  const out = [];
  for (const [x, y, w, h] of rects) {
    const cw = Math.ceil(w * scale) + 2, ch = Math.ceil(h * scale) + 2;
    const canvas = document.createElement('canvas');
    canvas.width = cw; canvas.height = ch;
    const gl = canvas.getContext('webgl', {antialias: false, premultipliedAlpha: false});
    if (!gl) { document.getElementById('out').textContent = 'no webgl'; return; }
    const shader = (type, text) => {
      const s = gl.createShader(type); gl.shaderSource(s, text); gl.compileShader(s); return s;
    };
    const program = gl.createProgram();
    gl.attachShader(program, shader(gl.VERTEX_SHADER,
      'attribute vec2 p; attribute vec2 t; varying vec2 v;' +
      'void main() { gl_Position = vec4(p, 0.0, 1.0); v = t; }'));
    gl.attachShader(program, shader(gl.FRAGMENT_SHADER,
      'precision highp float; uniform sampler2D s; varying vec2 v;' +
      'void main() { gl_FragColor = texture2D(s, v); }'));
    gl.linkProgram(program); gl.useProgram(program);
    const texture = gl.createTexture();
    gl.bindTexture(gl.TEXTURE_2D, texture);
    gl.texImage2D(gl.TEXTURE_2D, 0, gl.RGBA, gl.RGBA, gl.UNSIGNED_BYTE, img);
    gl.texParameteri(gl.TEXTURE_2D, gl.TEXTURE_MIN_FILTER, gl.LINEAR);
    gl.texParameteri(gl.TEXTURE_2D, gl.TEXTURE_MAG_FILTER, gl.LINEAR);
    gl.texParameteri(gl.TEXTURE_2D, gl.TEXTURE_WRAP_S, gl.CLAMP_TO_EDGE);
    gl.texParameteri(gl.TEXTURE_2D, gl.TEXTURE_WRAP_T, gl.CLAMP_TO_EDGE);
    // The quad: from (1.1, 1.1) to (1.1 + w * scale, ...) in canvas pixels.
    const px = (v, size) => v / size * 2 - 1;
    const x0 = px(1.1, cw), x1 = px(1.1 + w * scale, cw);
    const y0 = -px(1.1, ch), y1 = -px(1.1 + h * scale, ch);
    const u0 = x / img.width, u1 = (x + w) / img.width;
    const v0 = y / img.height, v1 = (y + h) / img.height;
    const data = new Float32Array([x0, y0, u0, v0, x1, y0, u1, v0, x0, y1, u0, v1,
                                   x1, y1, u1, v1]);
    gl.bindBuffer(gl.ARRAY_BUFFER, gl.createBuffer());
    gl.bufferData(gl.ARRAY_BUFFER, data, gl.STATIC_DRAW);
    const p = gl.getAttribLocation(program, 'p'), t = gl.getAttribLocation(program, 't');
    gl.enableVertexAttribArray(p); gl.vertexAttribPointer(p, 2, gl.FLOAT, false, 16, 0);
    gl.enableVertexAttribArray(t); gl.vertexAttribPointer(t, 2, gl.FLOAT, false, 16, 8);
    gl.viewport(0, 0, cw, ch);
    gl.clearColor(0, 0, 0, 0); gl.clear(gl.COLOR_BUFFER_BIT);
    gl.drawArrays(gl.TRIANGLE_STRIP, 0, 4);
    const pixels = new Uint8Array(cw * ch * 4);
    gl.readPixels(0, 0, cw, ch, gl.RGBA, gl.UNSIGNED_BYTE, pixels);
    out.push(Array.from(pixels));
  }
  document.getElementById('out').textContent = JSON.stringify(out);
};
img.src = 'data:image/png;base64,SHEET';
</script></body></html>
"""


def chromium():
    for name in ('chromium', 'chromium-browser', 'google-chrome'):
        path = shutil.which(name)
        if path:
            return path
    return None


def write_png(path, width, height, rgba):
    """An 8-bit RGBA PNG of `rgba` (rows top first), each row with filter byte 0."""
    rows = b''.join(b'\0' + rgba[y * width * 4:(y + 1) * width * 4] for y in range(height))

    def chunk(kind, data):
        return (struct.pack('>I', len(data)) + kind + data +
                struct.pack('>I', zlib.crc32(kind + data) & 0xffffffff))
    with open(path, 'wb') as f:
        f.write(b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, 6,
                                                                  0, 0, 0)) +
                chunk(b'IDAT', zlib.compress(rows)) + chunk(b'IEND', b''))


class ExtrudeFilteringTest(unittest.TestCase):
    def setUp(self):
        self.browser = chromium()
        if not self.browser:
            self.skipTest('Chromium is not installed (Debian package chromium)')
        self.dir = tempfile.mkdtemp()
        self.addCleanup(shutil.rmtree, self.dir)
        frames = os.path.join(self.dir, 'frames')
        os.mkdir(frames)
        for i, (r, g, b) in enumerate(COLOURS):
            write_png(os.path.join(frames, 'f%d.png' % (i + 1)), FRAME, FRAME,
                      bytes([r, g, b, 255]) * (FRAME * FRAME))
        self.frames = frames
        with open(os.path.join(self.dir, 'rects.txt'), 'w') as f:
            f.write(TEMPLATE)

    def draw(self, *options):
        """Each frame as Chromium draws it: a list of (r, g, b, a) per frame."""
        sheet = os.path.join(self.dir, 'sheet.png')
        data = os.path.join(self.dir, 'rects.json')
        subprocess.run([CLI, '--sheet', sheet, '--layout', 'strip', *options, '--script',
                        os.path.join(self.dir, 'rects.txt'), '--data', data, self.frames],
                       check=True, capture_output=True)
        with open(data) as f:
            rects = json.load(f)[:-1]
        self.assertEqual([r[2:] for r in rects], [[FRAME, FRAME]] * len(COLOURS))
        with open(sheet, 'rb') as f:
            encoded = base64.b64encode(f.read()).decode()
        page = os.path.join(self.dir, 'page.html')
        with open(page, 'w') as f:
            f.write(PAGE.replace('RECTS', json.dumps(rects)).replace('SCALE', str(SCALE))
                    .replace('SHEET', encoded))
        profile = tempfile.mkdtemp(dir=self.dir)
        run = subprocess.run([self.browser, *FLAGS, '--user-data-dir=' + profile, '--dump-dom',
                              'file://' + page], capture_output=True, text=True, timeout=60)
        dom = run.stdout
        start, end = dom.find('<pre id="out">'), dom.find('</pre>')
        text = dom[start + len('<pre id="out">'):end]
        self.assertTrue(text.startswith('[['), 'Chromium drew nothing: %r %s' %
                        (text[:80], run.stderr[-2000:]))
        drawn = json.loads(text)
        return [[tuple(p[i:i + 4]) for i in range(0, len(p), 4)] for p in drawn]

    def foreign_pixels(self, drawn):
        """For each frame, the drawn pixels holding a trace of another frame's colour.
        Every frame must have been drawn: at least its own size in pixels of its
        own colour, whole."""
        counts = []
        for colour, pixels in zip(COLOURS, drawn):
            own = sum(1 for p in pixels if p == colour + (255,))
            self.assertGreaterEqual(own, FRAME * FRAME, colour)
            others = [c for c in range(3) if colour[c] == 0]
            counts.append(sum(1 for p in pixels if p[3] > 0 and any(p[c] > 0 for c in others)))
        return counts

    def test_extrusion_keeps_neighbours_out_of_the_edges(self):
        plain = self.foreign_pixels(self.draw())
        self.assertTrue(all(n > 0 for n in plain), plain)
        self.assertEqual(self.foreign_pixels(self.draw('--extrude', '2')), [0, 0, 0])


if __name__ == '__main__':
    result = unittest.main(argv=sys.argv[:1], exit=False).result
    if result.skipped and not result.failures and not result.errors:
        sys.exit(77)
    sys.exit(0 if result.wasSuccessful() else 1)
