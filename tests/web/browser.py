"""The page's tests and measurements in a real browser, one interface for every engine: a
static server for the site (which can also refuse every request, as a cut network does),
and a browser with one page: goto, evaluation that awaits, keys, clicks, taps, viewports,
screenshots, files chosen, and the page's errors. Each engine has its backend, opened by
open_browser(ENGINE): headless Chromium and WebKitGTK through their WebDriver servers
(webdriver_engines.py), Firefox through WebDriver BiDi (firefox.py). Runs with
/usr/bin/python3, whose modules python3-selenium brings."""
import functools
import http.server
import json
import os
import shutil
import threading
import time

# The engines, each with the programs it needs and the Debian packages that bring them.
ENGINES = {
    "chromium": {"chromium": "chromium", "chromedriver": "chromium-driver"},
    "firefox": {"firefox-esr": "firefox-esr", "node": "nodejs"},
    "webkit": {"WebKitWebDriver": "webkit2gtk-driver", "/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser":
               "webkit2gtk-driver", "Xvfb": "xvfb"},
}

# The page's entry and its worker's for tests, served in place of the site's own.
TEST_ENTRY = os.path.join(os.path.dirname(os.path.abspath(__file__)), "entry")


def missing_tools(engine):
    """The programs an engine needs that the machine lacks, as "program (package)"."""
    return ["%s (Debian package %s)" % (tool, package) for tool, package in ENGINES[engine].items()
            if shutil.which(tool) is None]


class _Handler(http.server.SimpleHTTPRequestHandler):
    """Serves the site, with some of its files in place of others, and any other folder
    under a prefix of its own; while the server is cut, it closes every connection
    unanswered."""
    extra = {}
    replaced = {}

    def handle(self):
        if not self.server.cut:
            super().handle()

    def do_GET(self):
        if self.path.split("?")[0] in self.server.held:
            self.server.released.wait(timeout=60)
        super().do_GET()

    def translate_path(self, path):
        if path.split("?")[0] in self.replaced:
            return self.replaced[path.split("?")[0]]
        for prefix, folder in self.extra.items():
            if path.startswith(prefix):
                return os.path.join(folder, path[len(prefix):].split("?")[0].lstrip("/"))
        return super().translate_path(path)

    def end_headers(self):
        self.send_header("Cache-Control", "no-store")
        super().end_headers()

    def log_message(self, *arguments):
        pass


class _Server(http.server.ThreadingHTTPServer):
    # Whether every request is refused.
    cut = False
    # The paths whose answers wait until release() (hold() names them), as on a slow network.
    held = ()

    def hold(self, *paths):
        self.held = paths
        self.released = threading.Event()

    def release(self):
        self.released.set()

    def shutdown(self):
        super().shutdown()
        self.server_close()


def serve(site, entry=TEST_ENTRY, **extra):
    """Serves the site on a free port of 127.0.0.1, with the files of the tests' entry folder
    in place of the site's (unless entry is None), and each folder of extra under /NAME/.
    Setting the server's `cut` makes it refuse every request, as a network cut off does; its
    hold(PATH...) keeps those files back until its release()."""
    handler = type("Handler", (_Handler,), {"extra": {"/%s/" % name: folder for name, folder in extra.items()},
                                            "replaced": {"/" + name: os.path.join(entry, name)
                                                         for name in os.listdir(entry)} if entry else {}})
    server = _Server(("127.0.0.1", 0), functools.partial(handler, directory=site))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return "http://127.0.0.1:%d" % server.server_address[1], server


class Browser:
    """What every engine's backend offers. A backend implements navigate, eval, key, click,
    viewport, screenshot, set_file, errors, clear_errors and close; tap where its driver can
    send a touch, and preload where it can run a script before a page's own (Chromium's and
    Firefox's: PHONES and PRELOADS)."""
    engine = None
    # The browser's version, as it reports it.
    version = None
    # The driver's process (a subprocess.Popen): the browser's processes all run below it.
    process = None
    # Whether a key the driver sends presses the focused button, as a player's key does.
    keys_press_buttons = True

    def navigate(self, url):
        raise NotImplementedError

    def tap(self, x, y, hold=0):
        """A finger on the screen at a point, lifted after hold seconds."""
        raise NotImplementedError("%s's driver sends no touch" % self.engine)

    def preload(self, script):
        """Runs a script in every page loaded from now on, before the page's own scripts."""
        raise NotImplementedError("%s's driver runs no script before a page's own" % self.engine)

    def eval(self, expression):
        """The value of a JavaScript expression in the page, awaited when it is a promise; a
        RuntimeError when it throws or the page is not there to evaluate it."""
        raise NotImplementedError

    def wait_for(self, condition, timeout=30, since=None):
        """Waits until the expression, which may await, holds; gives the seconds since `since`
        (or the call)."""
        since = time.monotonic() if since is None else since
        while True:
            try:
                if self.eval("(async () => !!(await (%s)))()" % condition):
                    return time.monotonic() - since
            except RuntimeError:
                pass  # the page is still loading
            if time.monotonic() - since > timeout:
                raise TimeoutError(condition)
            time.sleep(0.01)

    def goto(self, url, until="document.readyState === 'complete'", timeout=30):
        """Loads a page and waits until the condition holds; gives the seconds that took."""
        since = time.monotonic()
        self.navigate(url)
        return self.wait_for(until, timeout, since)

    def centre(self, selector):
        return self.eval("(() => { const r = document.querySelector(%s).getBoundingClientRect();"
                         " return [r.x + r.width / 2, r.y + r.height / 2]; })()" % json.dumps(selector))

    def click_element(self, selector):
        self.click(*self.centre(selector))

    def tap_element(self, selector, hold=0):
        self.tap(*self.centre(selector), hold=hold)

    def __enter__(self):
        return self

    def __exit__(self, *exception):
        self.close()


# The engines whose drivers can make a phone of the page: its screen, touched.
PHONES = ("chromium", "firefox")
# The engines whose drivers can run a script in a page before the page's own.
PRELOADS = ("chromium", "firefox")


def open_browser(engine, width=800, height=600, phone=False, downloads=None):
    """A browser of the engine with one page, whose viewport is width by height CSS pixels,
    a phone's where the engine can be one (PHONES), saving downloads to a folder."""
    if engine == "firefox":
        import firefox
        return firefox.Firefox(width, height, phone, downloads)
    import webdriver_engines
    if engine == "webkit":
        return webdriver_engines.WebKit(width, height)
    chromium = webdriver_engines.Chromium(width, height)
    if phone:
        chromium.viewport(width, height, 1, phone=True)
    if downloads:
        chromium.downloads_to(downloads)
    return chromium
