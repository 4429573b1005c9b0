// Pixels read back from the page, for draw_frames.mjs: straight RGBA, rows
// top first, as base64.
(() => {
  const base64 = (bytes) => {
    let text = '';
    for (let i = 0; i < bytes.length; i += 0x8000) {
      text += String.fromCharCode.apply(null, bytes.subarray(i, i + 0x8000));
    }
    return btoa(text);
  };
  // What a 2D context holds in the rectangle, without copying it first.
  window.ozPixels = (context, x, y, width, height, label) => ({
    label, width, height, rgba: base64(context.getImageData(x, y, width, height).data),
  });
  // The rectangle of any drawable source (a WebGL canvas, a decoded image),
  // through a 2D canvas of its size.
  window.ozReadback = (source, x, y, width, height, label) => {
    const canvas = document.createElement('canvas');
    canvas.width = width;
    canvas.height = height;
    const context = canvas.getContext('2d', { willReadFrequently: true });
    context.drawImage(source, x, y, width, height, 0, 0, width, height);
    return window.ozPixels(context, 0, 0, width, height, label);
  };
})();
