// The game's clock moved on by real time. The game runs on a virtual clock, as in
// vorbix-replay, that this moves on by the real time that has passed whenever a tick falls
// due; the module delivers the ticks in due order, Timer1 first at a tie. While the page is
// hidden the clock stands still, as a suspended machine's timers do on the desktop: when it
// shows again the game goes on where it stood, with nothing made up in a burst. A stall of
// more than a quarter of a second while shown is not made up either.
const stallLimit = 250;

export class Clock {
  #game;
  #ticked;
  #running = false;
  #shown = true;
  #wake = null;
  #last = 0; // when the clock last moved on, in page time
  #carried = 0; // the part of a millisecond the clock has still to move

  // ticked() is called after every move that delivered a tick.
  constructor(game, ticked) {
    this.#game = game;
    this.#ticked = ticked;
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

  #resume() {
    this.#last = performance.now();
    this.#schedule();
  }

  #sleep() {
    clearTimeout(this.#wake);
    this.#wake = null;
  }

  // Sleeps until the next tick falls due.
  #schedule() {
    this.#sleep();
    if (!this.#running || !this.#shown) return;
    const due = this.#game.nextDue();
    if (due !== null) this.#wake = setTimeout(() => this.#tick(), due);
  }

  #tick() {
    const now = performance.now();
    // The clock moves in whole milliseconds; what is left over counts towards the next move.
    const passed = Math.min(now - this.#last, stallLimit) + this.#carried;
    const whole = Math.floor(passed);
    this.#carried = passed - whole;
    this.#last = now;
    if (this.#game.advance(whole) > 0) this.#ticked();
    this.#schedule();
  }
}

// The clock of a recording being watched: the watcher's own time, in milliseconds from when
// watching began, passed to the module, which plays what falls due and pauses on P.
export class PlaybackClock {
  #game;
  #played;
  #ended;
  #began = performance.now();
  #wake = null;

  // played() is called after every step, ended() once the recording has ended.
  constructor(game, played, ended) {
    this.#game = game;
    this.#played = played;
    this.#ended = ended;
    this.#step();
  }

  get now() {
    return performance.now() - this.#began;
  }

  // A key of the watcher's, by its game code; P pauses and goes on.
  key(code) {
    this.#game.watchKey(code, this.now);
    this.#step();
  }

  #step() {
    clearTimeout(this.#wake);
    this.#game.watchPlay(this.now);
    this.#played();
    if (this.#game.watchEnded()) return this.#ended();
    const due = this.#game.watchDue();
    if (due !== null) this.#wake = setTimeout(() => this.#step(), Math.max(0, due - this.now));
  }
}
