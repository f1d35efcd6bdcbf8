"""Firefox ESR behind the browser interface (browser.py), headless, through WebDriver BiDi:
puppeteer-core (pinned in package.json) drives it from a Node process, firefox_bridge.mjs,
which takes one command a line."""
import json
import os
import subprocess

import browser

HERE = os.path.dirname(os.path.abspath(__file__))


class Firefox(browser.Browser):
    engine = "firefox"
    # Firefox presses no button with Enter or Space that its driver sends (typing, a link's
    # Enter and the page's own key handlers see them as a player's).
    keys_press_buttons = False

    def __init__(self, width, height):
        self.process = subprocess.Popen(["node", os.path.join(HERE, "firefox_bridge.mjs"), str(width), str(height)],
                                        stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
        self.version = self._command("version")

    def _command(self, op, **arguments):
        self.process.stdin.write(json.dumps(dict(op=op, **arguments)) + "\n")
        self.process.stdin.flush()
        line = self.process.stdout.readline()
        if not line:
            raise RuntimeError("Firefox's driver stopped (%s)" % self.process.poll())
        reply = json.loads(line)
        if "error" in reply:
            raise RuntimeError("%s: %s" % (op, reply["error"]))
        return reply["value"]

    def navigate(self, url):
        self._command("navigate", url=url)

    def eval(self, expression):
        return self._command("eval", expression=expression)

    def key(self, name):
        self._command("key", name=name)

    def click(self, x, y):
        self._command("click", x=x, y=y)

    def tap(self, x, y, hold=0):
        self._command("tap", x=x, y=y, hold=hold)

    def viewport(self, width, height, scale, phone=False):
        if phone:
            raise NotImplementedError("Firefox's driver cannot emulate a phone")
        self._command("viewport", width=width, height=height, scale=scale)

    def screenshot(self, path):
        self._command("screenshot", path=path)

    def set_file(self, selector, path):
        self._command("setFile", selector=selector, path=path)

    def errors(self):
        return self._command("errors")

    def clear_errors(self):
        self._command("clearErrors")

    def close(self):
        if self.process.poll() is None:
            self.process.stdin.close()
            try:
                self.process.wait(20)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
