// The page's entry: the page opens and the game starts. The modules are loaded here, so that
// a page whose files or module cannot be loaded says so instead of staying black.
let page = null;
try {
  // The game's worker loads the game while the page loads its own modules. A worker that
  // fails stops the page from opening; once open, its failure is the page's error.
  const worker = new Worker("worker.js", { type: "module" });
  const failed = new Promise((_, reject) => {
    worker.addEventListener("error", (event) => reject(new Error(event.message || "its worker could not start")));
  });
  const [{ keepOffline }, { openPage }] = await Promise.all([import("./offline.js"), import("./page.js")]);
  keepOffline(() => page !== null && page.answered);
  page = await Promise.race([failed, openPage(worker)]);
  await page.start();
} catch (failure) {
  const message = document.getElementById("message");
  message.textContent = `Vorbix could not start: ${failure.message}. Check the connection and load the page again.`;
  message.hidden = false;
}
