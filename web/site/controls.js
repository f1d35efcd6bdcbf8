// The window apart from its painted surface, as the game's frame gives it: the title, the
// size, and the push buttons and curtain halves as elements above the canvas, placed in the
// frame's whole pixels and stacked in its order. And the question box, as a dialog.
export class Controls {
  #box;
  #canvas;
  #click;
  #elements = new Map(); // by the controls' names

  // click(name) is called for a click or a tap on a button.
  constructor(box, canvas, click) {
    this.#box = box;
    this.#canvas = canvas;
    this.#click = click;
  }

  follow({ caption, size: [width, height], buttons, curtain, stacking }) {
    document.title = caption;
    for (const element of [this.#box, this.#canvas])
      Object.assign(element.style, { width: `${width}px`, height: `${height}px` });
    for (const button of buttons) this.#button(button);
    for (const half of curtain) this.#curtainHalf(half);
    stacking.forEach((name, level) => {
      this.#elements.get(name).style.zIndex = String(level + 1);
    });
  }

  #button({ name, caption, lines, lineAdvance, place, font, visible }) {
    const element = this.#element(name, "button", (made) => {
      made.className = "button";
      made.tabIndex = -1;
      // The game takes every key, whatever was clicked last: the button never keeps the focus.
      made.addEventListener("mousedown", (event) => event.preventDefault());
      made.addEventListener("click", () => this.#click(name));
    });
    // The game has broken the caption into its lines, as the desktop's button shows them.
    element.textContent = lines.join("\n");
    element.setAttribute("aria-label", caption);
    element.style.lineHeight = `${lineAdvance}px`;
    element.style.font = font;
    element.hidden = !visible;
    placed(element, place);
  }

  #curtainHalf({ name, place, inside: [width, height], visible }) {
    const element = this.#element(name, "div", (made) => {
      made.className = "curtain";
      made.append(document.createElement("div"));
    });
    element.hidden = !visible;
    placed(element, place);
    placed(element.firstChild, [0, 0, width, height]);
  }

  #element(name, tag, make) {
    if (!this.#elements.has(name)) {
      const element = document.createElement(tag);
      element.dataset.name = name;
      make(element);
      this.#box.append(element);
      this.#elements.set(name, element);
    }
    return this.#elements.get(name);
  }
}

function placed(element, [left, top, width, height]) {
  Object.assign(element.style, { left: `${left}px`, top: `${top}px`, width: `${width}px`, height: `${height}px` });
}

// The game's Yes/No question ("Hard Mode?") as the page's dialog, which holds its text: ask()
// resolves to true for Yes, which its button and Return give; No comes from its button, Escape
// or closing it. As on the desktop, the window is away while it is open (a restart unloads it).
// The game asks it first thing at program start, so the page asks that one ahead, while the
// game's module is still loading; the game's first asking is answered with it.
export class Question {
  #dialog;
  #box;
  #ahead = null; // the answer to the question asked ahead, until the game asks it

  constructor(dialog, box) {
    this.#dialog = dialog;
    this.#box = box;
  }

  askAhead() {
    this.#box.hidden = true;
    this.#ahead = this.#open();
  }

  // The game will not ask: the question asked ahead goes away unanswered.
  withdraw() {
    if (this.#dialog.open) this.#dialog.close();
  }

  async ask() {
    const ahead = this.#ahead;
    this.#ahead = null;
    this.#box.hidden = true;
    try {
      return await (ahead ?? this.#open());
    } finally {
      this.#box.hidden = false;
    }
  }

  #open() {
    const dialog = this.#dialog;
    return new Promise((answer) => {
      dialog.returnValue = "";
      dialog.addEventListener("close", () => answer(dialog.returnValue === "yes"), { once: true });
      dialog.showModal();
      dialog.querySelector("button[value=yes]").focus();
    });
  }
}

// A controller's move in the open question box, as the game's controller map gives it: the
// focus to the answer before or after the focused one, as the arrow keys move it between the
// desktop's buttons, or the focused answer chosen (Yes, the default, where none is focused).
export function answerQuestion(dialog) {
  return (move) => {
    if (!dialog.open) return;
    const answers = [...dialog.querySelectorAll(".answers button")];
    const focused = Math.max(0, answers.indexOf(document.activeElement));
    if (move === "choose") answers[focused].click();
    else answers[Math.min(Math.max(focused + (move === "next" ? 1 : -1), 0), answers.length - 1)].focus();
  };
}
