// The keyboard, for the game: every key-down, each repeat of a held key among them, goes to
// press(name) by its KeyboardEvent.key name, unless a modifier other than Shift is held
// (those belong to the browser). The arrows move the piece, never the page.
export function takeKeys(press) {
  window.addEventListener("keydown", (event) => {
    if (event.ctrlKey || event.metaKey || event.altKey) return;
    if (event.key.startsWith("Arrow")) event.preventDefault();
    press(event.key);
  });
}
