"""Headless Chromium and WebKitGTK behind the browser interface (browser.py), each through its
engine's WebDriver server (chromedriver, WebKitWebDriver) and Debian's python3-selenium.
Chromium also takes DevTools commands (send): a phone's screen and touches, installability,
downloads and the network's conditions, which no other engine's driver expresses."""
import os
import subprocess
import time
import warnings

from selenium import webdriver
from selenium.common.exceptions import WebDriverException
from selenium.webdriver.common.actions.action_builder import ActionBuilder
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.remote.file_detector import UselessFileDetector
from selenium.webdriver.webkitgtk.service import Service as WebKitService

import browser

# The keys the tests press, by their KeyboardEvent.key names; a letter is itself. Enter is the
# main keyboard's (WebDriver's Return; its Enter is the keypad's).
KEYS = {"ArrowLeft": Keys.ARROW_LEFT, "ArrowUp": Keys.ARROW_UP, "ArrowRight": Keys.ARROW_RIGHT,
        "ArrowDown": Keys.ARROW_DOWN, "Enter": Keys.RETURN, "Escape": Keys.ESCAPE}


class _WebDriverBrowser(browser.Browser):
    def __init__(self, driver):
        self.driver = driver
        # A script may run as long as a test waits for it: a recording of 3 MB takes seconds.
        driver.set_script_timeout(300)
        self.version = driver.capabilities["browserVersion"]
        self.logged = []

    def navigate(self, url):
        self.driver.get(url)

    def eval(self, expression):
        # WebDriver awaits a promise that a script returns. The expression may end in a comment.
        try:
            return self.driver.execute_script("return (%s\n);" % expression)
        except WebDriverException as failure:
            raise RuntimeError(failure.msg) from None

    def _actions(self):
        # Without a duration, a pointer moves at once.
        return ActionBuilder(self.driver, duration=0)

    def key(self, name):
        actions = self._actions()
        actions.key_action.key_down(KEYS.get(name, name)).key_up(KEYS.get(name, name))
        actions.perform()

    def click(self, x, y):
        actions = self._actions()
        actions.pointer_action.move_to_location(round(x), round(y)).click()
        actions.perform()

    def screenshot(self, path):
        self.driver.get_screenshot_as_file(path)

    def set_file(self, selector, path):
        """Chooses a file in a file input, as a player's picker would."""
        self.driver.find_element(By.CSS_SELECTOR, selector).send_keys(path)

    def close(self):
        try:
            self.driver.quit()
        except Exception:
            pass


class Chromium(_WebDriverBrowser):
    engine = "chromium"

    def __init__(self, width, height):
        options = webdriver.ChromeOptions()
        options.binary_location = "/usr/bin/chromium"
        # Without the background networking the browser opens no connection of its own.
        for argument in ("--headless=new", "--no-sandbox", "--disable-gpu", "--no-first-run",
                         "--disable-background-networking", "--disable-component-update", "--disable-sync",
                         "--disable-dev-shm-usage", "--window-size=%d,%d" % (width, height)):
            options.add_argument(argument)
        options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
        service = webdriver.chrome.service.Service("/usr/bin/chromedriver")
        super().__init__(webdriver.Chrome(service=service, options=options))
        # The driver's process: the browser's processes are all below it.
        self.process = service.process
        self.viewport(width, height, 1)

    def send(self, method, **parameters):
        """A DevTools command to the page."""
        return self.driver.execute_cdp_cmd(method, parameters)

    def viewport(self, width, height, scale, phone=False):
        """The page's viewport in CSS pixels at a device pixel ratio; a phone's has touch and
        no mouse (a coarse pointer)."""
        self.send("Emulation.setDeviceMetricsOverride", width=width, height=height, deviceScaleFactor=scale,
                  mobile=phone)
        self.send("Emulation.setTouchEmulationEnabled", enabled=phone, maxTouchPoints=5 if phone else 1)

    def tap(self, x, y, hold=0):
        point = dict(x=x, y=y, radiusX=4, radiusY=4, force=1, id=1)
        self.send("Input.dispatchTouchEvent", type="touchStart", touchPoints=[point])
        if hold:
            time.sleep(hold)
        self.send("Input.dispatchTouchEvent", type="touchEnd", touchPoints=[])

    def preload(self, script):
        self.send("Page.addScriptToEvaluateOnNewDocument", source=script)

    def downloads_to(self, folder):
        self.send("Browser.setDownloadBehavior", behavior="allow", downloadPath=folder)

    def offline(self, cut):
        """The network cut off for the page, or given back."""
        self.send("Network.enable")
        self.send("Network.emulateNetworkConditions", offline=cut, latency=0, downloadThroughput=-1,
                  uploadThroughput=-1)

    def errors(self):
        """The page's uncaught exceptions, console errors and failed loads so far."""
        self.logged += [entry for entry in self.driver.get_log("browser") if entry["level"] == "SEVERE"]
        return self.logged

    def clear_errors(self):
        self.errors()
        self.logged = []


# Selenium's own capabilities for WebKitGTK still name a platform the old way.
warnings.filterwarnings("ignore", "platform is not a w3c capability", DeprecationWarning)

# MiniBrowser, the small browser WebKitGTK ships to be driven.
MINIBROWSER = "/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser"


class WebKit(_WebDriverBrowser):
    """WebKitGTK's MiniBrowser under an X server of its own (Xvfb): it has no headless mode.
    The page's errors are those the tests' entry (entry/main.js) hears: WebKit's driver
    hands out no log, and MiniBrowser writes none of an automated page's console."""
    engine = "webkit"

    def __init__(self, width, height):
        read_end, write_end = os.pipe()
        self.xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1600x1200x24",
                                      "-noreset", "-nolisten", "tcp"],
                                     pass_fds=[write_end], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as pipe:
            display = ":" + pipe.readline().strip()
        # Without a GPU the web process paints through Mesa's software GL, and an
        # accelerated 2D canvas crashes it there within a few page loads; the canvas is
        # drawn by the CPU instead. MiniBrowser's settings on its command line do not reach
        # the views a driver opens (its console's does not), so the engine is told by its
        # environment.
        environment = dict(os.environ, DISPLAY=display, WEBKIT_SKIA_ENABLE_CPU_RENDERING="1")
        self.service = WebKitService("/usr/bin/WebKitWebDriver", log_path=os.devnull, env=environment)
        self.service.start()
        # The driver's process: MiniBrowser and its web processes are all below it.
        self.process = self.service.process
        options = webdriver.WebKitGTKOptions()
        options.binary_location = MINIBROWSER
        options.add_argument("--automation")
        try:
            # The driver runs here: a file to choose is named by its path, not uploaded.
            super().__init__(webdriver.Remote(command_executor=self.service.service_url, options=options,
                                              file_detector=UselessFileDetector()))
        except Exception:
            self._stop()
            raise
        self.heard = []
        self.viewport(width, height, 1)

    def viewport(self, width, height, scale, phone=False):
        """The window sized so that its page has the viewport; WebKit's driver has no other
        device pixel ratio and no phone."""
        if scale != 1 or phone:
            raise NotImplementedError("WebKit's driver cannot emulate a screen")
        self.driver.set_window_size(width, height)
        inner = self.eval("[innerWidth, innerHeight]")
        self.driver.set_window_size(2 * width - inner[0], 2 * height - inner[1])

    def navigate(self, url):
        self._hear()
        super().navigate(url)

    def _hear(self):
        try:
            self.heard += self.eval("window.vorbixErrors?.splice(0) ?? []")
        except RuntimeError:
            pass  # no page yet

    def errors(self):
        self._hear()
        return self.heard

    def clear_errors(self):
        self.errors()
        self.heard = []

    def _stop(self):
        self.service.stop()
        self.xvfb.kill()
        self.xvfb.wait()

    def close(self):
        super().close()
        self._stop()
