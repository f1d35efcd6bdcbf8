// The page's entry: the question is asked, the game starts where the engine lets it run, and
// the page opens. The modules are loaded here, so that a page whose files or module cannot
// be loaded, or whose engine is too old for it, says so instead of staying black.
document.getElementById("old").remove(); // the engine runs the page's modules
const tell = (text) => {
  const message = document.getElementById("message");
  message.textContent = text;
  message.hidden = false;
};
let page = null;
let question = null;
try {
  const [engines, { Question }] = await Promise.all([import("./engines.js"), import("./controls.js")]);
  const lacks = engines.missing();
  if (lacks) {
    tell(
      `Vorbix cannot run in this browser, which has no ${lacks}: it needs Safari 15.4, Firefox 100 or Chrome 95, or later.`,
    );
  } else {
    // The question the game asks first is asked at once; the game loads meanwhile, and the
    // page its own modules. A worker that fails stops the page from opening; once open, its
    // failure is the page's error.
    question = new Question(document.getElementById("question"), document.getElementById("window"));
    question.askAhead();
    const game = await engines.startGame();
    const [{ keepOffline, keepStorage }, { openPage }] = await Promise.all([
      import("./offline.js"),
      import("./page.js"),
    ]);
    keepOffline(() => page !== null && page.answered);
    page = await Promise.race([game.failed, openPage(game, question)]);
    await page.start();
    keepStorage();
  }
} catch (failure) {
  question?.withdraw();
  tell(`Vorbix could not start: ${failure.message}. Check the connection and load the page again.`);
}
