// Where the game runs and where its window is drawn, chosen by what the engine offers, never
// by its name. Best, the game runs in a module worker and draws on a canvas the page hands
// over (an OffscreenCanvas). An engine that cannot hand a canvas over has the same worker send
// the plan's numbers to the page, which draws them with the same canvas.js; one without module
// workers runs the game on the page's thread, its plan drawn the same way. An engine that
// lacks what even that needs is told so.
import { Canvas } from "./canvas.js";
import { loadFaces } from "./fonts.js";

// What the engine lacks that the page cannot do without, or "" when it has everything.
export function missing() {
  // A module with one function that catches WebAssembly's own exceptions.
  const exceptions = [0, 97, 115, 109, 1, 0, 0, 0, 1, 4, 1, 96, 0, 0, 3, 2, 1, 0, 10, 7, 1, 5, 0, 6, 64, 11, 11];
  if (typeof WebAssembly !== "object" || !WebAssembly.validate(new Uint8Array(exceptions)))
    return "WebAssembly with exceptions";
  if (typeof HTMLDialogElement !== "function") return "the dialog element";
  return "";
}

// Starts the game where the engine lets it run: gives the port its calls go through, whether
// the page draws its window (drawsHere), and a promise that rejects when its worker fails.
export async function startGame() {
  const offscreen =
    typeof OffscreenCanvas === "function" && "transferControlToOffscreen" in HTMLCanvasElement.prototype;
  if (runsModuleWorkers()) {
    const worker = new Worker("worker.js", { type: "module" });
    const failed = new Promise((_, reject) => {
      worker.addEventListener("error", (event) => reject(new Error(event.message || "its worker could not start")));
    });
    return { port: worker, drawsHere: !offscreen, failed };
  }
  const { port1, port2 } = new MessageChannel();
  (await import("./worker.js")).serve(port1);
  return { port: port2, drawsHere: true, failed: new Promise(() => {}) };
}

// Whether the engine runs a worker as a module: one that knows the option reads it.
function runsModuleWorkers() {
  let reads = false;
  const options = {
    get type() {
      reads = true;
      return "module";
    },
  };
  try {
    // An address that cannot be parsed: no worker starts.
    new Worker("http://[", options).terminate();
  } catch {
    // As expected.
  }
  return reads;
}

// The game's side: sends each paint to the page, its numbers copied out of the module's
// memory, with the text runs when it paints a text.
export function sendPlan(page, { opSize, text }) {
  return ({ width, height, areas, ops, runs }, ratio) => {
    let texts = false;
    for (let at = 0; at < ops.length && !texts; at += opSize) texts = ops[at] === text;
    const sent = { width, height, areas: areas.map((area) => [...area]), ops: ops.slice(), runs: texts ? runs() : [] };
    page("draw", [sent, ratio], [sent.ops.buffer]);
  };
}

// The page's side: draws the paints sent to it on the page's canvas, in the faces it loads
// for it; once they have come, redraw() asks for the whole window again.
export function drawPlan(element, layout, redraw) {
  const canvas = new Canvas(element, layout);
  loadFaces(document.fonts).then(redraw);
  return (paint, ratio) => canvas.draw({ ...paint, runs: () => paint.runs }, ratio);
}
