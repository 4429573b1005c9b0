// Phaser draws the frames of a check, for draw_frames.mjs, as a game would:
// the sheet through Phaser's loader, each frame a sprite with origin 0 at
// `at` on a transparent WebGL canvas of `canvas` pixels, one frame a render
// (needs readback.js and Phaser, either version). With `centres` (frame name
// to [x, y]), each frame of the texture is a sprite with Phaser's own origin,
// its centre, placed there instead.
window.ozDraw = (check) => new Promise((resolve, reject) => {
  const [width, height] = check.canvas;
  const draws = [];
  let steps = [];  // each: the label of the draw and what puts the frame on the sprite
  let game = null;

  // Reads the render that shows step `draws.length`, then sets up the next.
  const afterRender = () => {
    if (draws.length < steps.length) {
      draws.push(window.ozReadback(game.canvas, 0, 0, width, height, steps[draws.length].label()));
    }
    if (draws.length === steps.length) {
      game.events.off('postrender', afterRender);
      game.destroy(true);
      resolve(draws);
      return;
    }
    steps[draws.length].show();
  };

  function create() {
    const sprite = this.add.sprite(check.at[0], check.at[1], 'sheet').setOrigin(0, 0);
    if (check.load === 'aseprite') {
      // Every animation as it plays: started, held, and moved on one frame
      // at a time by Phaser's own nextFrame.
      for (const animation of this.anims.createFromAseprite('sheet')) {
        animation.frames.forEach((_, i) => steps.push({
          label: () => `${animation.key}/${sprite.frame.name}`,
          show: () => {
            if (i === 0) sprite.play(animation.key).anims.pause();
            else sprite.anims.nextFrame();
          },
        }));
      }
    } else {
      for (const name of this.textures.get('sheet').getFrameNames()) {
        const show = check.centres
          ? () => sprite.setFrame(name).setOrigin(0.5).setPosition(...check.centres[name])
          : () => sprite.setFrame(name);
        steps.push({ label: () => sprite.frame.name, show });
      }
    }
    if (steps.length === 0) {
      game.destroy(true);
      resolve([]);
      return;
    }
    steps[0].show();
    game.events.on('postrender', afterRender);
  }

  game = new Phaser.Game({
    type: Phaser.WEBGL,
    width,
    height,
    transparent: true,
    banner: false,
    audio: { noAudio: true },
    render: { preserveDrawingBuffer: true },
    scene: {
      preload() {
        this.load.on('loaderror', (file) => reject(new Error(`Phaser could not load ${file.src}`)));
        if (check.load === 'aseprite') this.load.aseprite('sheet', check.sheetUrl, check.scriptUrl);
        else if (check.load === 'atlasXML') this.load.atlasXML('sheet', check.sheetUrl, check.scriptUrl);
        else this.load.atlas('sheet', check.sheetUrl, check.scriptUrl);
      },
      create,
    },
  });
});
