// The screen stays on while the game plays, as it would while a film plays: the page holds a
// screen wake lock while no push button stands over the game (neither Pause nor Game Over)
// and the page is shown, where the engine offers one. A hidden page loses its lock; it is
// asked for again when the page shows.
export function keepAwake() {
  let playing = false;
  let lock = null;
  let asking = false;
  const follow = async () => {
    const wanted = playing && !document.hidden;
    if (!wanted && lock) {
      lock.release();
      lock = null;
    }
    if (!wanted || lock || asking || !("wakeLock" in navigator)) return;
    asking = true;
    try {
      lock = await navigator.wakeLock.request("screen");
      lock.addEventListener("release", () => (lock = null));
      follow();
    } catch {
      // Refused (no permission, low battery): the screen sleeps as it would.
    } finally {
      asking = false;
    }
  };
  document.addEventListener("visibilitychange", follow);
  // Whether the game plays, from each frame the game hands over.
  return (plays) => {
    playing = plays;
    follow();
  };
}
