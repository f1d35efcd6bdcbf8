// The game's side of the page: the module, its clock and the drawing of its window, in a
// worker of the page's (or, in an engine without module workers, on the page's thread:
// engines.js). The page hands in the player's events and the view it shows the window at; the
// session hands back the window's frame when it changes, and draws the rest. Here, and only
// here, is decided when the player's events reach the game: not while the question is open.
// The question is asked before the event that asks it (the game says which), and the event
// then runs with its answer, without time passing, as vorbix-replay runs it.
import { Canvas } from "./canvas.js";
import { Clock } from "./clock.js";
import { sendPlan } from "./engines.js";
import { loadFaces } from "./fonts.js";
import { Game, asks } from "./game.js";
import { connect } from "./messages.js";

class Session {
  #game;
  #draw; // draw(paint, ratio)
  #clock;
  #page; // calls to the page
  #view; // twips and device pixels to a CSS pixel
  #asking = false; // the question is open
  #drawing = false; // a draw is on its way
  #whole = false; // the next draw paints everything
  #ended = false; // the recording being watched has ended

  constructor(game, draw, view, page) {
    this.#game = game;
    this.#draw = draw;
    this.#view = view;
    this.#page = page;
    this.#clock = new Clock((milliseconds) => this.#advance(milliseconds));
  }

  // Program start: the question, then the game plays.
  start() {
    return this.#answered((yes) => this.#game.start(yes));
  }

  // A key or a touch control by its KeyboardEvent.key name, for the game or the recording
  // being watched.
  key(name) {
    if (!this.#asking && this.#game.key(name)) this.#changed();
  }

  click(button) {
    if (this.#asking) return;
    if (this.#game.click(button) === asks) return this.#answered((yes) => this.#game.click(button, yes));
    this.#changed();
  }

  // A controller's reading, taken at a moment of the page's clock: the game's controller map
  // turns it into keys and clicks, which reach the game as the keyboard's and the mouse's do,
  // or, while the question is open, into moves between its answers, which go back to the
  // page's question box.
  pad(reading, now) {
    const { taken, asks: button, answers } = this.#game.pad(reading, now, this.#asking);
    if (button) this.#answered((yes) => this.#game.click(button, yes));
    else if (taken) this.#changed();
    return answers;
  }

  // Shows a recording played at its recorded speed (or a script run at once) in place of the
  // page's game; the page's ended() is called when a recording has been played to its end.
  // Gives whether it is shown, and why not or where it stops before its end.
  show(script, atOnce) {
    if (this.#asking) return { playable: false, message: "it can be watched once the question has been answered" };
    const shown = this.#game.show(script, atOnce);
    this.#ended = false;
    // What is shown now has a clock of its own, from this moment.
    if (shown.playable) this.#clock.run();
    return shown;
  }

  // The window shown at other twips or device pixels to a CSS pixel.
  view(view) {
    this.#view = view;
    this.redraw();
  }

  // Whether the page is shown: hidden, the clock stands still.
  visible(shown) {
    this.#clock.show(shown);
  }

  // Draws once the event at hand is done. Not at the next animation frame: the window changes
  // only with its events, at most a few dozen times a second, and asking the browser for an
  // animation frame costs it more than the drawing.
  redraw({ whole = false } = {}) {
    this.#whole ||= whole;
    if (this.#drawing) return;
    this.#drawing = true;
    queueMicrotask(() => {
      this.#drawing = false;
      const { twipsPerPixel, ratio } = this.#view;
      const paint = this.#game.paint(twipsPerPixel, ratio, this.#whole);
      this.#whole = false;
      if (!paint) return;
      this.#draw(paint, ratio);
      if (paint.frame) this.#page("frame", [paint.frame]);
    });
  }

  // An event the game took: it is drawn, and its clock wakes if it had stopped.
  #changed() {
    this.#clock.wake();
    this.redraw();
  }

  #advance(milliseconds) {
    const { due, ended } = this.#game.advance(milliseconds);
    if (ended && !this.#ended) this.#page("ended");
    this.#ended = ended;
    this.redraw();
    return due;
  }

  // Asks the question, with the clock standing still and no event of the player's reaching
  // the game, then runs the event with the answer.
  async #answered(event) {
    this.#asking = true;
    this.#clock.halt();
    try {
      event(await this.#page("ask"));
    } finally {
      this.#asking = false;
      this.#clock.run();
      this.redraw();
    }
  }
}

// Serves the page's calls on a port: the worker's own, or the page's end of a channel. The
// module loads at once; the page opens the session with the canvas it hands over (or none:
// the plan is then sent to the page to draw), its device pixels to a CSS pixel and whether it
// is shown; opening gives the module's layout (see game.js), or fails when the module cannot
// load. hooks(session, game, canvas) may add calls of its own (canvas: the session's Canvas,
// or null where the page draws).
export function serveSession(port, hooks = () => ({})) {
  const handlers = {};
  const page = connect(port, handlers);
  const loading = Game.load();
  loading.catch(() => {}); // said by opening
  handlers.open = async (surface, ratio, shown) => {
    const game = await loading;
    const { layout } = game;
    const canvas = surface && new Canvas(surface, layout);
    const draw = canvas ? (paint, scale) => canvas.draw(paint, scale) : sendPlan(page, layout);
    const session = new Session(game, draw, { twipsPerPixel: layout.twipsPerPixel, ratio }, page);
    session.visible(shown);
    if (canvas) loadFaces(self.fonts).then(() => session.redraw({ whole: true }));
    Object.assign(handlers, {
      start: () => session.start(),
      key: (name) => session.key(name),
      click: (button) => session.click(button),
      pad: (reading, now) => session.pad(reading, now),
      show: (script, atOnce) => session.show(script, atOnce),
      view: (changed) => session.view(changed),
      visible: (visible) => session.visible(visible),
      redraw: () => session.redraw({ whole: true }),
      recording: () => game.recording(),
      ...hooks(session, game, canvas),
    });
    return layout;
  };
}
