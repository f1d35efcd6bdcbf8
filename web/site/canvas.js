// Executes the game's paint plan on the canvas. The module has decided every edge, colour,
// hatch and text: this only draws what it is told, in logical pixels (the plan's device
// pixels divided by the ratio), so that fonts and hatch tiles grow with the picture.
export class Canvas {
  #context;
  #game;
  #patterns = new Map();

  constructor(element, game) {
    // A low-latency canvas: the browser does not copy the whole picture for every frame that
    // follows a change, which would cost it more than the page's own drawing.
    this.#context = element.getContext("2d", { desynchronized: true });
    this.#game = game;
  }

  // The canvas's one 2D context: an OffscreenCanvas hands out no second one in Firefox.
  get context() {
    return this.#context;
  }

  // Paints what changed in the game's window since the last paint, with twips to a CSS pixel
  // and device pixels to a CSS pixel.
  paint(twipsPerPixel, ratio) {
    const update = this.#game.paint(twipsPerPixel, ratio);
    if (!update) return;
    const { width, height, areas, ops } = update;
    const { canvas } = this.#context;
    if (canvas.width !== width || canvas.height !== height) Object.assign(canvas, { width, height });
    const { opSize, fill, hatch } = this.#game.layout;
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
      else this.#text((runs ??= this.#game.runs())[ops[at + 7]], [left / ratio, top / ratio, across / ratio], ratio);
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

  #pattern(number) {
    if (!this.#patterns.has(number)) {
      const tile = new OffscreenCanvas(8, 8);
      tile.getContext("2d").putImageData(this.#game.hatchImage(number), 0, 0);
      this.#patterns.set(number, this.#context.createPattern(tile, "repeat"));
    }
    return this.#patterns.get(number);
  }
}
