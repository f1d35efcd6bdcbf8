// Executes the game's paint plan on a canvas: the worker's own, or the page's. The module has
// decided every edge, colour, hatch and text: this only draws what it is told, in logical
// pixels (the plan's device pixels divided by the ratio), so that fonts and hatch tiles grow
// with the picture.
export class Canvas {
  #context;
  #layout;
  #patterns = new Map();

  // layout: how the numbers of a paint are laid out, and the hatches' tiles (the game's).
  constructor(element, layout) {
    // A low-latency canvas: the browser does not copy the whole picture for every frame that
    // follows a change, which would cost it more than the page's own drawing.
    this.#context = element.getContext("2d", { desynchronized: true });
    this.#layout = layout;
  }

  // The canvas's one 2D context (an OffscreenCanvas hands out no second one in some engines).
  get context() {
    return this.#context;
  }

  // Paints what changed in the game's window (the game's paint: surface size, areas,
  // operations and the text runs), with device pixels to a CSS pixel.
  draw({ width, height, areas, ops, runs: allRuns }, ratio) {
    const { canvas } = this.#context;
    if (canvas.width !== width || canvas.height !== height) Object.assign(canvas, { width, height });
    const { opSize, fill, hatch } = this.#layout;
    const context = this.#context;
    context.setTransform(ratio, 0, 0, ratio, 0, 0);
    context.imageSmoothingEnabled = false;
    context.save();
    this.#clip(areas, ratio);
    let runs = null;
    for (let at = 0; at < ops.length; at += opSize) {
      const [kind, left, top, across, down] = [ops[at], ops[at + 1], ops[at + 2], ops[at + 3], ops[at + 4]];
      context.fillStyle = kind === hatch ? this.#pattern(ops[at + 6]) : `#${ops[at + 5].toString(16).padStart(6, "0")}`;
      if (kind === fill || kind === hatch) context.fillRect(left / ratio, top / ratio, across / ratio, down / ratio);
      else this.#text((runs ??= allRuns())[ops[at + 7]], [left / ratio, top / ratio, across / ratio], ratio);
    }
    context.restore();
  }

  // One line of text, its ascent from the top left corner of its box.
  #text({ text, font, clip }, [left, top], ratio) {
    const context = this.#context;
    context.save();
    this.#clip([clip], ratio);
    context.font = font;
    context.fillText(text, left, top + context.measureText(text).fontBoundingBoxAscent);
    context.restore();
  }

  #clip(boxes, ratio) {
    this.#context.beginPath();
    for (const [left, top, width, height] of boxes)
      this.#context.rect(left / ratio, top / ratio, width / ratio, height / ratio);
    this.#context.clip();
  }

  // A fill pattern's tile: black where its rows have a line, clear elsewhere.
  #pattern(number) {
    if (!this.#patterns.has(number)) {
      const image = new ImageData(8, 8);
      this.#layout.hatches[number].forEach((row, y) => {
        for (let x = 0; x < 8; ++x) image.data[4 * (8 * y + x) + 3] = (row >> x) & 1 ? 255 : 0;
      });
      const tile = typeof OffscreenCanvas === "function" ? new OffscreenCanvas(8, 8) : document.createElement("canvas");
      Object.assign(tile, { width: 8, height: 8 }).getContext("2d").putImageData(image, 0, 0);
      this.#patterns.set(number, this.#context.createPattern(tile, "repeat"));
    }
    return this.#patterns.get(number);
  }
}
