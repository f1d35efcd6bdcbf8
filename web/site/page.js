// The page of Vorbix: the game's window on a canvas, with its buttons and curtain halves as
// elements above it (controls.js), fitted to the screen (layout.js); the start-up question
// in a dialog; keys (input.js), touches (touch.js) and clicks handed to the game; the game's
// clock moved on with real time (clock.js); and games saved and watched (recordings.js).
// While the question is open the clock stands still and nothing is drawn; the question is
// answered, as vorbix-replay answers it, without time passing.
import { Canvas } from "./canvas.js";
import { Clock, PlaybackClock } from "./clock.js";
import { Controls, questionBox } from "./controls.js";
import { Game } from "./game.js";
import { takeKeys } from "./input.js";
import { Layout } from "./layout.js";
import { offerRecordings } from "./recordings.js";
import { takeTouches } from "./touch.js";

class Page {
  #game;
  #box;
  #canvas;
  #controls;
  #layout;
  #clock;
  #watching = null; // the clock of a recording being watched
  #busy = false; // a call that may ask the question is running
  #playing = false; // the player's events reach the game
  #answered = false; // the first question has been answered
  #drawing = false; // a draw is on its way

  constructor(game, elements) {
    this.#game = game;
    this.#box = elements.box;
    this.#canvas = new Canvas(elements.canvas, game);
    this.#controls = new Controls(elements.box, elements.canvas, (name) => this.click(name));
    this.#layout = new Layout(elements.stage, elements.box, game.layout.twipsPerPixel, () => this.redraw());
    this.#clock = new Clock(game, () => this.redraw());
    const press = (name) => this.key(name);
    takeKeys(press);
    takeTouches(elements.touch, press);
    offerRecordings(elements.menu, this, elements.tell);
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

  // Whether the player has answered the first question.
  get answered() {
    return this.#answered;
  }

  // Program start: the question, then the game plays.
  async start() {
    this.#playing = true;
    await this.#asking(() => this.#game.start());
    this.#answered = true;
  }

  // Shows the game of a script, standing still; gives "" or the message of its faulty line.
  show(script) {
    const message = this.#game.replay(script);
    this.redraw();
    return message;
  }

  // Plays a recording at its recorded speed in place of the page's game; ended() is called
  // when it has been played to its end. Gives why it cannot be watched, where it stops
  // before its end, or "".
  watch(recording, ended) {
    if (this.#busy) return "it can be watched once the question has been answered";
    const { playable, message } = this.#game.watch(recording);
    if (!playable) return message;
    this.#playing = false;
    this.#clock.halt();
    this.#watching = new PlaybackClock(this.#game, () => this.redraw(), ended);
    return message;
  }

  // A key or a touch control by its KeyboardEvent.key name; gives whether it was taken.
  key(name) {
    if (this.#watching) {
      this.#watching.key(this.#game.keyCode(name));
      return true;
    }
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
      this.#canvas.paint(this.#layout.twipsPerPixel, devicePixelRatio);
      const frame = this.#game.frame();
      if (!frame) return;
      this.#controls.follow(frame);
      this.#layout.follow(frame.size);
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
      if (!this.#watching) this.#clock.run();
    }
  }
}

// Opens the page in the document: loads the game and makes its window, not yet started.
export async function openPage() {
  const element = (id) => document.getElementById(id);
  const box = element("window");
  const ask = questionBox(element("question"));
  const game = await Game.load((text, title) => {
    // As on the desktop, the window is away while the question is open (a restart unloads it).
    box.hidden = true;
    return ask(text, title);
  });
  const message = element("message");
  const tell = (text) => {
    message.textContent = text;
    message.hidden = !text;
  };
  return new Page(game, {
    box,
    canvas: element("surface"),
    stage: element("stage"),
    touch: element("touch"),
    menu: element("menu"),
    tell,
  });
}
