// The page's entry: the page opens and the game starts.
import { openPage } from "./page.js";

const page = await openPage();
await page.start();
