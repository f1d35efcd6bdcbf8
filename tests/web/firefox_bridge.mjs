// Firefox for the page's tests (firefox.py), driven by puppeteer-core over WebDriver BiDi:
// Debian has no geckodriver, and Firefox speaks BiDi itself. Reads one command a line on
// its standard input, as JSON { op, ...arguments }, and answers each on its standard
// output, in order, as { value } or { error }.
import { createInterface } from "node:readline";
import puppeteer from "puppeteer-core";

// The page's viewport in CSS pixels, whether it is a phone's, and where downloads go.
const { width: initialWidth, height: initialHeight, phone, downloads } = JSON.parse(process.argv[2]);
// A phone's screen is touched, not pointed at with a mouse: the only pointer is coarse.
const phonePreferences = { "ui.primaryPointerCapabilities": 1, "ui.allPointerCapabilities": 1 };
const browser = await puppeteer.launch({
  browser: "firefox",
  executablePath: "/usr/bin/firefox-esr",
  headless: true,
  extraPrefsFirefox: {
    ...(phone ? phonePreferences : {}),
    "browser.download.folderList": 2,
    "browser.download.dir": downloads,
    "browser.download.useDownloadDir": true,
    "browser.download.always_ask_before_handling_new_types": false,
  },
});
const [page] = await browser.pages();
// The browser's own default viewport does not reach the page it opens with.
await page.setViewport({ width: initialWidth, height: initialHeight });
const errors = [];
page.on("console", (message) => {
  if (message.type() === "error") errors.push({ console: message.text(), at: message.location() });
});
page.on("pageerror", (error) => errors.push({ uncaught: String(error?.message ?? error) }));

const sleep = (milliseconds) => new Promise((done) => setTimeout(done, milliseconds));
// WebDriver's "Enter" is the keypad's (its code NumpadEnter): a player's Enter is the main
// keyboard's, WebDriver's "Return".
const keys = { Enter: "\uE006" };
const commands = {
  navigate: ({ url }) => page.goto(url),
  eval: ({ expression }) => page.evaluate(expression),
  key: ({ name }) => page.keyboard.press(keys[name] ?? name),
  click: ({ x, y }) => page.mouse.click(x, y),
  tap: async ({ x, y, hold }) => {
    await page.touchscreen.touchStart(x, y);
    await sleep(1000 * hold);
    await page.touchscreen.touchEnd();
  },
  preload: ({ script }) => page.evaluateOnNewDocument(script),
  viewport: ({ width, height, scale }) => page.setViewport({ width, height, deviceScaleFactor: scale }),
  screenshot: ({ path }) => page.screenshot({ path }),
  setFile: async ({ selector, path }) => (await page.$(selector)).uploadFile(path),
  version: () => browser.version(),
  errors: () => errors,
  clearErrors: () => void errors.splice(0),
};

const answer = (reply) => process.stdout.write(`${JSON.stringify(reply)}\n`);
for await (const line of createInterface({ input: process.stdin })) {
  const { op, ...args } = JSON.parse(line);
  try {
    answer({ value: (await commands[op](args)) ?? null });
  } catch (failure) {
    answer({ error: String(failure?.message ?? failure) });
  }
}
await browser.close();
