// Reads a script with an engine's own loader under node and prints what the
// engine made of it as JSON, for gallery_test.py.
//
//   node engine_readers.mjs pixi SCRIPT.json SHEET_WIDTH SHEET_HEIGHT
//     PixiJS's Spritesheet over a texture of the sheet's size: each texture's
//     frame in the units PixiJS draws in, and the animations.
//   node engine_readers.mjs spine SCRIPT.atlas
//     The Spine runtime's TextureAtlas: its pages and regions, with how each
//     region is turned and trimmed.
//   node engine_readers.mjs phaser SCRIPT.json SHEET_WIDTH SHEET_HEIGHT
//     Phaser 3's own atlas parser, JSON array or hash as Phaser's texture
//     manager chooses it, into a texture that keeps the frames it is given
//     (a name given twice is refused, as Phaser's texture refuses it).
//
// The packages come from the folder named by OZ_NODE_MODULES.
import { readFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { join } from 'node:path';
import { pathToFileURL } from 'node:url';

const [mode, path, width, height] = process.argv.slice(2);
const text = readFileSync(path, 'utf8');
const modules = process.env.OZ_NODE_MODULES;
const load = async (name) => {
  const resolved = createRequire(join(modules, 'package.json')).resolve(name);
  return import(pathToFileURL(resolved).href);
};

if (mode === 'pixi') {
  // PixiJS asks the browser for the user agent while it loads; nothing here draws.
  globalThis.navigator ??= { userAgent: 'node' };
  const { Spritesheet, Texture, TextureSource } = await load('pixi.js');
  const data = JSON.parse(text);
  const source = new TextureSource({ width: Number(width), height: Number(height) });
  const sheet = new Spritesheet(new Texture({ source }), data);
  await sheet.parse();
  const textures = {};
  for (const [name, texture] of Object.entries(sheet.textures)) {
    const f = texture.frame;
    textures[name] = [f.x, f.y, f.width, f.height];
  }
  const animations = {};
  for (const [name, frames] of Object.entries(sheet.animations)) {
    animations[name] = frames.map((t) => Object.keys(sheet.textures).find((k) => sheet.textures[k] === t));
  }
  console.log(JSON.stringify({ resolution: sheet.resolution, textures, animations }));
} else if (mode === 'spine') {
  const { TextureAtlas } = await load('@esotericsoftware/spine-core');
  const atlas = new TextureAtlas(text);
  console.log(JSON.stringify({
    pages: atlas.pages.map((p) => ({ name: p.name, width: p.width, height: p.height, pma: p.pma })),
    regions: atlas.regions.map((r) => ({
      name: r.name, page: r.page.name, x: r.x, y: r.y, width: r.width, height: r.height,
      u: r.u, v: r.v, u2: r.u2, v2: r.v2, index: r.index, degrees: r.degrees,
      offsetX: r.offsetX, offsetY: r.offsetY, originalWidth: r.originalWidth,
      originalHeight: r.originalHeight,
    })),
  }));
} else if (mode === 'phaser') {
  const require = createRequire(join(modules, 'package.json'));
  const data = JSON.parse(text);
  const parser = Array.isArray(data.textures) || Array.isArray(data.frames)
    ? require('phaser/src/textures/parsers/JSONArray.js')
    : require('phaser/src/textures/parsers/JSONHash.js');
  const frames = {};
  const refused = [];
  const texture = {
    source: [{ width: Number(width), height: Number(height) }],
    customData: {},
    add(name, sourceIndex, x, y, w, h) {
      if (name in frames) {
        refused.push(name);
        return null;
      }
      frames[name] = [x, y, w, h];
      return { setTrim() {}, updateUVsInverted() {} };
    },
  };
  parser(texture, 0, data);
  delete frames.__BASE;
  console.log(JSON.stringify({ frames, names: Object.keys(frames), refused }));
} else {
  throw new Error(`unknown reader ${mode}`);
}
