// The page's entry for tests and measurements, which their server hands out in place of the
// site's own main.js (and its worker.js in place of the site's): the page as a player gets
// it, and, on window.vorbix, what the tests look at, each a call of the game's worker that
// resolves to its answer. With ?replay=URL the page shows the game of that vorbix-replay
// script instead of starting one, standing still: a way to reach a known state; and
// vorbix.replay(script) runs a script in the game's worker as vorbix-replay runs it.
import { keepOffline } from "./offline.js";
import { openPage } from "./page.js";

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

const replay = new URLSearchParams(location.search).get("replay");
const worker = new Worker("worker.js", { type: "module" });
worker.addEventListener("error", heard("the worker"));
let page = null;
keepOffline(() => page !== null && page.answered);
page = await openPage(worker);

async function show(url) {
  const message = await page.call("show", [await (await fetch(url)).text()]);
  if (message) throw new Error(`${url}: ${message}`);
}

// A call of the game's worker, made with the arguments it is given.
const call =
  (name) =>
  (...args) =>
    page.call(name, args);
window.vorbix = {
  started: replay ? show(replay) : page.start(),
  idle: () => page.idle,
  dump: call("dump"),
  replay: call("replay"),
  runs: call("runs"),
  recording: call("recording"),
  // The dump and the recording at one moment: the game's clock moves on between calls.
  moment: call("moment"),
  // The canvas's pixels, { width, height, data }, after the whole window has been painted
  // afresh, or as the changes painted so far have left it.
  pixels: call("pixels"),
  // The worker's times of the gravity ticks, in milliseconds.
  gravity: call("gravity"),
  stall: call("stall"),
};
