// The page of Vorbix. It runs the game module (vorbix.js, vorbix.wasm), shows the game's
// window on a canvas with its buttons and curtain halves as elements above it, asks the
// start-up question in a dialog, hands keys and clicks to the game and moves the game's
// clock on with real time.
//
// Time: the game runs on a virtual clock, as in vorbix-replay, that the page moves on by the
// real time that has passed whenever a tick falls due; ticks come in due order, Timer1 first
// at a tie. While the page is hidden the clock stands still, as a suspended machine's timers
// do on the desktop: when it shows again the game goes on where it stood, with nothing made
// up in a burst. A stall of more than a quarter of a second while shown is not made up
// either. While the question is open the clock stands still too; the question is answered,
// as vorbix-replay answers it, without time passing.
//
// With ?replay=URL the page runs that vorbix-replay script instead and shows the game as the
// script leaves it, standing still: a way to reach a known state, for tests.
"use strict";

(() => {
  // The window's positions are twips: 15 to a CSS pixel at 96 pixels to the inch.
  const twipsPerPixel = 15;
  const stallLimit = 250;

  // The black hatch over a cell's fill for patterns 2 to 7: the eight rows of an 8 by 8
  // tile, bit 0 the left column, as the desktop's painter draws its brush patterns.
  const hatches = {
    2: [0x00, 0x00, 0x00, 0xff, 0x00, 0x00, 0x00, 0x00], // horizontal lines
    3: [0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10], // vertical lines
    4: [0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01], // upward diagonal
    5: [0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80], // downward diagonal
    6: [0x10, 0x10, 0x10, 0xff, 0x10, 0x10, 0x10, 0x10], // cross
    7: [0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81], // diagonal cross
  };
  // The script face has no bold style: bold text is struck twice, a pixel apart.
  const withoutBold = new Set(["Lucida Handwriting"]);
  const arrows = { ArrowLeft: 37, ArrowUp: 38, ArrowRight: 39, ArrowDown: 40 };

  const box = document.getElementById("window");
  const canvas = document.getElementById("surface");
  // A low-latency canvas: the browser does not copy the whole picture for every frame that
  // follows a change, which would cost it more than the page's own drawing.
  const context = canvas.getContext("2d", { desynchronized: true });
  const dialog = document.getElementById("question");
  const problem = document.getElementById("problem");
  const elements = new Map(); // the window-system controls' elements, by name
  const patterns = new Map();

  let game = null; // the module
  let busy = true; // a call that may ask the question is running
  let live = false; // the clock follows real time
  let last = 0; // when the clock last moved on, in page time
  let carried = 0; // the part of a millisecond the clock has still to move
  let wake = null;
  let drawing = false;
  const gravity = []; // page times of the gravity ticks, with ?trace

  const px = (twips) => twips / twipsPerPixel;

  // --- The question -----------------------------------------------------------------------

  function askInPage(text, title) {
    // As on the desktop, the window is away while the question is open (a restart unloads it).
    box.hidden = true;
    return new Promise((answer) => {
      document.getElementById("question-title").textContent = title;
      document.getElementById("question-text").textContent = text;
      dialog.returnValue = "";
      // Yes for its button or Return; No for its button, Escape or closing.
      dialog.addEventListener("close", () => answer(dialog.returnValue === "yes"), { once: true });
      dialog.showModal();
      dialog.querySelector("button[value=yes]").focus();
    });
  }

  // --- Painting ---------------------------------------------------------------------------

  function ratio() {
    return window.devicePixelRatio || 1;
  }

  // A rectangle moved to the nearest edges between device pixels, as the desktop does, so
  // that fill, hatch and outline cover the same whole pixels at every scale.
  function snapped([left, top, width, height]) {
    const r = ratio();
    const l = Math.round(left * r), t = Math.round(top * r);
    const right = Math.round((left + width) * r), bottom = Math.round((top + height) * r);
    return [l / r, t / r, (right - l) / r, (bottom - t) / r];
  }

  function pixels([left, top, width, height]) {
    return [px(left), px(top), px(width), px(height)];
  }

  function pattern(number) {
    if (!patterns.has(number)) {
      const tile = document.createElement("canvas");
      tile.width = tile.height = 8;
      const ink = tile.getContext("2d");
      hatches[number].forEach((row, y) => {
        for (let x = 0; x < 8; ++x) if (row & (1 << x)) ink.fillRect(x, y, 1, 1);
      });
      patterns.set(number, context.createPattern(tile, "repeat"));
    }
    return patterns.get(number);
  }

  // A line one pixel wide (in whole device pixels) just inside the rectangle's edge.
  function outline(place, colour) {
    const [left, top, width, height] = snapped(place);
    const r = ratio();
    const line = Math.max(1, Math.round(r)) / r;
    const across = Math.min(line, width), down = Math.min(line, height);
    context.fillStyle = colour;
    context.fillRect(left, top, width, down);
    context.fillRect(left, top + height - down, width, down);
    context.fillRect(left, top, across, height);
    context.fillRect(left + width - across, top, across, height);
  }

  function cssFont({ family, points, bold, italic }) {
    return `${italic ? "italic " : ""}${bold ? "bold " : ""}${points}pt "${family}"`;
  }

  // The lines of a text wrapped at word boundaries within a width.
  function wrapped(text, width) {
    const lines = [];
    let line = "";
    for (const word of text.split(" ")) {
      const longer = line ? `${line} ${word}` : word;
      if (line && context.measureText(longer).width > width) {
        lines.push(line);
        line = word;
      } else {
        line = longer;
      }
    }
    lines.push(line);
    return lines;
  }

  function label({ text, place, font, opaque, background }) {
    const [left, top, width, height] = snapped(pixels(place));
    if (opaque) {
      context.fillStyle = background;
      context.fillRect(left, top, width, height);
    }
    context.save();
    context.beginPath();
    context.rect(left, top, width, height);
    context.clip();
    context.font = cssFont(font);
    context.fillStyle = "#000";
    context.textBaseline = "alphabetic";
    const metrics = context.measureText(text);
    const ascent = metrics.fontBoundingBoxAscent, lineHeight = ascent + metrics.fontBoundingBoxDescent;
    const strikes = font.bold && withoutBold.has(font.family) ? [0, 1] : [0];
    wrapped(text, width).forEach((line, n) => {
      for (const shift of strikes) context.fillText(line, left + shift, top + ascent + n * lineHeight);
    });
    context.restore();
  }

  function sprite({ place, fill, pattern: number, edge }) {
    const rectangle = snapped(pixels(place));
    context.fillStyle = fill;
    context.fillRect(...rectangle);
    if (hatches[number]) {
      context.fillStyle = pattern(number);
      context.fillRect(...rectangle);
    }
    outline(rectangle, edge);
  }

  const colours = new Map();
  const colour = (packed) => {
    if (!colours.has(packed)) colours.set(packed, `#${packed.toString(16).padStart(6, "0")}`);
    return colours.get(packed);
  };

  // Where a control's picture lies, a pixel wider all round, in whole pixels.
  function area(place) {
    const [left, top, width, height] = pixels(place);
    const l = Math.floor(left) - 1, t = Math.floor(top) - 1;
    return [l, t, Math.ceil(left + width) + 1 - l, Math.ceil(top + height) + 1 - t];
  }

  // The sprites from the module's memory: ten numbers each (see web/page_view.h).
  function shownSprites() {
    const start = game._vorbix_sprites() / 4;
    const numbers = game.HEAPF32.slice(start, start + 10 * game._vorbix_sprite_count());
    const sprites = [];
    for (let i = 0; i < numbers.length; i += 10) {
      const record = numbers.subarray(i, i + 10);
      const place = [record[2], record[3], record[4], record[5]];
      sprites.push({ key: record[0] * 65536 + record[1], record, place, area: area(place), fill: colour(record[6]),
                     pattern: record[7], edge: colour(record[8]) });
    }
    return sprites;
  }

  const meets = ([l, t, w, h], [l2, t2, w2, h2]) => l < l2 + w2 && l2 < l + w && t < t2 + h2 && t2 < t + h;
  const same = (a, b) => JSON.stringify(a) === JSON.stringify(b);
  const sameRecord = (a, b) => a.every((number, i) => number === b[i]);

  // What the canvas shows now.
  let painted = { controls: null, sprites: new Map(), ratio: 0 };

  // The areas that differ between what was painted and what is to be painted, or null when
  // everything is to be painted again.
  function changes(controls, sprites) {
    const before = painted;
    if (!before.controls || before.ratio !== ratio() || !same(before.controls.client, controls.client) ||
        before.controls.background !== controls.background) {
      return null;
    }
    const areas = [];
    if (controls !== before.controls) {
      controls.labels.forEach((now, i) => {
        if (!same(now, before.controls.labels[i])) areas.push(area(before.controls.labels[i].place), area(now.place));
      });
      if (!same(controls.outline, before.controls.outline)) {
        areas.push(area(before.controls.outline.place), area(controls.outline.place));
      }
    }
    const next = new Map();
    for (const now of sprites) {
      next.set(now.key, now);
      const then = before.sprites.get(now.key);
      if (then && sameRecord(then.record, now.record)) continue;
      areas.push(now.area);
      if (then) areas.push(then.area);
    }
    for (const [key, then] of before.sprites) if (!next.has(key)) areas.push(then.area);
    return areas;
  }

  function paint(controls, sprites) {
    const [width, height] = controls.client.map(px).map(Math.round);
    const r = ratio();
    if (canvas.width !== Math.round(width * r) || canvas.height !== Math.round(height * r)) {
      canvas.width = Math.round(width * r);
      canvas.height = Math.round(height * r);
      painted.controls = null;
    }
    canvas.style.width = box.style.width = `${width}px`;
    canvas.style.height = box.style.height = `${height}px`;
    const areas = changes(controls, sprites) ?? [[0, 0, width, height]];
    painted = { controls, sprites: new Map(sprites.map((s) => [s.key, s])), ratio: r };
    if (areas.length === 0) return;
    // The hatches grow with the picture: on a screen scaled by two their lines are two
    // device pixels wide and twice as far apart, as the cells are twice as large.
    context.setTransform(r, 0, 0, r, 0, 0);
    context.imageSmoothingEnabled = false;
    context.save();
    context.beginPath();
    // Only the changed areas are painted again, in whole device pixels.
    for (const [l, t, w, h] of areas) {
      const left = Math.floor(l * r) / r, top = Math.floor(t * r) / r;
      context.rect(left, top, Math.ceil((l + w) * r) / r - left, Math.ceil((t + h) * r) / r - top);
    }
    context.clip();
    const touched = (where) => areas.some((a) => meets(a, where));
    context.fillStyle = controls.background;
    for (const a of areas) context.fillRect(...a);
    controls.labels.filter((l) => l.visible && touched(area(l.place))).forEach(label);
    if (controls.outline.visible && touched(area(controls.outline.place))) {
      outline(pixels(controls.outline.place), controls.outline.colour);
    }
    sprites.filter((s) => touched(s.area)).forEach(sprite);
    context.restore();
  }

  // --- The window-system controls ---------------------------------------------------------

  function place(element, twips) {
    const [left, top, width, height] = twips.map((t) => Math.round(px(t)));
    Object.assign(element.style, { left: `${left}px`, top: `${top}px`, width: `${width}px`, height: `${height}px` });
  }

  function button({ name, caption, place: where, font, visible }) {
    let element = elements.get(name);
    if (!element) {
      element = document.createElement("button");
      element.className = "button";
      element.dataset.name = name;
      element.tabIndex = -1;
      // The game takes every key, whatever was clicked last: the button never keeps the focus.
      element.addEventListener("mousedown", (event) => event.preventDefault());
      element.addEventListener("click", () => click(name));
      box.append(element);
      elements.set(name, element);
    }
    element.textContent = caption;
    element.style.font = cssFont(font);
    element.hidden = !visible;
    place(element, where);
  }

  function curtainHalf({ name, place: where, inside, visible }) {
    let element = elements.get(name);
    if (!element) {
      element = document.createElement("div");
      element.className = "curtain";
      element.dataset.name = name;
      element.append(document.createElement("div"));
      box.append(element);
      elements.set(name, element);
    }
    element.hidden = !visible;
    place(element, where);
    place(element.firstChild, [0, 0, ...inside]);
  }

  function draw() {
    drawing = false;
    // Nothing is drawn while the game waits inside its load event for the answer.
    if (busy) return;
    // The controls change seldom: the module hands them over only when they did.
    const pointer = game._vorbix_controls(1);
    const changed = pointer !== 0;
    const text = changed ? game.UTF8ToString(pointer) : null;
    if (text === "" || (!changed && !painted.controls)) return;
    const controls = changed ? JSON.parse(text) : painted.controls;
    paint(controls, shownSprites());
    if (!changed) return;
    document.title = controls.caption;
    controls.buttons.forEach(button);
    controls.curtain.forEach(curtainHalf);
    controls.stacking.forEach((name, level) => {
      elements.get(name).style.zIndex = String(level + 1);
    });
  }

  // Draws once the event at hand is done. Not at the next animation frame: the window changes
  // only with its events, at most a few dozen times a second, and asking the browser for an
  // animation frame costs it more than the drawing.
  function redraw() {
    if (drawing) return;
    drawing = true;
    queueMicrotask(draw);
  }

  // --- Time -------------------------------------------------------------------------------

  function stop() {
    clearTimeout(wake);
    wake = null;
  }

  // Sleeps until the next tick falls due.
  function schedule() {
    stop();
    if (!live || busy || document.hidden) return;
    const due = game._vorbix_next_due();
    if (due >= 0) wake = setTimeout(tick, due);
  }

  function tick() {
    const now = performance.now();
    // The clock moves in whole milliseconds; what is left over counts towards the next move.
    const passed = Math.min(now - last, stallLimit) + carried;
    const whole = Math.floor(passed);
    carried = passed - whole;
    last = now;
    const before = game._vorbix_ticks(1);
    if (game._vorbix_advance(whole) > 0) redraw();
    for (let n = game._vorbix_ticks(1); n > before; --n) if (tracing) gravity.push(now);
    schedule();
  }

  function resume() {
    last = performance.now();
    schedule();
  }

  document.addEventListener("visibilitychange", () => (document.hidden ? stop() : resume()));

  // --- Events -----------------------------------------------------------------------------

  // A call into the game that may ask the question: the module waits inside it while the
  // dialog is open, and nothing else may enter the game meanwhile.
  async function asking(call) {
    busy = true;
    stop();
    try {
      await call();
    } finally {
      busy = false;
      box.hidden = false;
      redraw();
      resume();
    }
  }

  function click(name) {
    if (busy || !live) return;
    asking(() => game.ccall("vorbix_click", null, ["string"], [name], { async: true }));
  }

  // The game's 16-bit virtual-key codes: arrows 37 to 40, letters 65 to 90 in either case,
  // digits 48 to 57, anything else a code that acts on nothing.
  function virtualKey(event) {
    if (event.key in arrows) return arrows[event.key];
    if (event.key.length === 1 && /[a-z0-9]/i.test(event.key)) return event.key.toUpperCase().charCodeAt(0);
    return 0;
  }

  window.addEventListener("keydown", (event) => {
    if (busy || !live || event.ctrlKey || event.metaKey || event.altKey) return;
    // The arrows move the piece, never the page.
    if (event.key in arrows) event.preventDefault();
    // A held key repeats: every repeat is a key-down of its own.
    game._vorbix_key(virtualKey(event));
    redraw();
  });

  // --- Start ------------------------------------------------------------------------------

  const parameters = new URLSearchParams(location.search);
  const tracing = parameters.has("trace");

  async function replay(url) {
    const script = await (await fetch(url)).text();
    const message = game.ccall("vorbix_replay", "string", ["string"], [script]);
    if (message) {
      problem.textContent = `${url}: ${message}`;
      problem.hidden = false;
    }
    busy = false;
    redraw();
  }

  async function start() {
    // The faces load while the module does; whatever was drawn before is drawn again.
    const faces = ["Times New Roman", "Garamond", "italic Lucida Sans Unicode", "italic Lucida Handwriting"];
    Promise.all(faces.map((face) => document.fonts.load(`bold 12pt "${face.replace("italic ", "")}"`)))
      .then(() => game && redraw());
    game = await createVorbix({ askInPage });
    if (parameters.has("replay")) return replay(parameters.get("replay"));
    live = true;
    await asking(() => game.ccall("vorbix_start", null, [], [], { async: true }));
  }

  // For tests and the curious, from the console: the whole state as vorbix-replay dumps it,
  // and the window as the page draws it.
  window.vorbix = {
    started: start(),
    dump: () => JSON.parse(game.UTF8ToString(game._vorbix_dump())),
    view: () => JSON.parse(game.UTF8ToString(game._vorbix_controls(0)) || "null"),
    ticks: (timer) => game._vorbix_ticks(timer),
    // Whether no call into the game is under way (none waits for the question).
    idle: () => !busy,
    gravity,
  };
  matchMedia(`(resolution: ${ratio()}dppx)`).addEventListener("change", redraw);
})();
