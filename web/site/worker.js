// The game's side of the page as the page starts it: in a worker of its own, serving the
// page's calls; or, in an engine without module workers, on the page's thread, serving the
// port engines.js gives it.
import { serveSession } from "./session.js";

export const serve = (port) => serveSession(port);

// In the worker (which has no window), the worker's own port.
if (typeof window === "undefined") serve(self);
