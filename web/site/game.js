// The game module (vorbix.js and vorbix.wasm, the game compiled to WebAssembly) behind plain
// calls. Every rule of the game, of its script language and of how its window looks lives in
// the module; the page only hands it events and shows what it says. No call waits: the page
// asks the question first and hands the answer in with the event that asks it.
import createVorbix from "./vorbix.js";

// What a click gives when it asks the question and came without its answer.
export const asks = "asks";

export class Game {
  #module;

  constructor(module) {
    this.#module = module;
    // How the numbers of a paint are laid out (web/page_view.h), and the hatches' tiles.
    this.layout = this.#json(module._vorbix_layout());
  }

  // Loads the module; a module that cannot load (its file missing, say) rejects.
  static async load() {
    return new Game(await createVorbix());
  }

  // Program start, with the answer to its question (true for Yes).
  start(yes) {
    this.#module._vorbix_start(yes ? 1 : 0);
  }

  // A key by its KeyboardEvent.key name; gives whether the game (or the recording being
  // watched: P pauses it) took it.
  key(name) {
    return this.#withText(name, (text) => this.#module._vorbix_key(text) !== 0);
  }

  // A click on a push button, with the answer when it asks the question: gives whether the
  // game took it, or asks when it asks the question and came without its answer.
  click(button, yes = null) {
    const answer = yes === null ? -1 : Number(yes);
    const taken = this.#withText(button, (text) => this.#module._vorbix_click(text, answer));
    return taken < 0 ? asks : taken !== 0;
  }

  // A controller's reading (its buttons pressed, bit i for the standard layout's button i, and
  // its left stick) at a moment in milliseconds of a steady clock, with whether the question
  // is open: whether the game took the keys and clicks it gave (taken), the button to click
  // once the question has been asked (asks, or null), and the moves it gave in the question
  // (answers: "previous", "next", "choose").
  pad({ pressed, stick: [x, y] }, now, asking) {
    return this.#json(this.#module._vorbix_pad(pressed, x, y, now, asking ? 1 : 0));
  }

  // Lets whole milliseconds pass on the clock of what is shown: when something falls due next
  // (null while nothing runs), whether the recording being watched has ended, and how many
  // ticks each timer has had.
  advance(milliseconds) {
    const [due, ended, ...ticks] = this.#numbers(this.#module._vorbix_advance(milliseconds), 5);
    return { due: due < 0 ? null : due, ended: ended !== 0, ticks };
  }

  // What to paint, with twips to a CSS pixel (15 at the window's own size) and device pixels
  // to a CSS pixel, since the last paint or whole: the surface's size in device pixels, the
  // areas that changed, the operations that paint them (views of the module's memory that
  // hold until the next call) and the window's frame when it changed; null while the window
  // is unloaded.
  paint(twipsPerPixel, ratio, whole) {
    const pointer = this.#module._vorbix_paint(twipsPerPixel, ratio, whole ? 1 : 0);
    if (pointer === 0) return null;
    const [width, height, areaCount, opCount, frame] = this.#numbers(pointer, 5);
    const numbers = this.#numbers(pointer, 5 + 4 * areaCount + this.layout.opSize * opCount);
    const areas = [];
    for (let n = 0; n < areaCount; ++n) areas.push(numbers.subarray(5 + 4 * n, 9 + 4 * n));
    const ops = numbers.subarray(5 + 4 * areaCount);
    return { width, height, areas, ops, frame: this.#json(frame), runs: () => this.runs() };
  }

  // The text runs of the last paint: text, CSS font and clip.
  runs() {
    return this.#json(this.#module._vorbix_runs());
  }

  // Shows a script instead of the page's game: played at its own pace (a recording to watch)
  // or run at once as vorbix-replay runs it. Gives whether it is shown (playable), a message
  // that says why not or where it stops before its end, and what the dumps of a script run
  // at once wrote (dumps), as vorbix-replay prints them.
  show(script, atOnce) {
    return this.#withText(script, (text) => this.#json(this.#module._vorbix_show(text, atOnce ? 1 : 0)));
  }

  // The whole state, as vorbix-replay dumps it.
  dump() {
    return this.#json(this.#module._vorbix_dump());
  }

  // The game as the page has played it since it loaded, as a recording to save.
  recording() {
    return this.#module.UTF8ToString(this.#module._vorbix_recording());
  }

  #numbers(pointer, count) {
    const start = pointer / Float64Array.BYTES_PER_ELEMENT;
    return this.#module.HEAPF64.subarray(start, start + count);
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
