// The window's texts for assistive technology, as the game gives them with its frame: the
// labels it paints on the canvas and the caption of the button it shows, mirrored in a list
// under the canvas that a screen reader reads and no one sees; and a polite live region that
// tells what the game says is news (a pause, the game over, a new best score).
export function mirrorTexts(list, live) {
  const items = new Map(); // the labels', by their names
  const caption = document.createElement("li");
  caption.className = "shown";
  // The button's caption last, as the window is read from its labels to its button.
  list.append(caption);
  return ({ labels, buttons, shown, news }) => {
    for (const { name, text, visible } of labels) {
      if (!items.has(name)) {
        const item = document.createElement("li");
        item.dataset.name = name;
        caption.before(item);
        items.set(name, item);
      }
      show(items.get(name), text, visible);
    }
    const text = shown ? buttons.find(({ name }) => name === shown.name).caption : "";
    show(caption, text, text !== "");
    if (news) live.textContent = news;
  };
}

// Only what changed is touched: the list is not rebuilt at every frame.
function show(item, text, visible) {
  if (item.textContent !== text) item.textContent = text;
  item.hidden = !visible;
}
