// The Spine runtime draws the frames of a check, for draw_frames.mjs: the
// atlas read by spine-core's TextureAtlas, its page the sheet, and each
// region shown by a region attachment of the frame's whole size (as the Spine
// editor sizes an image) in a skeleton of one bone, drawn by spine-webgl's
// SceneRenderer with its camera over the canvas, y up. The attachment is
// centred on the bone, placed so that the frame's top-left corner lies at
// `at` (needs readback.js and spine-webgl).
window.ozDraw = async (check) => {
  const [width, height] = check.canvas;
  const atlasText = await (await fetch(check.scriptUrl)).text();
  const image = new Image();
  image.src = check.sheetUrl;
  await image.decode();

  const canvas = document.createElement('canvas');
  canvas.width = width;
  canvas.height = height;
  const context = new spine.ManagedWebGLRenderingContext(
    canvas, { alpha: true, preserveDrawingBuffer: true, antialias: false });
  const renderer = new spine.SceneRenderer(canvas, context);
  renderer.camera.position.x = width / 2;
  renderer.camera.position.y = height / 2;
  const atlas = new spine.TextureAtlas(atlasText);
  for (const page of atlas.pages) page.setTexture(new spine.GLTexture(context, image, page.pma));
  const json = new spine.SkeletonJson(new spine.AtlasAttachmentLoader(atlas));
  const gl = context.gl;

  return atlas.regions.map((region) => {
    const [w, h] = [region.originalWidth, region.originalHeight];
    const data = json.readSkeletonData({
      skeleton: { spine: '4.3.13' },
      bones: [{ name: 'root' }],
      slots: [{ name: 'frame', bone: 'root', attachment: region.name }],
      skins: [{ name: 'default', attachments: { frame: { [region.name]: { width: w, height: h } } } }],
    });
    const skeleton = new spine.Skeleton(data);
    skeleton.x = check.at[0] + w / 2;
    skeleton.y = height - check.at[1] - h / 2;
    skeleton.updateWorldTransform(spine.Physics.update);
    gl.clearColor(0, 0, 0, 0);
    gl.clear(gl.COLOR_BUFFER_BIT);
    renderer.begin();
    renderer.drawSkeleton(skeleton);
    renderer.end();
    return window.ozReadback(canvas, 0, 0, width, height, region.name);
  });
};
