// The page of Vorbix: the game's window on a canvas, with its buttons and curtain halves as
// elements above it (controls.js); the start-up question in a dialog; keys (input.js) and
// clicks handed to the game; and the game's clock moved on with real time (clock.js). While
// the question is open the clock stands still and nothing is drawn; the question is
// answered, as vorbix-replay answers it, without time passing.
import { Canvas } from "./canvas.js";
import { Clock } from "./clock.js";
import { Controls, questionBox } from "./controls.js";
import { Game } from "./game.js";
import { takeKeys } from "./input.js";

class Page {
  #game;
  #box;
  #canvas;
  #controls;
  #clock;
  #busy = false; // a call that may ask the question is running
  #playing = false; // the player's events reach the game
  #drawing = false; // a draw is on its way

  constructor(game, box, canvas) {
    this.#game = game;
    this.#box = box;
    this.#canvas = new Canvas(canvas, game);
    this.#controls = new Controls(box, canvas, (name) => this.click(name));
    this.#clock = new Clock(game, () => this.redraw());
    takeKeys((name) => this.key(name));
    matchMedia(`(resolution: ${devicePixelRatio}dppx)`).addEventListener("change", () => this.redraw());
    // The faces load while the game starts; whatever was drawn before they came is drawn again.
    Promise.all([...document.fonts].map((face) => face.load())).then(() => this.redraw({ whole: true }));
  }

  get game() {
    return this.#game;
  }

  // Whether no call into the game is under way (none waits for the question).
  get idle() {
    return !this.#busy;
  }

  // Program start: the question, then the game plays.
  start() {
    this.#playing = true;
    return this.#asking(() => this.#game.start());
  }

  // Shows the game of a script, standing still; gives "" or the message of its faulty line.
  show(script) {
    const message = this.#game.replay(script);
    this.redraw();
    return message;
  }

  // A key by its KeyboardEvent.key name; gives whether the game took it.
  key(name) {
    if (this.#busy || !this.#playing) return false;
    this.#game.key(this.#game.keyCode(name));
    this.redraw();
    return true;
  }

  click(button) {
    if (this.#busy || !this.#playing) return;
    this.#asking(() => this.#game.click(button));
  }

  // Draws once the event at hand is done. Not at the next animation frame: the window changes
  // only with its events, at most a few dozen times a second, and asking the browser for an
  // animation frame costs it more than the drawing.
  redraw({ whole = false } = {}) {
    if (whole) this.#game.repaint();
    if (this.#drawing) return;
    this.#drawing = true;
    queueMicrotask(() => {
      this.#drawing = false;
      // Nothing is drawn while the game waits inside its load event for the answer.
      if (this.#busy) return;
      this.#canvas.paint(devicePixelRatio);
      const frame = this.#game.frame();
      if (frame) this.#controls.follow(frame);
    });
  }

  // A call into the game that may ask the question: the module waits inside it while the
  // dialog is open, and nothing else may enter the game meanwhile.
  async #asking(call) {
    this.#busy = true;
    this.#clock.halt();
    try {
      await call();
    } finally {
      this.#busy = false;
      this.#box.hidden = false;
      this.redraw();
      this.#clock.run();
    }
  }
}

// Opens the page in the document: loads the game and makes its window, not yet started.
export async function openPage() {
  const box = document.getElementById("window");
  const ask = questionBox(document.getElementById("question"));
  const game = await Game.load((text, title) => {
    // As on the desktop, the window is away while the question is open (a restart unloads it).
    box.hidden = true;
    return ask(text, title);
  });
  return new Page(game, box, document.getElementById("surface"));
}
