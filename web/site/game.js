// The game module (vorbix.js and vorbix.wasm, the game compiled to WebAssembly) behind the
// calls the page makes of it. Every rule of the game, of its script language and of how its
// window looks lives in the module; the page only hands it events and shows what it says.
import createVorbix from "./vorbix.js";

export class Game {
  #module;

  constructor(module) {
    this.#module = module;
    // How the numbers of a paint are laid out (web/page_view.h).
    this.layout = this.#json(module._vorbix_layout());
  }

  // Loads the module; the game asks its question through askInPage(text, title), which
  // resolves to true for Yes. A module that cannot load (its file missing, say) rejects.
  static async load(askInPage) {
    return new Game(await createVorbix({ askInPage }));
  }

  // Program start and a click on a button may ask the question: both resolve once it has
  // been answered and the game has gone on.
  start() {
    return this.#module.ccall("vorbix_start", null, [], [], { async: true });
  }

  click(button) {
    return this.#module.ccall("vorbix_click", null, ["string"], [button], { async: true });
  }

  // The game's code for a key by its KeyboardEvent.key name, and a key-down with a code.
  keyCode(name) {
    return this.#module.ccall("vorbix_key_code", "number", ["string"], [name]);
  }

  key(code) {
    this.#module._vorbix_key(code);
  }

  // Lets whole milliseconds of the game's time pass; gives how many ticks fell due.
  advance(milliseconds) {
    return this.#module._vorbix_advance(milliseconds);
  }

  // Milliseconds until the next tick falls due, or null while no timer runs.
  nextDue() {
    const due = this.#module._vorbix_next_due();
    return due < 0 ? null : due;
  }

  // How many ticks Timer1, Timer2 or Timer3 (1 to 3) has had.
  ticks(timer) {
    return this.#module._vorbix_ticks(timer);
  }

  // What to paint, with twips to a CSS pixel (15 at the window's own size) and device pixels
  // to a CSS pixel: the surface's size in device pixels, the areas that changed and the
  // operations that paint them, as views of the module's memory that hold until the next
  // call; null while the window is unloaded.
  paint(twipsPerPixel, ratio) {
    const count = this.#module._vorbix_paint(twipsPerPixel, ratio);
    if (count === 0) return null;
    const start = this.#module._vorbix_painted() / Float64Array.BYTES_PER_ELEMENT;
    const numbers = this.#module.HEAPF64.subarray(start, start + count);
    const [width, height, areaCount] = numbers;
    const areas = [];
    for (let n = 0; n < areaCount; ++n) areas.push(numbers.subarray(4 + 4 * n, 8 + 4 * n));
    return { width, height, areas, ops: numbers.subarray(4 + 4 * areaCount) };
  }

  // The next paint paints everything.
  repaint() {
    this.#module._vorbix_repaint();
  }

  // The text runs of the last paint: text, CSS font and clip.
  runs() {
    return this.#json(this.#module._vorbix_runs());
  }

  // The window's frame (title, size, buttons, curtain halves, stacking) as the last paint
  // found it, when it changed since the last call; null otherwise.
  frame() {
    return this.#json(this.#module._vorbix_frame());
  }

  // A fill pattern's tile as an image of 8 by 8 pixels.
  hatchImage(pattern) {
    const pointer = this.#module._vorbix_hatch_image(pattern);
    return new ImageData(new Uint8ClampedArray(this.#module.HEAPU8.slice(pointer, pointer + 256)), 8);
  }

  // The game as the page has played it since it loaded, as a recording to save.
  recording() {
    return this.#module.UTF8ToString(this.#module._vorbix_recording());
  }

  // Takes a recording to watch, shown from then on instead of the page's game: whether it can
  // be played, and a message that says why not, or where it stops before its end.
  watch(recording) {
    return this.#withText(recording, (text) => this.#json(this.#module._vorbix_watch(text)));
  }

  // The recording being watched, on the watcher's clock in milliseconds: plays what is due,
  // tells when it has something to do next (null while paused or once ended), takes a key
  // of the watcher's (P pauses and goes on), and whether it has ended.
  watchPlay(now) {
    this.#module._vorbix_watch_play(now);
  }

  watchDue() {
    const due = this.#module._vorbix_watch_due();
    return due < 0 ? null : due;
  }

  watchKey(code, now) {
    this.#module._vorbix_watch_key(code, now);
  }

  watchEnded() {
    return this.#module._vorbix_watch_ended() !== 0;
  }

  // The whole state, as vorbix-replay dumps it.
  dump() {
    return this.#json(this.#module._vorbix_dump());
  }

  // Runs a script of any size as vorbix-replay does; its game is shown from then on. Gives
  // "" or the message of the line that stopped it.
  replay(script) {
    return this.#withText(script, (text) => this.#module.UTF8ToString(this.#module._vorbix_replay(text)));
  }

  // What the dumps of the last script run wrote, as vorbix-replay prints them.
  replayDumps() {
    return this.#module.UTF8ToString(this.#module._vorbix_replay_dumps());
  }

  #json(pointer) {
    return pointer === 0 ? null : JSON.parse(this.#module.UTF8ToString(pointer));
  }

  // Hands a text to the module in memory of its own heap, which holds a text of any size.
  #withText(text, use) {
    const size = this.#module.lengthBytesUTF8(text) + 1;
    const pointer = this.#module._malloc(size);
    try {
      this.#module.stringToUTF8(text, pointer, size);
      return use(pointer);
    } finally {
      this.#module._free(pointer);
    }
  }
}
