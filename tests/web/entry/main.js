// The page's entry for tests and measurements, which their server hands out in place of the
// site's own main.js (and its worker.js in place of the site's): the page as a player gets
// it, and, on window.vorbix, what the tests look at, each a call of the game's session that
// resolves to its answer. With ?replay=URL the page shows the game of that vorbix-replay
// script instead of starting one, standing still: a way to reach a known state. With
// ?hide=NAME (repeated) the page loads as in an engine without that feature: "offscreen"
// (no OffscreenCanvas), "module-workers" (no module workers) or "wasm-exceptions". And
// vorbix.replay(script) runs a script as vorbix-replay runs it. The engine's controllers are
// the tests' one controller of the standard layout, vorbix.pad, plugged in when they say. For
// the measurements (bench/web_measure.py), the frames that first show the question, a press
// of P's Pause and each gravity tick; for the tests, the page's screen wake locks (a
// stand-in's where the engine grants none) and the page hidden as by another tab.
import { keepOffline } from "./offline.js";

// The page's uncaught exceptions, refused promises, console errors and breaches of its
// security policy, for an engine whose driver reports none of them (WebKit's).
window.vorbixErrors = [];
const heard = (what) => (event) => window.vorbixErrors.push(`${what}: ${event.message ?? event.reason ?? ""}`);
addEventListener("error", heard("uncaught"));
addEventListener("unhandledrejection", heard("refused"));
document.addEventListener("securitypolicyviolation", (event) =>
  window.vorbixErrors.push(`refused by the policy: ${event.blockedURI}`),
);
const consoleError = console.error.bind(console);
console.error = (...args) => {
  window.vorbixErrors.push(`console: ${args.join(" ")}`);
  consoleError(...args);
};

const query = new URLSearchParams(location.search);
const hidden = query.getAll("hide");
if (hidden.includes("offscreen")) {
  delete window.OffscreenCanvas;
  delete HTMLCanvasElement.prototype.transferControlToOffscreen;
}
if (hidden.includes("module-workers")) {
  // A worker constructor that knows no options, as an engine's before module workers.
  const ClassicWorker = window.Worker;
  window.Worker = function Worker(url) {
    return new ClassicWorker(url);
  };
}
if (hidden.includes("wasm-exceptions")) WebAssembly.validate = () => false;

let page = null;

document.getElementById("old").remove();

// The frame of this thread that first shows a change, after some moment: the time of the
// animation frame asked for once the change is made.
const nextFrame = () => new Promise((framed) => requestAnimationFrame(() => framed(performance.now())));

// When the question first showed, in milliseconds since the page began to load.
const questionShown = new Promise((shown) => {
  const dialog = document.getElementById("question");
  const observer = new MutationObserver(() => {
    if (!dialog.open) return;
    observer.disconnect();
    shown(nextFrame());
  });
  observer.observe(dialog, { attributes: true, attributeFilter: ["open"] });
});

// For each press of P, the milliseconds from its event on this thread to the Pause button
// it brings up shown (the game's answer, from its worker) and to the frame that first shows it.
const pauseFrames = [];
let pressed = null;
addEventListener(
  "keydown",
  (event) => {
    if (event.key.toLowerCase() === "p") pressed = performance.now();
  },
  { capture: true },
);
new MutationObserver(async () => {
  const pause = document.querySelector("[data-name=Pause]");
  if (pressed === null || !pause || pause.hidden) return;
  const since = pressed;
  pressed = null;
  const toShown = performance.now() - since;
  pauseFrames.push({ toShown, toFrame: (await nextFrame()) - since });
}).observe(document.getElementById("window"), { attributes: true, attributeFilter: ["hidden"], subtree: true });

// The screen wake locks the page takes, each with whether it has been released since: the
// engine's own, watched, or a stand-in's, which grants each request, in an engine without
// them or one that refuses them under its driver (WebKit's MiniBrowser asks no one).
const wakeLocks = [];
class StandInLock extends EventTarget {
  type = "screen";
  released = false;
  async release() {
    if (this.released) return;
    this.released = true;
    this.dispatchEvent(new Event("release"));
  }
}
const engineRequest = "wakeLock" in navigator ? navigator.wakeLock.request.bind(navigator.wakeLock) : null;
// Asked beside the page's loading, long before the page asks for its first lock in play.
const requestLock = (async () => {
  try {
    await (await engineRequest("screen")).release();
    return engineRequest;
  } catch {
    return async () => new StandInLock();
  }
})();
if (!engineRequest) Object.defineProperty(navigator, "wakeLock", { value: {}, configurable: true });
navigator.wakeLock.request = async (type) => {
  const lock = await (await requestLock)(type);
  wakeLocks.push(lock);
  return lock;
};

// The page hidden or shown, as when the player turns to another tab and back: what the page
// reads of its visibility, and the event that tells it of a change.
function pretendHidden(away) {
  for (const [name, value] of [
    ["hidden", away],
    ["visibilityState", away ? "hidden" : "visible"],
  ])
    Object.defineProperty(document, name, { value, configurable: true });
  document.dispatchEvent(new Event("visibilitychange"));
}

const [engines, { Question }] = await Promise.all([import("./engines.js"), import("./controls.js")]);
const lacks = engines.missing();
// As the site's entry says it, the page opens only in an engine that has what it needs, and
// asks the game's first question at once, unless it shows a replay, which asks none.
document.getElementById("message").textContent = lacks && `lacks ${lacks}`;
document.getElementById("message").hidden = !lacks;
const question = new Question(document.getElementById("question"), document.getElementById("window"));
if (!lacks && !query.has("replay")) question.askAhead();
const starting = lacks ? null : engines.startGame();
// The page opens once its modules are in and the game has loaded, maybe after the question
// has been answered. window.vorbix is there as soon as the question is, its calls waiting for
// the page.
const opened =
  starting &&
  (async () => {
    const game = await starting;
    if (game.port instanceof Worker) game.port.addEventListener("error", heard("the worker"));
    const { openPage } = await import("./page.js");
    keepOffline(() => page !== null && page.answered);
    page = await openPage(game, question);
    return page;
  })();

// A call of the game's session, made with the arguments it is given.
function call(name) {
  return async (...args) => (await opened).call(name, args);
}

// Runs the script at the URL; resolves to what its dumps wrote, as vorbix-replay prints them.
async function show(url) {
  const { message, dumps } = await call("show")(await (await fetch(url)).text(), true);
  if (message) throw new Error(`${url}: ${message}`);
  return dumps;
}

// The tests' controller, as the Gamepad API gives one: unplugged until connect().
const pad = {
  id: "The tests' controller",
  index: 0,
  mapping: "standard",
  connected: false,
  timestamp: performance.now(),
  buttons: Array.from({ length: 17 }, () => ({ pressed: false, touched: false, value: 0 })),
  axes: [0, 0, 0, 0],
};
Object.defineProperty(navigator, "getGamepads", { configurable: true, value: () => [pad.connected ? pad : null] });
const animationFrames = async (count) => {
  for (let frame = 0; frame < count; ++frame) await new Promise((done) => requestAnimationFrame(done));
};
const padHooks = {
  // Plugs it in once the page has opened: the page takes controllers from then on.
  connect: async () => {
    await opened;
    pad.connected = true;
    dispatchEvent(Object.assign(new Event("gamepadconnected"), { gamepad: pad }));
  },
  // Holds the standard layout's buttons by their numbers, and the left stick, from now on.
  hold: (buttons, stick = [0, 0]) => {
    pad.buttons.forEach((button, at) => {
      const down = buttons.includes(at);
      Object.assign(button, { pressed: down, touched: down, value: down ? 1 : 0 });
    });
    pad.axes = [...stick, 0, 0];
    pad.timestamp = performance.now();
  },
  // Holds the buttons and the stick for some display frames, lets go, and resolves once the
  // page's readings of both have reached the game's session.
  press: async (buttons, stick = [0, 0], frames = 3) => {
    padHooks.hold(buttons, stick);
    await animationFrames(frames);
    padHooks.hold([]);
    await animationFrames(frames);
    await call("dump")();
  },
};

if (starting)
  window.vorbix = {
    started: query.has("replay") ? show(query.get("replay")) : opened.then(() => page.start()),
    // Where the game runs and draws.
    engine: starting.then(({ port, drawsHere }) => ({ worker: !(port instanceof MessagePort), drawsHere })),
    idle: () => page?.idle ?? false,
    dump: call("dump"),
    // Runs a script as vorbix-replay does: what its dumps wrote and the message of the line
    // that stopped it ("" for none).
    replay: async (script) => {
      const { message, dumps } = await call("show")(script, true);
      return { dumps, message };
    },
    runs: call("runs"),
    recording: call("recording"),
    // The dump and the recording at one moment: the game's clock moves on between calls.
    moment: call("moment"),
    // The canvas's pixels, { width, height, data }, after the whole window has been painted
    // afresh, or as the changes painted so far have left it: the session's canvas, or the
    // page's where the page draws.
    pixels: async (afresh) => {
      const pixels = await call("pixels")(afresh);
      if (pixels) return pixels;
      const canvas = document.getElementById("surface");
      const { width, height } = canvas;
      return { width, height, data: canvas.getContext("2d").getImageData(0, 0, width, height).data };
    },
    // The session's times of the gravity ticks, in milliseconds.
    gravity: call("gravity"),
    tickFrames: call("tickFrames"),
    // Whether each wake lock taken so far has been released.
    wakeLocks: () => wakeLocks.map((lock) => lock.released),
    pretendHidden,
    questionShown: () => questionShown,
    // The presses of P since the last call, each with its milliseconds to the Pause button
    // shown and to the frame that shows it.
    pauseFrames: () => pauseFrames.splice(0),
    stall: call("stall"),
    pad: padHooks,
  };
