// The page of Vorbix: the game's window on a canvas, with its buttons and curtain halves as
// elements above it (controls.js), fitted to the screen (layout.js); the question in a
// dialog; keys (input.js), touches (touch.js), controllers (pads.js) and clicks handed to the
// game's session (session.js), which alone decides when they reach the game; games saved and
// watched (recordings.js); and the window's texts mirrored for assistive technology
// (mirror.js). This thread only takes the player's events and places the controls when the
// window's frame changes, unless the engine leaves the drawing to it (engines.js).
import { keepAwake } from "./awake.js";
import { Controls, answerQuestion } from "./controls.js";
import { drawPlan } from "./engines.js";
import { takeKeys } from "./input.js";
import { Layout } from "./layout.js";
import { connect } from "./messages.js";
import { mirrorTexts } from "./mirror.js";
import { takePads } from "./pads.js";
import { offerRecordings } from "./recordings.js";
import { takeTouches } from "./touch.js";

class Page {
  #call; // calls to the game's session
  #question;
  #controls;
  #layout;
  #awake;
  #mirror;
  #ended = null; // called when the recording being watched has ended
  #asking = false; // the question is open, or its answer on its way
  answered = false; // the first question has been answered

  constructor(call, ownTwipsPerPixel, question, elements) {
    this.#call = call;
    this.#question = question;
    this.#controls = new Controls(elements.box, elements.canvas, (name) => call("click", [name]));
    this.#layout = new Layout(elements.stage, elements.box, ownTwipsPerPixel, () => this.#refit());
    this.#awake = keepAwake();
    this.#mirror = mirrorTexts(elements.texts, elements.news);
    const press = (name) => call("key", [name]);
    takeKeys(press);
    takeTouches(elements.touch, press);
    const answer = answerQuestion(elements.question);
    takePads((reading, now) => call("pad", [reading, now]).then((moves) => moves.forEach(answer)));
    offerRecordings(elements.menu, this, elements.tell);
    matchMedia(`(resolution: ${devicePixelRatio}dppx)`).addEventListener("change", () => this.#refit());
    document.addEventListener("visibilitychange", () => call("visible", [!document.hidden]));
  }

  // Program start: the question, then the game plays.
  async start() {
    await this.#call("start");
    this.answered = true;
  }

  // Plays a recording at its recorded speed in place of the page's game; ended() is called
  // when it has been played to its end. Gives why it cannot be watched, where it stops
  // before its end, or "".
  async watch(recording, ended) {
    const { playable, message } = await this.#call("show", [recording, false]);
    if (playable) this.#ended = ended;
    return message;
  }

  // The game as the page has played it since it loaded.
  recording() {
    return this.#call("recording");
  }

  // A call of the game's session by its name; a test's entry adds calls of its own there.
  call(name, args) {
    return this.#call(name, args);
  }

  // Whether the game has started and no question is open (or its answer is on its way to
  // the session). Until the session first asks, the question asked ahead may already be
  // answered while the game has not yet started with that answer.
  get idle() {
    return this.answered && !this.#asking;
  }

  // The calls the session makes of the page.
  get handlers() {
    return {
      ask: async () => {
        this.#asking = true;
        try {
          return await this.#question.ask();
        } finally {
          // The answer is on its way: nothing the page sends after it reaches the session first.
          this.#asking = false;
        }
      },
      frame: (frame) => {
        this.#controls.follow(frame);
        this.#layout.follow(frame.size);
        this.#awake(frame.shown === null);
        this.#mirror(frame);
      },
      ended: () => this.#ended?.(),
    };
  }

  // The window is drawn at the scale and the device pixels it is shown at.
  #refit() {
    this.#call("view", [{ twipsPerPixel: this.#layout.twipsPerPixel, ratio: devicePixelRatio }]);
  }
}

// Opens the page in the document with the game started where the engine lets it run
// (engines.js: its port, and whether this thread draws), which loads the game and makes its
// window, not yet started, and the page's question box (controls.js), which may already be
// open. Fails when the module cannot load.
export async function openPage({ port, drawsHere }, question) {
  const element = (id) => document.getElementById(id);
  const handlers = {};
  const call = connect(port, handlers);
  const canvas = element("surface");
  const surface = drawsHere ? null : canvas.transferControlToOffscreen();
  const layout = await call("open", [surface, devicePixelRatio, !document.hidden], surface ? [surface] : []);
  if (drawsHere) handlers.draw = drawPlan(canvas, layout, () => call("redraw"));
  const message = element("message");
  const tell = (text) => {
    message.textContent = text;
    message.hidden = !text;
  };
  const page = new Page(call, layout.twipsPerPixel, question, {
    box: element("window"),
    question: element("question"),
    canvas,
    stage: element("stage"),
    touch: element("touch"),
    menu: element("menu"),
    texts: element("texts"),
    news: element("news"),
    tell,
  });
  Object.assign(handlers, page.handlers);
  return page;
}
