"""Headless Chromium driven through the DevTools protocol, for the page's tests and
measurements: a static server for the site, a browser with one page, keys, clicks, script
evaluation and screenshots. Needs Debian's chromium and python3-websocket, and runs with
/usr/bin/python3 (whose modules those are)."""
import base64
import functools
import http.server
import json
import os
import shutil
import subprocess
import tempfile
import threading
import time
import urllib.request

import websocket

# Key name: (code, Windows virtual-key code, text typed).
KEYS = {
    "ArrowLeft": ("ArrowLeft", 37, ""), "ArrowUp": ("ArrowUp", 38, ""),
    "ArrowRight": ("ArrowRight", 39, ""), "ArrowDown": ("ArrowDown", 40, ""),
    "Enter": ("Enter", 13, "\r"), "Escape": ("Escape", 27, ""),
}
KEYS.update({c: ("Key" + c.upper(), ord(c.upper()), c) for c in "abcdefghijklmnopqrstuvwxyz"})


# The page's entry and its worker's for tests, served in place of the site's own.
TEST_ENTRY = os.path.join(os.path.dirname(os.path.abspath(__file__)), "entry")


class _Handler(http.server.SimpleHTTPRequestHandler):
    """Serves the site, with some of its files in place of others, and any other folder
    under a prefix of its own."""
    extra = {}
    replaced = {}

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


def serve(site, entry=TEST_ENTRY, **extra):
    """Serves the site on a free port of 127.0.0.1, with the files of the tests' entry folder
    in place of the site's (unless entry is None), and each folder of extra under /NAME/."""
    handler = type("Handler", (_Handler,), {"extra": {"/%s/" % name: folder for name, folder in extra.items()},
                                            "replaced": {"/" + name: os.path.join(entry, name)
                                                         for name in os.listdir(entry)} if entry else {}})
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(handler, directory=site))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return "http://127.0.0.1:%d" % server.server_address[1], server


class Browser:
    def __init__(self, width=800, height=600, scale=1):
        self.folder = tempfile.mkdtemp(prefix="vorbix-chromium-")
        # Without the background networking the browser opens no connection of its own.
        self.process = subprocess.Popen(
            ["chromium", "--headless=new", "--no-sandbox", "--disable-gpu", "--remote-debugging-port=0",
             "--user-data-dir=" + self.folder, "--no-first-run", "--disable-background-networking",
             "--disable-component-update", "--disable-sync", "--disable-dev-shm-usage",
             "--window-size=%d,%d" % (width, height), "about:blank"],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        port_file = os.path.join(self.folder, "DevToolsActivePort")
        deadline = time.monotonic() + 30
        def port_lines():
            if not os.path.exists(port_file):
                return []
            with open(port_file) as file:
                return file.read().split("\n")

        while len(port_lines()) < 2:
            if time.monotonic() > deadline or self.process.poll() is not None:
                raise RuntimeError("chromium did not start")
            time.sleep(0.05)
        port = int(port_lines()[0])
        targets = json.load(urllib.request.urlopen("http://127.0.0.1:%d/json/list" % port))
        page = next(target for target in targets if target["type"] == "page")
        # Chromium refuses DevTools connections that send an Origin header.
        self.socket = websocket.create_connection(page["webSocketDebuggerUrl"], suppress_origin=True, timeout=60)
        self.last_id = 0
        self.events = []
        self.send("Page.enable")
        self.send("Runtime.enable")
        self.viewport(width, height, scale)

    def send(self, method, **parameters):
        self.last_id += 1
        self.socket.send(json.dumps({"id": self.last_id, "method": method, "params": parameters}))
        while True:
            message = json.loads(self.socket.recv())
            if message.get("id") == self.last_id:
                if "error" in message:
                    raise RuntimeError("%s: %s" % (method, message["error"]))
                return message.get("result", {})
            self.events.append(message)

    def eval(self, expression):
        result = self.send("Runtime.evaluate", expression=expression, awaitPromise=True, returnByValue=True)
        if "exceptionDetails" in result:
            details = result["exceptionDetails"]
            raise RuntimeError(details.get("exception", {}).get("description", details.get("text")))
        return result["result"].get("value")

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
        since = time.monotonic()
        self.send("Page.navigate", url=url)
        return self.wait_for(until, timeout, since)

    def key(self, name):
        code, virtual, text = KEYS[name]
        event = dict(key=name, code=code, windowsVirtualKeyCode=virtual, nativeVirtualKeyCode=virtual)
        if text:
            self.send("Input.dispatchKeyEvent", type="keyDown", text=text, unmodifiedText=text, **event)
        else:
            self.send("Input.dispatchKeyEvent", type="rawKeyDown", **event)
        self.send("Input.dispatchKeyEvent", type="keyUp", **event)

    def click(self, x, y):
        self.send("Input.dispatchMouseEvent", type="mouseMoved", x=x, y=y)
        self.send("Input.dispatchMouseEvent", type="mousePressed", x=x, y=y, button="left", buttons=1, clickCount=1)
        self.send("Input.dispatchMouseEvent", type="mouseReleased", x=x, y=y, button="left", buttons=0, clickCount=1)

    def click_element(self, selector):
        self.click(*self.centre(selector))

    def viewport(self, width, height, scale, phone=False):
        """The page's viewport in CSS pixels at a device pixel ratio; a phone's has touch and
        no mouse (a coarse pointer)."""
        self.send("Emulation.setDeviceMetricsOverride", width=width, height=height, deviceScaleFactor=scale, mobile=phone)
        self.send("Emulation.setTouchEmulationEnabled", enabled=phone, maxTouchPoints=5 if phone else 1)

    def tap(self, x, y, hold=0):
        """A finger on the screen at a point, lifted after hold seconds."""
        point = dict(x=x, y=y, radiusX=4, radiusY=4, force=1, id=1)
        self.send("Input.dispatchTouchEvent", type="touchStart", touchPoints=[point])
        if hold:
            time.sleep(hold)
        self.send("Input.dispatchTouchEvent", type="touchEnd", touchPoints=[])

    def centre(self, selector):
        return self.eval("(() => { const r = document.querySelector(%s).getBoundingClientRect();"
                         " return [r.x + r.width / 2, r.y + r.height / 2]; })()" % json.dumps(selector))

    def tap_element(self, selector, hold=0):
        self.tap(*self.centre(selector), hold=hold)

    def set_file(self, selector, path):
        """Chooses a file in a file input, as a player's picker would."""
        root = self.send("DOM.getDocument")["root"]["nodeId"]
        node = self.send("DOM.querySelector", nodeId=root, selector=selector)["nodeId"]
        self.send("DOM.setFileInputFiles", nodeId=node, files=[path])

    def downloads_to(self, folder):
        self.send("Browser.setDownloadBehavior", behavior="allow", downloadPath=folder)

    def offline(self, cut):
        self.send("Network.enable")
        self.send("Network.emulateNetworkConditions", offline=cut, latency=0, downloadThroughput=-1,
                  uploadThroughput=-1)

    def screenshot(self, path):
        with open(path, "wb") as file:
            file.write(base64.b64decode(self.send("Page.captureScreenshot", format="png")["data"]))

    def errors(self):
        """The page's uncaught exceptions and console errors so far."""
        return [event["params"] for event in self.events
                if event.get("method") == "Runtime.exceptionThrown"
                or (event.get("method") == "Runtime.consoleAPICalled" and event["params"]["type"] == "error")]

    def close(self):
        try:
            self.send("Browser.close")
        except Exception:
            pass
        try:
            self.process.wait(10)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
        shutil.rmtree(self.folder, ignore_errors=True)

    def __enter__(self):
        return self

    def __exit__(self, *exception):
        self.close()
