// The clock of what the page shows, moved on by real time: the game's, which runs on a
// virtual clock as in vorbix-replay, or the watcher's of a recording. The module says when
// something falls due next; the clock sleeps until then, and moves the module's clock on by
// the real time that has passed. While the page is hidden the clock stands still, as a
// suspended machine's timers do on the desktop: when it shows again the game goes on where it
// stood, with nothing made up in a burst. A wake later than asked for by more than a quarter
// of a second (a stalled thread) is not made up either.
const stallLimit = 250;

export class Clock {
  #advance;
  #running = false;
  #shown = true;
  #wake = null;
  #asked = 0; // the milliseconds the clock asked to sleep
  #last = 0; // when the clock last moved on, in page time
  #carried = 0; // the part of a millisecond the clock has still to move

  // advance(milliseconds) moves the module's clock on and gives the milliseconds until
  // something falls due next, or null while nothing runs.
  constructor(advance) {
    this.#advance = advance;
  }

  // Whether the page is shown: hidden, the clock stands still.
  show(shown) {
    this.#shown = shown;
    if (shown) this.#resume();
    else this.#sleep();
  }

  // The clock follows real time from now on.
  run() {
    this.#running = true;
    this.#resume();
  }

  // The clock stands still until run() again.
  halt() {
    this.#running = false;
    this.#sleep();
  }

  // Something may fall due again after an event, where nothing did (a pause has ended).
  wake() {
    if (this.#wake === null) this.#resume();
  }

  #resume() {
    this.#last = performance.now();
    if (this.#running && this.#shown) this.#schedule(this.#advance(0));
  }

  #sleep() {
    clearTimeout(this.#wake);
    this.#wake = null;
  }

  #schedule(due) {
    this.#sleep();
    if (!this.#running || !this.#shown || due === null) return;
    this.#asked = due;
    this.#wake = setTimeout(() => this.#tick(), due);
  }

  #tick() {
    const now = performance.now();
    // The clock moves in whole milliseconds; what is left over counts towards the next move.
    const passed = Math.min(now - this.#last, this.#asked + stallLimit) + this.#carried;
    const whole = Math.floor(passed);
    this.#carried = passed - whole;
    this.#last = now;
    this.#schedule(this.#advance(whole));
  }
}
