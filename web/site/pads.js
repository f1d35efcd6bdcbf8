// Game controllers, through the Gamepad API, which engines offer on the page's thread only.
// While a controller of the standard layout is connected and the page is shown, it is read at
// every animation frame; each reading that differs from the last, or that holds something
// down, goes to send(reading, now), so that a held move repeats by the readings that keep
// coming. What each button does is the game's to say: a reading is only the buttons pressed
// (bit i for the layout's button i) and the left stick.
const rest = { pressed: 0, stick: [0, 0] };

export function takePads(send) {
  if (typeof navigator.getGamepads !== "function") return;
  let frame = null;
  let last = rest;
  const look = (now) => {
    const reading = readingOf(standardPad());
    if (!atRest(reading) || !same(reading, last)) send(reading, now);
    last = reading;
    frame = requestAnimationFrame(look);
  };
  const follow = () => {
    const wanted = standardPad() !== null && !document.hidden;
    if (wanted && frame === null) frame = requestAnimationFrame(look);
    if (wanted || frame === null) return;
    cancelAnimationFrame(frame);
    frame = null;
    // What was held when the controller went away, or the page out of sight, is let go.
    if (!same(last, rest)) send(rest, performance.now());
    last = rest;
  };
  addEventListener("gamepadconnected", follow);
  addEventListener("gamepaddisconnected", follow);
  document.addEventListener("visibilitychange", follow);
  follow();
}

// The first connected controller whose buttons the engine lays out as the standard layout.
function standardPad() {
  return [...navigator.getGamepads()].find((pad) => pad?.connected && pad.mapping === "standard") ?? null;
}

function readingOf(pad) {
  if (!pad) return rest;
  let pressed = 0;
  pad.buttons.slice(0, 32).forEach((button, at) => {
    if (button.pressed) pressed |= 1 << at;
  });
  return { pressed: pressed >>> 0, stick: [pad.axes[0] ?? 0, pad.axes[1] ?? 0] };
}

function atRest({ pressed, stick }) {
  return pressed === 0 && stick.every((axis) => axis === 0);
}

function same(one, other) {
  return one.pressed === other.pressed && one.stick.every((axis, at) => axis === other.stick[at]);
}
