// The game's worker for tests and measurements, in place of the site's: the session as a
// player gets it, with the calls the tests' entry (main.js beside this) makes of it.
import { serveSession } from "./session.js";

serveSession((session, game) => {
  // The times of the gravity ticks.
  const gravity = [];
  const advance = game.advance.bind(game);
  game.advance = (milliseconds) => {
    const before = game.ticks(1);
    const ticks = advance(milliseconds);
    for (let tick = game.ticks(1); tick > before; --tick) gravity.push(performance.now());
    return ticks;
  };
  return {
    show: (script) => {
      const message = game.replay(script);
      session.redraw();
      return message;
    },
    // Runs a script as vorbix-replay does: what its dumps wrote and the message of the line
    // that stopped it ("" for none).
    replay: (script) => {
      const message = game.replay(script);
      session.redraw();
      return { dumps: game.replayDumps(), message };
    },
    dump: () => game.dump(),
    runs: () => game.runs(),
    moment: () => [game.dump(), game.recording()],
    pixels: async (afresh) => {
      if (afresh) session.redraw({ whole: true });
      await new Promise((done) => setTimeout(done));
      // The painting's own context: Firefox gives no second one.
      const { context } = session;
      const { width, height } = context.canvas;
      return { width, height, data: context.getImageData(0, 0, width, height).data };
    },
    gravity: () => gravity,
    // Keeps the worker, and with it the game's clock, busy for some milliseconds.
    stall: (milliseconds) => {
      const end = performance.now() + milliseconds;
      while (performance.now() < end);
    },
  };
});
