"""Drives Debian's Firefox ESR through WebDriver BiDi, its remote protocol, for the browser
build: the methods of chromium.Browser that the round of giro.py uses.

Headless, Firefox finds no GL driver here and the page gets no WebGL, which Qt for the browser
needs; so it runs with a display, a private Xvfb (tests/e2e's Schermo), in a fresh profile.
Without a sound server its audio contexts never start (Chromium has a silent output of its
own): it plays into a private PulseAudio with a null sink (tests/e2e's ServerAudio). Pointer
and keys go through the protocol (trusted events, as a child's), not through X.
"""

import base64
import functools
import http.server
import os
import re
import shutil
import subprocess
import sys
import tempfile
import threading
import time

import websocket  # Debian package python3-websocket

QUI = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(QUI, "..", "e2e"))
import chromium  # noqa: E402  (its handler serves the build folder)
from tivoro_e2e import Schermo, ServerAudio, termina_processo  # noqa: E402

# WebDriver's code points for the keys the tests press.
TASTI = {"Enter": "\ue007", "Escape": "\ue00c", "Tab": "\ue004", "Backspace": "\ue003"}


def valore(v):
    """A BiDi remote value as a Python one (numbers, strings, booleans, arrays, objects)."""
    if v.get("type") == "array":
        return [valore(x) for x in v.get("value", [])]
    if v.get("type") == "object":
        return {k: valore(x) for k, x in v.get("value", [])}
    return v.get("value")


class Browser(chromium.Collegamento):
    """One Firefox with one page, looking at files served from `root`."""

    def __init__(self, root, firefox=None, width=1024, height=768):
        self.console = []
        self.errors = []
        self._id = 0
        self._server = http.server.ThreadingHTTPServer(
            ("127.0.0.1", 0), functools.partial(chromium._Handler, directory=str(root)))
        threading.Thread(target=self._server.serve_forever, daemon=True).start()
        self.base = "http://127.0.0.1:%d/" % self._server.server_address[1]
        self._cartella = tempfile.mkdtemp(prefix="tivoro-firefox-")
        self._proc = None
        try:
            self._schermo = Schermo(self._cartella, (width + 200, height + 200))
            self._audio = ServerAudio(os.path.join(self._cartella, "audio"))
            profilo = os.path.join(self._cartella, "profilo")
            os.makedirs(profilo)
            with open(os.path.join(profilo, "user.js"), "w") as prefs:
                # A first start with nothing to ask: no default-browser question, no
                # restore of an earlier session.
                prefs.write('user_pref("browser.shell.checkDefaultBrowser", false);\n'
                            'user_pref("browser.sessionstore.resume_from_crash", false);\n'
                            'user_pref("datareporting.policy.dataSubmissionEnabled", false);\n')
            exe = firefox or shutil.which("firefox-esr") or "/usr/bin/firefox-esr"
            self._proc = subprocess.Popen(
                [exe, "--no-remote", "--profile", profilo, "--remote-debugging-port=0",
                 "--width", str(width), "--height", str(height), "about:blank"],
                env=dict(self._schermo.env, PULSE_SERVER=self._audio.server),
                stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                text=True)
            indirizzo = self._attendi_protocollo()
            self._ws = websocket.create_connection(indirizzo + "/session",
                                                   suppress_origin=True, timeout=60)
            self.call("session.new", capabilities={})
            self.context = self.call("browsingContext.getTree")["contexts"][0]["context"]
            self.call("session.subscribe", events=["log.entryAdded"])
        except Exception:
            self.close()
            raise

    def _attendi_protocollo(self):
        """Waits for Firefox to say where its BiDi endpoint listens, then keeps reading its
        output (so that it never blocks on a full pipe)."""
        limite = time.monotonic() + 60
        uscita = []
        for riga in self._proc.stdout:
            uscita.append(riga)
            m = re.search(r"WebDriver BiDi listening on (ws://[\d.:]+)", riga)
            if m:
                threading.Thread(target=lambda: [None for _ in self._proc.stdout],
                                 daemon=True).start()
                return m.group(1)
            if time.monotonic() > limite:
                break
        raise RuntimeError("Firefox did not start its BiDi endpoint: " + "".join(uscita[-10:]))

    # --- protocol ---------------------------------------------------------------------
    def _handle(self, message):
        if message.get("method") == "log.entryAdded":
            voce = message["params"]
            if voce.get("type") == "javascript":
                self.errors.append(voce.get("text", ""))
            else:
                self.console.append(voce.get("text", ""))

    @staticmethod
    def _evento(message):
        return message.get("type") == "event"

    @staticmethod
    def _errore(message):
        if message.get("type") == "error":
            return "%s %s" % (message.get("error"), message.get("message"))
        return None

    # --- page -------------------------------------------------------------------------
    def open(self, page):
        self.call("browsingContext.navigate", context=self.context, url=self.base + page,
                  wait="none")

    def emulate(self, width, height, scale=1.0, touch=False):
        """The page as a screen of width x height CSS pixels with `scale` device pixels to a
        CSS pixel (a touch screen is Chromium's alone here)."""
        if touch:
            raise NotImplementedError("touch screens are emulated in Chromium only")
        self.call("browsingContext.setViewport", context=self.context,
                  viewport={"width": width, "height": height}, devicePixelRatio=scale)

    def add_script(self, source):
        """Runs `source` in every page loaded from now on, before the page's own scripts."""
        self.call("script.addPreloadScript", functionDeclaration="() => {%s}" % source)

    def evaluate(self, expression):
        risultato = self.call("script.evaluate", expression=expression, awaitPromise=False,
                              target={"context": self.context},
                              serializationOptions={"maxObjectDepth": 4})
        if risultato.get("type") != "success":
            return None
        return valore(risultato["result"])

    def png(self):
        return base64.b64decode(
            self.call("browsingContext.captureScreenshot", context=self.context)["data"])

    def _puntatore(self, azioni):
        self.call("input.performActions", context=self.context, actions=[{
            "type": "pointer", "id": "mouse", "parameters": {"pointerType": "mouse"},
            "actions": azioni}])

    @staticmethod
    def _verso(x, y):
        return {"type": "pointerMove", "x": round(x), "y": round(y), "origin": "viewport"}

    def click(self, x, y):
        self._puntatore([self._verso(x, y), {"type": "pointerDown", "button": 0},
                         {"type": "pointerUp", "button": 0}])

    def drag(self, start, end, steps=10):
        azioni = [self._verso(*start), {"type": "pointerDown", "button": 0}]
        for i in range(1, steps + 1):
            azioni.append(self._verso(start[0] + (end[0] - start[0]) * i / steps,
                                      start[1] + (end[1] - start[1]) * i / steps))
        azioni.append({"type": "pointerUp", "button": 0})
        self._puntatore(azioni)

    def _tasti(self, valori):
        azioni = []
        for v in valori:
            azioni += [{"type": "keyDown", "value": v}, {"type": "keyUp", "value": v}]
        self.call("input.performActions", context=self.context,
                  actions=[{"type": "key", "id": "tastiera", "actions": azioni}])

    def key(self, name, code):
        """Presses and releases a named key (e.g. "Enter", 13)."""
        self._tasti([TASTI.get(name, name)])

    def type_text(self, text):
        self._tasti(list(text))

    def close(self):
        try:
            if getattr(self, "_ws", None):
                self._ws.close()
        finally:
            if self._proc:
                termina_processo(self._proc)
            for servizio in ("_audio", "_schermo"):
                if getattr(self, servizio, None):
                    getattr(self, servizio).chiudi()
            self._server.shutdown()
            shutil.rmtree(self._cartella, ignore_errors=True)
