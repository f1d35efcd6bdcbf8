// The page's entry: the game starts where the engine lets it run, the page opens, and the
// question is asked. The modules are loaded here, so that a page whose files or module cannot
// be loaded, or whose engine is too old for it, says so instead of staying black.
document.getElementById("old").remove(); // the engine runs the page's modules
const tell = (text) => {
  const message = document.getElementById("message");
  message.textContent = text;
  message.hidden = false;
};
let page = null;
try {
  const engines = await import("./engines.js");
  const lacks = engines.missing();
  if (lacks) {
    tell(
      `Vorbix cannot run in this browser, which has no ${lacks}: it needs Safari 15.4, Firefox 100 or Chrome 95, or later.`,
    );
  } else {
    // The game loads while the page loads its own modules. A worker that fails stops the page
    // from opening; once open, its failure is the page's error.
    const game = await engines.startGame();
    const [{ keepOffline, keepStorage }, { openPage }] = await Promise.all([
      import("./offline.js"),
      import("./page.js"),
    ]);
    keepOffline(() => page !== null && page.answered);
    page = await Promise.race([game.failed, openPage(game)]);
    await page.start();
    keepStorage();
  }
} catch (failure) {
  tell(`Vorbix could not start: ${failure.message}. Check the connection and load the page again.`);
}
