// Saving and watching games, from the page's menu, outside the game's window. "Save this
// game" downloads everything the page has played since it loaded, as the recording the
// desktop's --record writes; "Watch a game" (its file picker, or a file dropped anywhere on
// the page) plays a recording at its recorded speed, as the desktop's --watch does, P
// pausing it. tell(text) shows what the player should know: why a file cannot be watched,
// where it stops, that it has ended.
export function offerRecordings(menu, page, tell) {
  const save = menu.querySelector("#save");
  save.addEventListener("click", async () => {
    // The game takes every key: the button keeps no focus that Return or Space would press.
    save.blur();
    const moment = new Date();
    download(await page.recording(), `vorbix-${timestamp(moment)}.txt`);
  });
  const picker = menu.querySelector("#watch");
  picker.addEventListener("change", () => {
    if (picker.files.length > 0) watch(picker.files[0]);
    picker.value = "";
    picker.blur();
  });
  document.addEventListener("dragover", (event) => event.preventDefault());
  document.addEventListener("drop", (event) => {
    event.preventDefault();
    if (event.dataTransfer.files.length > 0) watch(event.dataTransfer.files[0]);
  });

  async function watch(file) {
    const message = await page.watch(await file.text(), () => tell(`${file.name} has been played to its end.`));
    tell(message ? `${file.name}: ${message}` : "");
  }
}

function download(text, name) {
  const link = document.createElement("a");
  link.href = URL.createObjectURL(new Blob([text], { type: "text/plain" }));
  link.download = name;
  link.click();
  setTimeout(() => URL.revokeObjectURL(link.href), 0);
}

// A moment as a file name takes it: 2026-12-09-14-05-33.
function timestamp(moment) {
  const two = (number) => String(number).padStart(2, "0");
  const date = [moment.getFullYear(), two(moment.getMonth() + 1), two(moment.getDate())];
  return [...date, two(moment.getHours()), two(moment.getMinutes()), two(moment.getSeconds())].join("-");
}
