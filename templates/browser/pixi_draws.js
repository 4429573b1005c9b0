// PixiJS draws the frames of a check, for draw_frames.mjs, as a game would:
// the JSON hash through PixiJS's own loader (Assets.load, which reads the
// sheet it names), each texture a sprite at `at` on a transparent WebGL
// canvas of `canvas` pixels, scaled by the sheet's resolution so that one
// pixel of the sheet is one of the canvas (needs readback.js and PixiJS 8).
window.ozDraw = async (check) => {
  const [width, height] = check.canvas;
  const app = new PIXI.Application();
  await app.init({
    width, height, backgroundAlpha: 0, antialias: false, resolution: 1,
    preference: 'webgl', preserveDrawingBuffer: true, autoStart: false,
  });
  try {
    const sheet = await PIXI.Assets.load(check.scriptUrl);
    const sprite = new PIXI.Sprite();
    sprite.position.set(check.at[0], check.at[1]);
    sprite.scale.set(sheet.resolution);
    app.stage.addChild(sprite);
    return Object.entries(sheet.textures).map(([name, texture]) => {
      sprite.texture = texture;
      app.render();
      return window.ozReadback(app.canvas, 0, 0, width, height, name);
    });
  } finally {
    app.destroy();
  }
};
