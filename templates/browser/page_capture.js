// Run before a page's own script: keeps what each of its 2D canvases holds
// after every drawImage, in window.ozCaptures (needs readback.js).
(() => {
  window.ozCaptures = [];
  const drawImage = CanvasRenderingContext2D.prototype.drawImage;
  CanvasRenderingContext2D.prototype.drawImage = function (...args) {
    const result = drawImage.apply(this, args);
    const { width, height } = this.canvas;
    window.ozCaptures.push(window.ozPixels(this, 0, 0, width, height, window.ozCaptures.length));
    return result;
  };
})();
