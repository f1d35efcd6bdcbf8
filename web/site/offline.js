// The page installed and offline: its service worker (sw.js) keeps every file of the build.
// When a new build's worker takes over from an old one while the page is still at its
// first question, the page loads again, so that the player plays the new build at once;
// later it plays on, and the next load is the new build's.
export function keepOffline(started) {
  if (!("serviceWorker" in navigator)) return;
  const updating = navigator.serviceWorker.controller !== null;
  navigator.serviceWorker.addEventListener("controllerchange", () => {
    if (updating && !started()) location.reload();
  });
  navigator.serviceWorker.register("sw.js").catch(() => {
    // Without a worker the page plays as it does; it only needs the network to load.
  });
}

// Asks the engine to keep the site's storage, its offline copy among it, for good, where the
// engine offers that: some evict a site's storage after a week unused. Asked once the player
// has played, as a site asks that the player came back to.
export function keepStorage() {
  navigator.storage?.persist?.().catch(() => {});
}
