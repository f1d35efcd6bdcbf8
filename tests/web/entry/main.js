// The page's entry for tests and measurements, which their server hands out in place of the
// site's own main.js: the page as a player gets it, and, on window.vorbix, what the tests
// look at. With ?replay=URL the page shows the game of that vorbix-replay script instead of
// starting one, standing still: a way to reach a known state.
import { keepOffline } from "./offline.js";
import { openPage } from "./page.js";

const replay = new URLSearchParams(location.search).get("replay");
let page = null;
keepOffline(() => page !== null && page.answered);
page = await openPage();
const { game } = page;

// The page times of the gravity ticks.
const gravity = [];
const advance = game.advance.bind(game);
game.advance = (milliseconds) => {
  const before = game.ticks(1);
  const ticks = advance(milliseconds);
  for (let tick = game.ticks(1); tick > before; --tick) gravity.push(performance.now());
  return ticks;
};

async function show(url) {
  const message = page.show(await (await fetch(url)).text());
  if (message) throw new Error(`${url}: ${message}`);
}

window.vorbix = {
  started: replay ? show(replay) : page.start(),
  dump: () => game.dump(),
  runs: () => game.runs(),
  idle: () => page.idle,
  recording: () => game.recording(),
  // The canvas's pixels as a text, after the whole window has been painted afresh, or as the
  // changes painted so far have left it.
  pixels: async (afresh) => {
    if (afresh) page.redraw({ whole: true });
    await new Promise((done) => setTimeout(done));
    const canvas = document.getElementById("surface");
    return canvas.getContext("2d").getImageData(0, 0, canvas.width, canvas.height).data.join();
  },
  gravity,
};
