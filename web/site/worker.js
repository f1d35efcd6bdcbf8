// The game's worker, as the page starts it.
import { serveSession } from "./session.js";

serveSession();
