// The page of Vorbix: the game's window on a canvas, with its buttons and curtain halves as
// elements above it (controls.js), fitted to the screen (layout.js); the start-up question
// in a dialog; keys (input.js), touches (touch.js) and clicks handed to the game; and games
// saved and watched (recordings.js). The game itself, its clock and the painting of the
// canvas run in a worker of their own (session.js), so that this thread only takes the
// player's events and places the controls when the window's frame changes.
import { connect } from "./messages.js";
import { Controls, questionBox } from "./controls.js";
import { takeKeys } from "./input.js";
import { Layout } from "./layout.js";
import { offerRecordings } from "./recordings.js";
import { takeTouches } from "./touch.js";

class Page {
  #call; // calls to the game's worker
  #box;
  #controls;
  #layout;
  #ended = null; // called when the recording being watched has ended
  #busy = false; // a call that may ask the question is running
  #answered = false; // the first question has been answered

  constructor(call, ownTwipsPerPixel, elements) {
    this.#call = call;
    this.#box = elements.box;
    this.#controls = new Controls(elements.box, elements.canvas, (name) => this.click(name));
    this.#layout = new Layout(elements.stage, elements.box, ownTwipsPerPixel, () => this.#refit());
    const press = (name) => this.key(name);
    takeKeys(press);
    takeTouches(elements.touch, press);
    offerRecordings(elements.menu, this, elements.tell);
    matchMedia(`(resolution: ${devicePixelRatio}dppx)`).addEventListener("change", () => this.#refit());
    document.addEventListener("visibilitychange", () => call("show", [!document.hidden]));
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
    await this.#asking("start", []);
    this.#answered = true;
  }

  // Plays a recording at its recorded speed in place of the page's game; ended() is called
  // when it has been played to its end. Gives why it cannot be watched, where it stops
  // before its end, or "".
  async watch(recording, ended) {
    if (this.#busy) return "it can be watched once the question has been answered";
    const { playable, message } = await this.#call("watch", [recording]);
    if (playable) this.#ended = ended;
    return message;
  }

  // The game as the page has played it since it loaded.
  recording() {
    return this.#call("recording");
  }

  // A key or a touch control by its KeyboardEvent.key name; gives whether it was taken. The
  // game's worker decides what it does: it moves the piece, or pauses a watched recording.
  key(name) {
    if (this.#busy) return false;
    this.#call("key", [name]);
    return true;
  }

  click(button) {
    if (!this.#busy) this.#asking("click", [button]);
  }

  // A call of the game's worker by its name; a test's entry adds calls of its own there.
  call(name, args) {
    return this.#call(name, args);
  }

  // The calls the game's worker makes of the page.
  get handlers() {
    return {
      frame: (frame) => {
        this.#controls.follow(frame);
        this.#layout.follow(frame.size);
      },
      ended: () => this.#ended?.(),
    };
  }

  // The window is drawn at the scale and the device pixels it is shown at.
  #refit() {
    this.#call("view", [{ twipsPerPixel: this.#layout.twipsPerPixel, ratio: devicePixelRatio }]);
  }

  // A call that may ask the question: nothing else may enter the game until it is answered.
  async #asking(name, args) {
    this.#busy = true;
    try {
      await this.#call(name, args);
    } finally {
      this.#busy = false;
      this.#box.hidden = false;
    }
  }
}

// Opens the page in the document with the game's worker (worker.js), which loads the game and
// makes its window, not yet started. Fails when the module cannot load.
export async function openPage(worker) {
  const element = (id) => document.getElementById(id);
  const box = element("window");
  const ask = questionBox(element("question"));
  const handlers = {
    ask: (text, title) => {
      // As on the desktop, the window is away while the question is open (a restart unloads it).
      box.hidden = true;
      return ask(text, title);
    },
  };
  const call = connect(worker, handlers);
  const surface = element("surface").transferControlToOffscreen();
  const ownTwipsPerPixel = await call("open", [surface, devicePixelRatio, !document.hidden], [surface]);
  const message = element("message");
  const tell = (text) => {
    message.textContent = text;
    message.hidden = !text;
  };
  const page = new Page(call, ownTwipsPerPixel, {
    box,
    canvas: element("surface"),
    stage: element("stage"),
    touch: element("touch"),
    menu: element("menu"),
    tell,
  });
  Object.assign(handlers, page.handlers);
  return page;
}
