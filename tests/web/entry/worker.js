// The game's session for tests and measurements, in place of the site's worker.js: the
// session as a player gets it, with the calls the tests' entry (main.js beside this) makes of
// it, in the game's worker or on the page's thread.
import { serveSession } from "./session.js";

// Timer1's interval in play.
const gravityPeriod = 50;

// The gravity ticks followed to the frames of this thread, which owns the canvas they are
// drawn on: for each tick, how many milliseconds after it fell due the clock delivered it, and
// the milliseconds from its delivery to the next frame, or null when a later tick was
// delivered before that frame came, so that this tick's picture never reached the screen.
class TickFrames {
  #ticks = null; // while followed
  #unframed = []; // the ticks delivered since the last frame
  #due = null; // when the next tick falls due, in page time

  follow(follow) {
    const followed = this.#ticks;
    this.#ticks = follow ? [] : null;
    this.#unframed = [];
    this.#due = null;
    return followed;
  }

  // A move of the clock at a moment that delivered some gravity ticks, with the milliseconds
  // until the next thing falls due; ticks delivered together fell due a period apart.
  delivered(now, count, due) {
    if (this.#ticks === null) return;
    for (let n = 0; n < count; ++n) {
      const late = this.#due === null ? null : now - this.#due - gravityPeriod * n;
      const tick = { late, toFrame: null };
      this.#ticks.push(tick);
      if (this.#unframed.push({ tick, at: now }) === 1) requestAnimationFrame(() => this.#framed());
    }
    this.#due = due === null ? null : now + due;
  }

  #framed() {
    const shown = this.#unframed.pop();
    if (shown) shown.tick.toFrame = performance.now() - shown.at;
    this.#unframed = [];
  }
}

export const serve = (port) =>
  serveSession(port, (session, game, canvas) => {
    // The times of the gravity ticks, one for each tick of Timer1.
    const gravity = [];
    const frames = new TickFrames();
    const advance = game.advance.bind(game);
    game.advance = (milliseconds) => {
      const now = performance.now();
      const moved = advance(milliseconds);
      frames.delivered(now, moved.ticks[0] - gravity.length, moved.due);
      while (gravity.length < moved.ticks[0]) gravity.push(now);
      return moved;
    };
    return {
      dump: () => game.dump(),
      runs: () => game.runs(),
      moment: () => [game.dump(), game.recording()],
      // The pixels of the session's canvas; null where the page draws.
      pixels: async (afresh) => {
        if (afresh) session.redraw({ whole: true });
        await new Promise((done) => setTimeout(done));
        if (!canvas) return null;
        const { width, height } = canvas.context.canvas;
        return { width, height, data: canvas.context.getImageData(0, 0, width, height).data };
      },
      gravity: () => gravity,
      // Starts following the gravity ticks to the frames that show them, or gives what was
      // followed since (see TickFrames) and stops.
      tickFrames: (follow) => frames.follow(follow),
      // Keeps the session's thread, and with it the game's clock, busy for some milliseconds.
      stall: (milliseconds) => {
        const end = performance.now() + milliseconds;
        while (performance.now() < end);
      },
    };
  });

// In the worker (which has no window), the worker's own port.
if (typeof window === "undefined") serve(self);
