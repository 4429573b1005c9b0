// Drives free-tex-packer-core for the packing benchmarks, through the same
// steps its packAsync takes (reading the images, then PackProcessor.pack)
// but without rendering the sheets, which the comparison does not need.
//
//   node pack_peer.js sheets PEER_DIR FOLDER OPTIONS_JSON
//     Packs every PNG of FOLDER with each of the peer's packers and methods
//     into each bin size of OPTIONS_JSON's "bins" ([[width, height]...]),
//     and prints as JSON for each bin the smallest total sheet area that
//     holds them on the fewest sheets, with the sheets' sizes and what made
//     them (null where none did).
//   node pack_peer.js time PEER_DIR RECTS_JSON OPTIONS_JSON
//     Times the peer's packers alone on a list of [width, height], each the
//     fastest of "runs", and prints the seconds of each as JSON.
"use strict";

const fs = require("fs");
const path = require("path");

const [mode, peerDir, input, optionsJson] = process.argv.slice(2);
const peer = (name) => require(path.join(peerDir, "node_modules", "free-tex-packer-core", name));
const options = JSON.parse(optionsJson);

// The peer's own option defaults for what the comparison does not set.
function peerOptions(bin, packer, method) {
  return {
    width: bin[0],
    height: bin[1],
    fixedSize: false,
    powerOfTwo: !!options.powerOfTwo,
    padding: options.padding || 0,
    extrude: 0,
    allowRotation: !!options.allowRotation,
    detectIdentical: false,
    allowTrim: true,
    trimMode: "trim",
    alphaThreshold: 0,
    packer,
    packerMethod: method,
  };
}

// Every packer class with each of its methods, OptimalPacker (which only
// tries the others) left out.
function packerMethods() {
  const list = [];
  for (const packer of peer("packers").list) {
    if (packer.type === "OptimalPacker") continue;
    for (const method of Object.values(packer.methods)) list.push({ packer, method });
  }
  return list;
}

async function loadImages(folder) {
  const { readImage } = peer("utils/imageFormats");
  const images = {};
  for (const name of fs.readdirSync(folder).filter((n) => n.endsWith(".png")).sort()) {
    const contents = fs.readFileSync(path.join(folder, name));
    const image = await readImage(contents, name);
    // The peer's loader also sets width and height, which its images
    // already have as getters of their bitmap's.
    image.name = name;
    image._base64 = contents.toString("base64");
    images[name] = image;
  }
  return images;
}

function packOnce(images, opts) {
  const PackProcessor = peer("PackProcessor");
  const TextureRenderer = peer("utils/TextureRenderer");
  let sheets = null;
  let failure = null;
  PackProcessor.pack(images, opts, (result) => (sheets = result), (error) => (failure = error));
  if (failure || !sheets) return null;
  return sheets.map((sheet) => TextureRenderer.getSize(sheet, opts));
}

async function sheets() {
  const images = await loadImages(input);
  const bests = [];
  for (const bin of options.bins) {
    let best = null;
    for (const { packer, method } of packerMethods()) {
      const sizes = packOnce(images, peerOptions(bin, packer, method));
      if (!sizes) continue;
      const area = sizes.reduce((sum, s) => sum + s.width * s.height, 0);
      if (
        !best ||
        sizes.length < best.sizes.length ||
        (sizes.length === best.sizes.length && area < best.area)
      ) {
        best = { area, sizes, packer: packer.type, method, bin };
      }
    }
    bests.push(best);
  }
  process.stdout.write(JSON.stringify(bests) + "\n");
}

function time() {
  const rects = JSON.parse(fs.readFileSync(input, "utf8"));
  const results = [];
  for (const { packer, method } of packerMethods()) {
    if (options.methods && !options.methods.includes(packer.type + "." + method)) continue;
    let fastest = Infinity;
    let placed = 0;
    for (let run = 0; run < options.runs; ++run) {
      // Fresh items each run: the packers write their places into them.
      const items = rects.map(([w, h], i) => ({
        name: String(i),
        frame: { x: 0, y: 0, w, h },
        rotated: false,
      }));
      const start = process.hrtime.bigint();
      const bin = new packer(options.bin[0], options.bin[1], !!options.allowRotation);
      placed = bin.pack(items, method).length;
      fastest = Math.min(fastest, Number(process.hrtime.bigint() - start) / 1e9);
    }
    results.push({ packer: packer.type, method, seconds: fastest, placed });
  }
  process.stdout.write(JSON.stringify(results) + "\n");
}

(mode === "sheets" ? sheets() : Promise.resolve(time())).catch((error) => {
  process.stderr.write(String(error && error.stack ? error.stack : error) + "\n");
  process.exit(1);
});
