// The touch controls, shown on a touch screen only (the style sheet's coarse pointer): each
// one sends the key the keyboard sends for it, by the same path, the moment the finger comes
// down, with no wait for a tap to end. Holding Left or Right repeats the move as a held key
// does on the desktop: once a first delay has passed, at a steady rate. The delay is longer
// than any tap, so that a tap moves one column; the rate takes a piece across the well's ten
// columns in half a second, as a desktop's key repeat about does.
const firstDelay = 300; // milliseconds
const repeatEvery = 50; // milliseconds

export function takeTouches(controls, press) {
  for (const button of controls.querySelectorAll("button[data-key]")) {
    const { key } = button.dataset;
    let delay = null;
    let repeat = null;
    const release = () => {
      clearTimeout(delay);
      clearInterval(repeat);
    };
    button.addEventListener("pointerdown", (event) => {
      // No focus, no text selection, no emulated mouse events after the touch.
      event.preventDefault();
      button.setPointerCapture(event.pointerId);
      release();
      press(key);
      if ("repeats" in button.dataset) {
        delay = setTimeout(() => (repeat = setInterval(() => press(key), repeatEvery)), firstDelay);
      }
    });
    for (const end of ["pointerup", "pointercancel", "lostpointercapture"]) button.addEventListener(end, release);
  }
  // A long press brings up no menu over the game.
  document.addEventListener("contextmenu", (event) => event.preventDefault());
}
