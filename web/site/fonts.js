// The faces the window's text is drawn in, under the design's family names, as the page's
// style sheet has them, for the canvas of the thread that draws it. Their bytes are fetched,
// not named by a URL: a face's own URL request bypasses the service worker in some engines,
// and offline it would fail, where a fetch is answered from the site's cache.
import { faces } from "./faces.js";

// Adds the faces to a thread's font set (self.fonts, document.fonts); resolves once all are in.
export function loadFaces(fonts) {
  const loads = faces.map(async ({ family, file, style }) => {
    const bytes = await (await fetch(`fonts/${file}`)).arrayBuffer();
    // One weight serves every weight, as in the style sheet: the plan strikes a face without
    // bold twice.
    const face = new FontFace(family, bytes, { weight: "100 900", style });
    fonts.add(await face.load());
  });
  return Promise.all(loads);
}
