"""Drives Debian's headless Chromium through the DevTools protocol, for the browser build.

Only the Python standard library and Debian's python3-websocket are used: a local HTTP
server serves the build folder, Chromium runs headless in a fresh profile, and the page's
console (where the program's standard output goes), screenshots, clicks and keys go
through one DevTools connection.
"""

import base64
import functools
import http.server
import json
import os
import shutil
import socketserver
import subprocess
import tempfile
import threading
import time
import urllib.request

import websocket  # Debian package python3-websocket

CHROMIUM_FLAGS = [
    "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
    "--disable-background-networking", "--disable-component-update", "--disable-sync",
    "--remote-debugging-port=0", "--window-size=1024,768", "--hide-scrollbars",
]


class _Handler(http.server.SimpleHTTPRequestHandler):
    extensions_map = dict(http.server.SimpleHTTPRequestHandler.extensions_map,
                          **{".wasm": "application/wasm", ".js": "text/javascript",
                             ".webmanifest": "application/manifest+json"})

    def log_message(self, *args):
        pass


class _Spento(socketserver.BaseRequestHandler):
    """A server whose network is gone: every connection is closed unanswered."""

    def handle(self):
        pass


class Collegamento:
    """A browser's remote protocol: JSON messages over a websocket (`self._ws`), commands
    answered by id, events handed to `_handle`. The protocols differ in how an event and an
    error look: `_evento` and `_errore` say."""

    def _pump(self, timeout):
        self._ws.settimeout(timeout)
        try:
            message = json.loads(self._ws.recv())
        except websocket.WebSocketTimeoutException:
            return None
        if self._evento(message):
            self._handle(message)
        return message

    def call(self, method, **params):
        self._id += 1
        wanted = self._id
        self._ws.send(json.dumps({"id": wanted, "method": method, "params": params}))
        while True:
            message = self._pump(60)
            if message is None:
                raise RuntimeError("no answer to " + method)
            if message.get("id") == wanted:
                if (errore := self._errore(message)) is not None:
                    raise RuntimeError("%s: %s" % (method, errore))
                return message.get("result", {})

    def idle(self, seconds):
        """Lets the page run for a while, collecting its console."""
        deadline = time.monotonic() + seconds
        while (left := deadline - time.monotonic()) > 0:
            self._pump(min(left, 0.2))

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()


class Browser(Collegamento):
    """One headless Chromium with one page, looking at files served from `root`."""

    def __init__(self, root, chromium=None, width=1024, height=768):
        self.console = []
        self.errors = []
        self._events = []
        self._id = 0
        self._server = http.server.ThreadingHTTPServer(
            ("127.0.0.1", 0), functools.partial(_Handler, directory=str(root)))
        threading.Thread(target=self._server.serve_forever, daemon=True).start()
        self.base = "http://127.0.0.1:%d/" % self._server.server_address[1]
        self._profile = tempfile.mkdtemp(prefix="tivoro-chromium-")
        exe = chromium or shutil.which("chromium") or "/usr/bin/chromium"
        flags = [f for f in CHROMIUM_FLAGS if not f.startswith("--window-size")]
        flags.append("--window-size=%d,%d" % (width, height))
        self._proc = subprocess.Popen(
            [exe, *flags, "--user-data-dir=" + self._profile, "about:blank"],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        port_file = os.path.join(self._profile, "DevToolsActivePort")
        deadline = time.monotonic() + 30
        while not os.path.exists(port_file) or os.path.getsize(port_file) == 0:
            if time.monotonic() > deadline or self._proc.poll() is not None:
                self.close()
                raise RuntimeError("Chromium did not start its DevTools endpoint")
            time.sleep(0.1)
        port = int(open(port_file).read().split()[0])
        pages = []
        while not pages:
            with urllib.request.urlopen("http://127.0.0.1:%d/json/list" % port) as reply:
                pages = [t for t in json.load(reply) if t.get("type") == "page"]
            if not pages:
                time.sleep(0.1)
        self._ws = websocket.create_connection(pages[0]["webSocketDebuggerUrl"],
                                               suppress_origin=True, timeout=60)
        self.call("Runtime.enable")
        self.call("Page.enable")
        self.call("Log.enable")

    # --- protocol ---------------------------------------------------------------------
    def _handle(self, message):
        method = message.get("method")
        if method == "Runtime.consoleAPICalled":
            text = " ".join(str(a.get("value", a.get("description", "")))
                            for a in message["params"]["args"])
            self.console.append(text)
        elif method == "Runtime.exceptionThrown":
            details = message["params"]["exceptionDetails"]
            self.errors.append(details.get("exception", {}).get("description")
                               or details.get("text", ""))
        elif method == "Log.entryAdded":
            entry = message["params"]["entry"]
            if entry.get("level") == "error":
                self.errors.append(entry.get("text", ""))
        self._events.append(message)

    @staticmethod
    def _evento(message):
        return "method" in message

    @staticmethod
    def _errore(message):
        return message.get("error")

    def wait_console(self, text, timeout=60):
        """Waits for a console line containing `text`; returns it or None."""
        deadline = time.monotonic() + timeout
        seen = 0
        while True:
            for line in self.console[seen:]:
                if text in line:
                    return line
            seen = len(self.console)
            left = deadline - time.monotonic()
            if left <= 0:
                return None
            self._pump(min(left, 0.2))

    # --- page -------------------------------------------------------------------------
    def open(self, page):
        self.call("Page.navigate", url=self.base + page)

    def evaluate(self, expression):
        result = self.call("Runtime.evaluate", expression=expression, returnByValue=True)
        return result.get("result", {}).get("value")

    def screenshot(self, path):
        with open(path, "wb") as out:
            out.write(self.png())

    def png(self):
        return base64.b64decode(self.call("Page.captureScreenshot", format="png")["data"])

    def add_script(self, source):
        """Runs `source` in every page loaded from now on, before the page's own scripts."""
        self.call("Page.addScriptToEvaluateOnNewDocument", source=source)

    def serve(self, root):
        """From now on the same address serves `root`; None: nothing answers there."""
        self._server.RequestHandlerClass = (
            functools.partial(_Handler, directory=str(root)) if root else _Spento)

    def click(self, x, y):
        for kind in ("mouseMoved", "mousePressed", "mouseReleased"):
            extra = {} if kind == "mouseMoved" else {"button": "left", "clickCount": 1}
            self.call("Input.dispatchMouseEvent", type=kind, x=x, y=y, **extra)

    def drag(self, start, end, steps=10):
        self.call("Input.dispatchMouseEvent", type="mouseMoved", x=start[0], y=start[1])
        self.call("Input.dispatchMouseEvent", type="mousePressed", x=start[0], y=start[1],
                  button="left", clickCount=1)
        for i in range(1, steps + 1):
            x = start[0] + (end[0] - start[0]) * i / steps
            y = start[1] + (end[1] - start[1]) * i / steps
            self.call("Input.dispatchMouseEvent", type="mouseMoved", x=x, y=y, button="left",
                      buttons=1)
        self.call("Input.dispatchMouseEvent", type="mouseReleased", x=end[0], y=end[1],
                  button="left", clickCount=1)

    def emulate(self, width, height, scale=1.0, touch=False):
        """The page as a screen of width x height CSS pixels with `scale` device pixels to a
        CSS pixel; with `touch`, a touch screen instead of a mouse."""
        self.call("Emulation.setDeviceMetricsOverride", width=width, height=height,
                  deviceScaleFactor=scale, mobile=False)
        if touch:
            self.call("Emulation.setTouchEmulationEnabled", enabled=True, maxTouchPoints=5)

    def tap(self, x, y):
        self.call("Input.dispatchTouchEvent", type="touchStart", touchPoints=[{"x": x, "y": y, "id": 0}])
        self.call("Input.dispatchTouchEvent", type="touchEnd", touchPoints=[])

    def finger_drag(self, start, end, steps=10, second=None):
        """A finger put down at start, moved in steps to end and lifted there. `second`: a
        point where a second finger is put down halfway and lifted two steps later."""
        def finger(x, y, ident=0):
            return {"x": x, "y": y, "id": ident}
        self.call("Input.dispatchTouchEvent", type="touchStart", touchPoints=[finger(*start)])
        for i in range(1, steps + 1):
            x = start[0] + (end[0] - start[0]) * i / steps
            y = start[1] + (end[1] - start[1]) * i / steps
            points = [finger(x, y)]
            if second and steps // 2 <= i < steps // 2 + 2:
                points.append(finger(*second, ident=1))
            # A point missing from the list is lifted; a new one is put down.
            kind = "touchStart" if second and i == steps // 2 else "touchMove"
            self.call("Input.dispatchTouchEvent", type=kind, touchPoints=points)
        self.call("Input.dispatchTouchEvent", type="touchEnd", touchPoints=[])

    def key(self, name, code):
        """Presses and releases a named key (e.g. "Enter", 13)."""
        for kind in ("rawKeyDown", "keyUp"):
            self.call("Input.dispatchKeyEvent", type=kind, key=name, code=name,
                      windowsVirtualKeyCode=code, nativeVirtualKeyCode=code)

    def type_text(self, text):
        for ch in text:
            self.call("Input.dispatchKeyEvent", type="keyDown", text=ch, key=ch,
                      unmodifiedText=ch)
            self.call("Input.dispatchKeyEvent", type="keyUp", key=ch)

    def close(self):
        try:
            if getattr(self, "_ws", None):
                self._ws.close()
        finally:
            if self._proc.poll() is None:
                self._proc.terminate()
                try:
                    self._proc.wait(10)
                except subprocess.TimeoutExpired:
                    self._proc.kill()
                    self._proc.wait()
            self._server.shutdown()
            shutil.rmtree(self._profile, ignore_errors=True)

