// The game's side of the page, in a worker of its own: the module, its clock and the painting
// of its window on the canvas the page handed over, so that the page's main thread has
// nothing to do while the game plays but take the player's events. The page hands in its
// events and the view it shows the window at; the session hands back the window's frame when
// it changes, and the question. While the question is open the clock stands still and
// nothing is drawn; the question is answered, as vorbix-replay answers it, without time
// passing.
import { Canvas } from "./canvas.js";
import { Clock, PlaybackClock } from "./clock.js";
import { faces } from "./faces.js";
import { Game } from "./game.js";
import { connect } from "./messages.js";

class Session {
  #game;
  #canvas;
  #clock;
  #page; // calls to the page
  #view; // twips and device pixels to a CSS pixel
  #watching = null; // the clock of a recording being watched
  #busy = false; // a call that may ask the question is running
  #playing = false; // the player's events reach the game
  #drawing = false; // a draw is on its way

  constructor(game, surface, view, page) {
    this.#game = game;
    this.#canvas = new Canvas(surface, game);
    this.#view = view;
    this.#page = page;
    this.#clock = new Clock(game, () => this.redraw());
  }

  // The 2D context the window is painted with.
  get context() {
    return this.#canvas.context;
  }

  // Program start: the question, then the game plays.
  async start() {
    this.#playing = true;
    await this.#asking(() => this.#game.start());
  }

  // Plays a recording at its recorded speed in place of the page's game; the page's ended()
  // is called when it has been played to its end. Gives whether it can be played, and why
  // not or where it stops before its end.
  watch(recording) {
    const { playable, message } = this.#game.watch(recording);
    if (playable) {
      this.#playing = false;
      this.#clock.halt();
      this.#watching = new PlaybackClock(
        this.#game,
        () => this.redraw(),
        () => this.#page("ended"),
      );
    }
    return { playable, message };
  }

  // A key or a touch control by its KeyboardEvent.key name.
  key(name) {
    if (this.#watching) return this.#watching.key(this.#game.keyCode(name));
    if (this.#busy || !this.#playing) return;
    this.#game.key(this.#game.keyCode(name));
    this.redraw();
  }

  click(button) {
    if (this.#busy || !this.#playing) return;
    return this.#asking(() => this.#game.click(button));
  }

  // The window shown at other twips or device pixels to a CSS pixel.
  view(view) {
    this.#view = view;
    this.redraw();
  }

  // Whether the page is shown: hidden, the game's clock stands still.
  show(shown) {
    this.#clock.show(shown);
  }

  // The game as the page has played it since it loaded, as a recording to save.
  recording() {
    return this.#game.recording();
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
      this.#canvas.paint(this.#view.twipsPerPixel, this.#view.ratio);
      const frame = this.#game.frame();
      if (frame) this.#page("frame", [frame]);
    });
  }

  // A call into the game that may ask the question: the module waits inside it while the
  // page's dialog is open, and nothing else may enter the game meanwhile.
  async #asking(call) {
    this.#busy = true;
    this.#clock.halt();
    try {
      await call();
    } finally {
      this.#busy = false;
      this.redraw();
      if (!this.#watching) this.#clock.run();
    }
  }
}

// The faces the window's text is drawn in, under the design's family names, as the page's
// style sheet has them; the window is drawn again once they have come.
function loadFaces(session) {
  const loads = faces.map(({ family, file, style }) => {
    // One weight serves every weight, as in the style sheet: the plan strikes a face without
    // bold twice.
    const face = new FontFace(family, `url(fonts/${file})`, { weight: "100 900", style });
    self.fonts.add(face);
    return face.load();
  });
  Promise.all(loads).then(() => session.redraw({ whole: true }));
}

// Serves the page's calls in this worker. The page opens the session first, with the canvas
// it hands over, its device pixels to a CSS pixel and whether it is shown; opening gives the
// window's own twips to a CSS pixel, or fails when the module cannot load.
// hooks(session, game, surface) may add calls of its own.
export function serveSession(hooks = () => ({})) {
  const handlers = {};
  const page = connect(self, handlers);
  // The module loads at once, while the page is still loading its own modules.
  const loading = Game.load((text, title) => page("ask", [text, title]));
  loading.catch(() => {}); // said by opening
  handlers.open = async (surface, ratio, shown) => {
    const game = await loading;
    const { twipsPerPixel } = game.layout;
    const session = new Session(game, surface, { twipsPerPixel, ratio }, page);
    session.show(shown);
    loadFaces(session);
    Object.assign(handlers, {
      start: () => session.start(),
      key: (name) => session.key(name),
      click: (button) => session.click(button),
      view: (changed) => session.view(changed),
      show: (visible) => session.show(visible),
      watch: (recording) => session.watch(recording),
      recording: () => session.recording(),
      ...hooks(session, game, surface),
    });
    return twipsPerPixel;
  };
}
