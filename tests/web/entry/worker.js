// The game's session for tests and measurements, in place of the site's worker.js: the
// session as a player gets it, with the calls the tests' entry (main.js beside this) makes of
// it, in the game's worker or on the page's thread.
import { serveSession } from "./session.js";

export const serve = (port) =>
  serveSession(port, (session, game, canvas) => {
    // The times of the gravity ticks, one for each tick of Timer1.
    const gravity = [];
    const advance = game.advance.bind(game);
    game.advance = (milliseconds) => {
      const moved = advance(milliseconds);
      while (gravity.length < moved.ticks[0]) gravity.push(performance.now());
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
      // Keeps the session's thread, and with it the game's clock, busy for some milliseconds.
      stall: (milliseconds) => {
        const end = performance.now() + milliseconds;
        while (performance.now() < end);
      },
    };
  });

// In the worker (which has no window), the worker's own port.
if (typeof window === "undefined") serve(self);
