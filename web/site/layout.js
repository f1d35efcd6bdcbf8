// Fits the game's window to the screen: scaled uniformly to the largest size that fits its
// stage (the page less the touch controls and the menu), centred on whole device pixels,
// never scrolled, and fitted again whenever the stage changes size, as when the screen turns
// or the browser's window is resized. With a mouse the window keeps its own size wherever it
// fits, as on the desktop; on a touch screen it grows or shrinks to fill the stage.
export class Layout {
  #stage;
  #box;
  #ownTwipsPerPixel;
  #refit;
  #scale = 1;
  #shown = null; // the window's size in CSS pixels, as shown

  // ownTwipsPerPixel gives the window's own size; refit() is called when the scale changes,
  // for the window to be drawn at the new one.
  constructor(stage, box, ownTwipsPerPixel, refit) {
    this.#stage = stage;
    this.#box = box;
    this.#ownTwipsPerPixel = ownTwipsPerPixel;
    this.#refit = refit;
    new ResizeObserver(() => this.#fit()).observe(stage);
    matchMedia("(pointer: coarse)").addEventListener("change", () => this.#fit());
  }

  // Twips to a CSS pixel at the scale shown.
  get twipsPerPixel() {
    return this.#ownTwipsPerPixel / this.#scale;
  }

  // The window's size in CSS pixels as drawn at the scale shown.
  follow([width, height]) {
    this.#shown = [width, height];
    this.#fit();
  }

  #fit() {
    if (!this.#shown) return;
    const { clientWidth, clientHeight } = this.#stage;
    const [width, height] = this.#shown.map((pixels) => pixels / this.#scale);
    const fit = Math.min(clientWidth / width, clientHeight / height);
    const scale = matchMedia("(pointer: coarse)").matches ? fit : Math.min(1, fit);
    if (scale > 0 && Math.abs(scale - this.#scale) > 1e-6) {
      this.#scale = scale;
      this.#refit();
      return;
    }
    const snapped = (pixels) => Math.round(Math.max(0, pixels) * devicePixelRatio) / devicePixelRatio;
    Object.assign(this.#box.style, {
      left: `${snapped((clientWidth - this.#shown[0]) / 2)}px`,
      top: `${snapped((clientHeight - this.#shown[1]) / 2)}px`,
    });
  }
}
