"""Firefox ESR behind the browser interface (browser.py), headless, through WebDriver BiDi:
puppeteer-core (pinned in package.json) drives it from a Node process, firefox_bridge.mjs,
which takes one command a line. A phone's screen (a coarse pointer, touched) and the folder
downloads go to are Firefox's settings, given when it starts."""
import json
import os
import subprocess
import tempfile

import browser

HERE = os.path.dirname(os.path.abspath(__file__))


class Firefox(browser.Browser):
    engine = "firefox"
    # Firefox presses no button with Enter or Space that its driver sends (typing, a link's
    # Enter and the page's own key handlers see them as a player's).
    keys_press_buttons = False

    def __init__(self, width, height, phone=False, downloads=None):
        # A phone's coarse pointer is the browser's setting from its start.
        self.phone = phone
        downloads = downloads or tempfile.gettempdir()
        arguments = json.dumps(dict(width=width, height=height, phone=phone, downloads=downloads))
        self.process = subprocess.Popen(["node", os.path.join(HERE, "firefox_bridge.mjs"), arguments],
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

    def preload(self, script):
        self._command("preload", script=script)

    def viewport(self, width, height, scale, phone=False):
        if phone != self.phone:
            raise NotImplementedError("Firefox is a phone or not from its start")
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
