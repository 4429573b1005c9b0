// The elements of a style sheet's check, for draw_frames.mjs: one element
// per class attribute, each on a row of its own, then read back from a
// screenshot of the page (needs readback.js).
(() => {
  const LEFT = 10;  // CSS pixels; the place of element k is placeOf(k)
  const placeOf = (check, k) => {
    const rowHeight = Math.ceil(check.canvas[1] / check.scale) + 10;
    return [LEFT, 10 + k * rowHeight];
  };

  window.ozPlace = (check) => {
    check.classes.forEach((classes, k) => {
      const element = document.createElement('span');
      element.setAttribute('class', classes);
      const [left, top] = placeOf(check, k);
      element.style.position = 'absolute';
      element.style.left = `${left}px`;
      element.style.top = `${top}px`;
      document.body.appendChild(element);
    });
    return document.fonts.ready;
  };

  window.ozDraw = async (check) => {
    const bytes = Uint8Array.from(atob(check.shot), (c) => c.charCodeAt(0));
    const shot = await createImageBitmap(new Blob([bytes], { type: 'image/png' }));
    const [width, height] = check.canvas;
    return check.classes.map((classes, k) => {
      const [left, top] = placeOf(check, k);
      return window.ozReadback(shot, left * check.scale - check.at[0],
                               top * check.scale - check.at[1], width, height, classes);
    });
  };
})();
