// Lets real consumers draw the frames of built sheets in one headless
// Chromium and prints what they drew, pixel for pixel, as JSON: the harness of
// gallery_browser_test.py.
//
//   node draw_frames.mjs CHECKS.json
//
// CHECKS.json holds {"checks": [...]}; each check names a `folder`, served as
// http://oz.test/ (nothing else is fetched, no network is used), and a
// `consumer`:
//   "phaser3", "phaser4"  Phaser's loader reads `script` and `sheet` (`load`:
//       "aseprite", then every animation createFromAseprite makes, played
//       frame by frame; or "atlas" or "atlasXML", then every frame of the
//       texture); each frame is a sprite with origin 0 at `at` on a
//       transparent WebGL canvas of `canvas` pixels, or with `centres` (frame
//       name to [x, y]) one centred there, with Phaser's own origin.
//   "pixi"  PixiJS's Assets.load reads the JSON hash `script` and the sheet it
//       names; every texture is a sprite at `at`, as for Phaser.
//   "spine"  spine-core reads the atlas `script`, and spine-webgl draws each
//       region as a region attachment of its whole size, its top-left corner
//       at `at`, as for Phaser.
//   "css"  A page links the style sheet `script` and holds one element per
//       entry of `classes` (its class attribute), each at its own place, drawn
//       at the device scale `scale`; each is read back from a screenshot of
//       the page with `at` pixels of page around it, the canvas `canvas`.
//   "page"  The page `script` draws by itself; every picture its canvases
//       receive through drawImage is kept, until `count` are kept.
//
// Every check gives {"draws": [{"label", "width", "height", "rgba"}],
// "messages": [...], "error"?}: `rgba` is base64 of width x height straight
// RGBA pixels, rows top first; `messages` is what the page logged. The
// readback goes through canvas 2D, whose pixels are stored premultiplied:
// only opaque and fully clear pixels come back unchanged, so test frames
// should hold no others.
//
// The packages (playwright-core, phaser, phaser4, pixi.js,
// @esotericsoftware/spine-webgl) come from the folder named by
// OZ_NODE_MODULES; Chromium is OZ_CHROMIUM.
import { readFileSync, existsSync } from 'node:fs';
import { createRequire } from 'node:module';
import { join, dirname } from 'node:path';
import { fileURLToPath } from 'node:url';

const here = dirname(fileURLToPath(import.meta.url));
const modules = process.env.OZ_NODE_MODULES;
const require = createRequire(join(modules, 'package.json'));
const { chromium } = require('playwright-core');

const ORIGIN = 'http://oz.test';
const HARNESS = '/__harness/';
// What a check's page may load besides its folder.
const LIBRARIES = {
  'phaser3.js': join(modules, 'phaser/dist/phaser.min.js'),
  'phaser4.js': join(modules, 'phaser4/dist/phaser.min.js'),
  'pixi.js': join(modules, 'pixi.js/dist/pixi.min.js'),
  'spine-webgl.js': join(modules, '@esotericsoftware/spine-webgl/dist/iife/spine-webgl.min.js'),
  'readback.js': join(here, 'readback.js'),
  'phaser_draws.js': join(here, 'phaser_draws.js'),
  'pixi_draws.js': join(here, 'pixi_draws.js'),
  'spine_draws.js': join(here, 'spine_draws.js'),
  'page_capture.js': join(here, 'page_capture.js'),
  'css_draws.js': join(here, 'css_draws.js'),
};
const TYPES = {
  '.png': 'image/png', '.json': 'application/json', '.css': 'text/css', '.html': 'text/html',
  '.atlas': 'text/plain', '.xml': 'text/xml',
};
// The scripts each engine's drawer needs, in order; the drawer sets window.ozDraw.
const ENGINES = {
  phaser3: ['phaser3.js', 'readback.js', 'phaser_draws.js'],
  phaser4: ['phaser4.js', 'readback.js', 'phaser_draws.js'],
  pixi: ['pixi.js', 'readback.js', 'pixi_draws.js'],
  spine: ['spine-webgl.js', 'readback.js', 'spine_draws.js'],
};

function contentType(name) {
  const dot = name.lastIndexOf('.');
  return TYPES[dot < 0 ? '' : name.slice(dot).toLowerCase()] ?? 'application/octet-stream';
}

// The page that runs a drawer of the harness: the library it needs, then the
// drawer, which sets window.ozDraw.
function harnessPage(scripts, head = '') {
  const tags = scripts.map((s) => `<script src="${HARNESS}${s}"></script>`).join('');
  return `<!DOCTYPE html><html><head><meta charset="utf-8">${head}</head>` +
         `<body style="margin:0;background:transparent">${tags}</body></html>`;
}

// Serves the check's folder and the harness's own files; refuses the rest.
async function serve(context, check, pages) {
  await context.route('**/*', async (route) => {
    const url = new URL(route.request().url());
    if (url.origin !== ORIGIN) return route.abort();
    const path = decodeURIComponent(url.pathname);
    if (path.startsWith(HARNESS)) {
      const name = path.slice(HARNESS.length);
      if (name in pages) return route.fulfill({ body: pages[name], contentType: 'text/html' });
      if (name in LIBRARIES) {
        const body = readFileSync(LIBRARIES[name]);
        return route.fulfill({ body, contentType: 'text/javascript' });
      }
      return route.fulfill({ status: 404, body: '' });
    }
    const file = join(check.folder, path.slice(1));
    if (path.includes('/../') || !existsSync(file)) return route.fulfill({ status: 404, body: '' });
    return route.fulfill({ body: readFileSync(file), contentType: contentType(file) });
  });
}

const url = (name) => `${ORIGIN}/${encodeURIComponent(name)}`;

async function runCheck(browser, check) {
  const context = await browser.newContext({ deviceScaleFactor: check.scale ?? 1 });
  const messages = [];
  try {
    const page = await context.newPage();
    page.on('console', (m) => messages.push(m.text()));
    page.on('pageerror', (e) => messages.push(String(e)));
    let draws;
    if (check.consumer in ENGINES) {
      await serve(context, check, { 'engine.html': harnessPage(ENGINES[check.consumer]) });
      await page.goto(`${ORIGIN}${HARNESS}engine.html`);
      draws = await page.evaluate((c) => window.ozDraw(c), {
        ...check, sheetUrl: url(check.sheet), scriptUrl: url(check.script),
      });
    } else if (check.consumer === 'css') {
      const link = `<link rel="stylesheet" href="${url(check.script)}">`;
      const cssPage = harnessPage(['readback.js', 'css_draws.js'], link);
      await serve(context, check, { 'css.html': cssPage });
      await page.goto(`${ORIGIN}${HARNESS}css.html`);
      await page.evaluate((c) => window.ozPlace(c), check);
      const shot = await page.screenshot({ omitBackground: true, fullPage: true, scale: 'device' });
      const withShot = { ...check, shot: shot.toString('base64') };
      draws = await page.evaluate((c) => window.ozDraw(c), withShot);
    } else if (check.consumer === 'page') {
      await serve(context, check, {});
      await page.addInitScript({ path: LIBRARIES['readback.js'] });
      await page.addInitScript({ path: LIBRARIES['page_capture.js'] });
      await page.goto(url(check.script));
      await page.waitForFunction((n) => window.ozCaptures.length >= n, check.count,
                                 { timeout: 10000 });
      draws = await page.evaluate((n) => window.ozCaptures.slice(0, n), check.count);
    } else {
      throw new Error(`unknown consumer ${check.consumer}`);
    }
    return { draws, messages };
  } catch (error) {
    return { draws: [], messages, error: String(error) };
  } finally {
    await context.close();
  }
}

const { checks } = JSON.parse(readFileSync(process.argv[2], 'utf8'));
const browser = await chromium.launch({
  executablePath: process.env.OZ_CHROMIUM,
  // Headless, with a fresh profile of Playwright's own; no network of its
  // own; WebGL drawn by SwiftShader.
  args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
         '--disable-background-networking', '--disable-component-update', '--disable-sync',
         '--use-angle=swiftshader', '--enable-unsafe-swiftshader'],
});
const results = [];
try {
  for (const check of checks) results.push(await runCheck(browser, check));
} finally {
  await browser.close();
}
console.log(JSON.stringify({ results }));
