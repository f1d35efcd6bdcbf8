// The page's entry: the page opens and the game starts. The modules are loaded here, so that
// a page whose files or module cannot be loaded says so instead of staying black.
let page = null;
try {
  const { keepOffline } = await import("./offline.js");
  keepOffline(() => page !== null && page.answered);
  const { openPage } = await import("./page.js");
  page = await openPage();
  await page.start();
} catch (failure) {
  const message = document.getElementById("message");
  message.textContent = `Vorbix could not start: ${failure.message}. Check the connection and load the page again.`;
  message.hidden = false;
}
