"""Tivoro in the browser, measured: the page's download size, the time from load to the
title window and the reaction to an answer, in Debian's headless Chromium.

    web.py BUILD_WEB_DIR [--caricamenti N] [--risposte N]

Prints a Markdown table and the raw samples (one line each, key=value) for bench/web.

How the times are taken. Chromium sends every frame it draws through a DevTools screencast,
each with the time it was drawn (wall clock, the same clock as this script's and as the
page's performance.timeOrigin). The frames are kept and looked at afterwards, so that
looking at them does not slow the page.
- Load: from the page's navigation start (performance.timeOrigin) to the first frame on
  which the title window, its title bar and its whole client area, is found; the page is
  served from this machine (no network time), once with the browser's cache disabled
  and once again with the files in the HTTP cache.
- Answer: in "Conta fino a 9", "0" typed (never the right count) and then Enter; the program
  answers on the key's release. From the release sent to the first frame on which the
  face or the wrong count has changed. The same is taken from the moment the page got the
  release (a listener of its own, before the program), and, as the floor of the method, for
  a mouse move that changes nothing in the program but recolours a 4-pixel square of the
  page from the same kind of listener: what the protocol, the compositor and the screencast
  add on their own.
"""

import argparse
import base64
import gzip
import io
import json
import os
import statistics
import sys
import time

from PIL import Image, ImageChops

QUI = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(QUI, "..", "tests", "web"))
sys.path.insert(0, os.path.join(QUI, "..", "tests", "e2e"))
import chromium  # noqa: E402
import giro as giro_web  # noqa: E402
from tivoro_e2e import AVVIO, CLIENT, COLONNA_BASSA, MENU_BOTTONI  # noqa: E402

# The files a load of tivoro.html fetches (checked against the page's resource timeline): the
# page and its program, in the site's folder of this build (cmake/Sito.cmake).
PROGRAMMA = ["qtloader.js", "tivoro.js", "tivoro.wasm", "tivoro.data"]
# And what else a first visit downloads: the page's icon, the web app's manifest and service
# worker (which stores all of it then, from the browser's cache).
ALTRI = ["icone/tivoro-192.png", "tivoro.webmanifest", "sw.js"]

SPIA = """
(function () {
  window.tivoroRilasci = [];
  window.tivoroMossi = [];
  const q = document.createElement('div');
  q.id = 'tivoro-spia';
  q.style.cssText = 'position:fixed;left:0;top:0;width:4px;height:4px;z-index:99;'
                  + 'background:rgb(255,0,0);pointer-events:none';
  document.body.appendChild(q);
  let rosso = true;
  const ora = () => performance.timeOrigin + performance.now();
  window.addEventListener('keyup', e => {
    if (e.key === 'Enter') window.tivoroRilasci.push(ora());
  }, true);
  window.addEventListener('mousemove', e => {
    window.tivoroMossi.push(ora());
    rosso = !rosso;
    q.style.background = rosso ? 'rgb(255,0,0)' : 'rgb(0,0,255)';
  }, true);
})();
"""


def file_sito(sito):
    cartella, = [d for d in os.listdir(sito) if d.startswith("tivoro-")]
    return ["tivoro.html"] + [f"{cartella}/{f}" for f in PROGRAMMA] + ALTRI


def dimensioni(sito):
    righe = []
    for nome in file_sito(sito):
        dati = open(os.path.join(sito, nome), "rb").read()
        righe.append((nome, len(dati), len(gzip.compress(dati, 9)), len(gzip.compress(dati, 6))))
    return righe


class Schermo:
    """The page's screencast: every frame with the time it was drawn (seconds, wall clock)."""

    def __init__(self, b):
        self.b = b
        self.fotogrammi = []
        self._aggancia(b)
        b.call("Page.startScreencast", format="png", everyNthFrame=1,
               maxWidth=4096, maxHeight=4096)

    def _aggancia(self, b):
        # Every message goes through the browser's handler, also while it waits for the
        # answer to a call: each frame is acknowledged there at once (the next one comes
        # only after that), and kept here rather than among the browser's events.
        gestore = b._handle

        def gestisci(m):
            if m.get("method") != "Page.screencastFrame":
                return gestore(m)
            p = m["params"]
            b._ws.send('{"id": 0, "method": "Page.screencastFrameAck", "params": '
                       '{"sessionId": %d}}' % p["sessionId"])
            self.fotogrammi.append((p["metadata"]["timestamp"], p["data"]))
        b._handle = gestisci

    def raccogli(self, secondi):
        self.b.idle(secondi)

    def svuota(self):
        self.fotogrammi = []

    def ferma(self):
        self.b.call("Page.stopScreencast")


class Traccia:
    """A DevTools trace of what the browser does, gathered while it runs."""

    CATEGORIE = ("devtools.timeline,v8,v8.wasm,gpu,blink,cc,toplevel,loading,"
                 "disabled-by-default-devtools.timeline")

    def __init__(self, b):
        self.b = b
        self.eventi = []
        self.finita = False
        gestore = b._handle

        def gestisci(m):
            if m.get("method") == "Tracing.dataCollected":
                self.eventi.extend(m["params"]["value"])
            elif m.get("method") == "Tracing.tracingComplete":
                self.finita = True
            else:
                return gestore(m)
        b._handle = gestisci
        b.call("Tracing.start", categories=self.CATEGORIE, transferMode="ReportEvents")

    def ferma(self):
        self.b.call("Tracing.end")
        limite = time.monotonic() + 60
        while not self.finita and time.monotonic() < limite:
            self.b.idle(0.2)

    def riassunto(self, fine_ms):
        """Where the time of a load went, up to `fine_ms` after the page was asked for: the
        moments the loading reached, and the time of the page's thread by what it waited on."""
        ev = [e for e in self.eventi if "ph" in e]
        fili = {(e["pid"], e["tid"]): e["args"]["name"] for e in ev if e.get("name") == "thread_name"}
        t0 = min(e["ts"] for e in ev if e.get("name") == "ResourceSendRequest"
                 and "tivoro.html" in str(e.get("args")))
        ms = lambda e: (e["ts"] - t0) / 1000  # noqa: E731

        def durata(filo, *nomi, fuori=()):
            """Time spent in events so named on a thread, those within `fuori` excepted."""
            sue = [e for e in ev if fili.get((e["pid"], e["tid"])) == filo and "dur" in e
                   and 0 <= ms(e) < fine_ms]
            esclusi = [(e["ts"], e["ts"] + e["dur"]) for e in sue if e["name"] in fuori]
            return sum(e["dur"] for e in sue if e["name"] in nomi and not any(
                a <= e["ts"] < b for a, b in esclusi)) / 1000

        def primo(nome):
            t = [ms(e) for e in ev if e.get("name") == nome and ms(e) >= 0]
            return f"{min(t):.0f}" if t else "-"
        principale = "CrRendererMain"
        return [
            ("wasm compiled as it streams in, from / instantiated at (ms)",
             f"{primo('wasm.StartStreamingCompilation')} / {primo('wasm.SyncInstantiate')}"),
            ("Qt's first frame asked at (ms)", primo("FireAnimationFrame")),
            ("page thread: busy in all (ms)",
             f"{durata(principale, 'ThreadControllerImpl::RunTask'):.0f}"),
            ("page thread: V8 compiling wasm as it streams and on first calls (ms)",
             f"{durata(principale, 'v8.wasm.compileConsume', 'wasm.CompileLazy'):.0f}"),
            ("page thread: waiting on the GPU process for WebGL calls that return a value (ms)",
             f"{durata(principale, 'ImplementationBase::WaitForCmd', fuori=('GLES2::ReadPixels',)):.0f}"),
            ("page thread: the compositor reading the WebGL canvas back (ms)",
             f"{durata(principale, 'GLES2::ReadPixels'):.0f}"),
            ("page thread: garbage collection (ms)", f"{durata(principale, 'MajorGC', 'MinorGC'):.0f}"),
            ("GPU process: running the page's WebGL commands (ms)", f"{durata('CrGpuMain', 'GPUTask'):.0f}"),
        ]


def immagine(dati):
    return Image.open(io.BytesIO(base64.b64decode(dati))).convert("RGB")


def ha_titolo(g, img):
    cw, ch = CLIENT["avvio"]
    return any(abs(w - cw) <= 1 and h >= ch for _, _, w, h in g.finestre(img))


def primo(fotogrammi, prova):
    """The first frame for which `prova` holds, given that it holds for every later one
    once it holds (binary search); None if it never does."""
    lo, hi = 0, len(fotogrammi)
    while lo < hi:
        mezzo = (lo + hi) // 2
        if prova(immagine(fotogrammi[mezzo][1])):
            hi = mezzo
        else:
            lo = mezzo + 1
    if lo == len(fotogrammi):
        return None
    if CARTELLA_FOTO and primo.salvati < 4:  # the frame found and the one before it
        for i in (lo - 1, lo):
            if i >= 0:
                immagine(fotogrammi[i][1]).save(os.path.join(
                    CARTELLA_FOTO, "%d-%s.png" % (primo.salvati, "prima" if i < lo else "trovato")))
        primo.salvati += 1
    return fotogrammi[lo]


primo.salvati = 0
CARTELLA_FOTO = None


def caricamento(b, g, s, modo):
    """One load of the page: "rete" with the browser's cache disabled, "cache" with the files
    in its HTTP cache (both past the service worker), "sw" from the service worker."""
    b.call("Network.setBypassServiceWorker", bypass=modo != "sw")
    b.call("Network.setCacheDisabled", cacheDisabled=modo == "rete")
    b.call("Page.navigate", url="about:blank")
    b.idle(1.0)
    s.svuota()
    b.call("Page.navigate", url=b.base + "tivoro.html")
    limite = time.monotonic() + 180
    while time.monotonic() < limite:
        s.raccogli(1.0)
        if s.fotogrammi and ha_titolo(g, immagine(s.fotogrammi[-1][1])):
            break
    else:
        raise RuntimeError("the title window did not appear")
    origine = b.evaluate("performance.timeOrigin") / 1000
    risorse = b.evaluate("performance.getEntriesByType('resource')"
                         ".map(r => [r.name.split('/').pop(), r.transferSize, r.workerStart > 0])")
    if (modo == "sw") != all(dal_servizio for _, _, dal_servizio in risorse):
        raise RuntimeError(f"a load {modo} went {'past' if modo == 'sw' else 'through'} the "
                           f"service worker: {risorse}")
    trovato = primo(s.fotogrammi, lambda img: ha_titolo(g, img))
    # The window is drawn a few frames before it becomes active (its title bar is grey
    # until then): back from the frame found, the earliest one with the same client area,
    # the button aside (its focus ring comes with the activation); the text may be drawn
    # again with slightly different antialiasing, so faint differences do not count.
    img = immagine(trovato[1])
    cw, ch = CLIENT["avvio"]
    x, alto, _, h = next(v for v in g.finestre(img) if abs(v[2] - cw) <= 1 and v[3] >= ch)
    f = giro_web.Finestra(x, alto, alto + h - ch, cw, ch)
    ax, ay, aw, ah = AVVIO
    bottone = (ax - 8, ay - 8, ax + aw + 8, ay + ah + 8)

    def client(im):
        c = im.crop((f.x, f.y, f.x + cw, f.y + ch))
        c.paste((0, 0, 0), bottone)
        return c

    riferimento = client(img)
    i = s.fotogrammi.index(trovato)
    while i > 0 and not ImageChops.difference(
            riferimento, client(immagine(s.fotogrammi[i - 1][1]))).convert("L").point(
                lambda v: 255 if v > 32 else 0).getbbox():
        i -= 1
    if CARTELLA_FOTO and caricamento.salvati < 2:
        immagine(s.fotogrammi[i][1]).save(
            os.path.join(CARTELLA_FOTO, f"carico{caricamento.salvati}.png"))
        if i > 0:
            immagine(s.fotogrammi[i - 1][1]).save(
                os.path.join(CARTELLA_FOTO, f"carico{caricamento.salvati}-prima.png"))
        caricamento.salvati += 1
    return (s.fotogrammi[i][0] - origine) * 1000, risorse


caricamento.salvati = 0


def percentile(valori, p):
    v = sorted(valori)
    return v[min(len(v) - 1, max(0, round(p / 100 * (len(v) - 1))))]


def riassunto(valori):
    return "%.0f ms (min %.0f, max %.0f)" % (statistics.median(valori), min(valori), max(valori))


def riassunto_fine(valori):
    return "%.1f / %.1f ms" % (statistics.median(valori), percentile(valori, 90))


def risposte(b, g, s, quante):
    titolo = g.finestra(CLIENT["avvio"], "the title window", secondi=120)
    g.clic(titolo, AVVIO)
    menu = g.finestra(CLIENT["menu"], "the menu")
    g.clic(menu, MENU_BOTTONI["FormEs1"])
    es = g.finestra(CLIENT["esercizio"], "Conta (FormEs1)")
    b.evaluate(SPIA)
    b.idle(0.5)
    zone = [COLONNA_BASSA["facce"], COLONNA_BASSA["errati"]]

    def ritagli(img):
        return [g.ritaglio(img, es, z) for z in zone]

    invio, pagina, mossa = [], [], []
    for i in range(quante):
        # "0" in the answer box, and the frames settle.
        b.type_text("0")
        b.call("Input.dispatchKeyEvent", type="rawKeyDown", key="Enter", code="Enter",
               windowsVirtualKeyCode=13, nativeVirtualKeyCode=13)
        s.raccogli(0.6)
        prima = ritagli(g.foto())
        s.svuota()
        inviato = time.time()
        b.call("Input.dispatchKeyEvent", type="keyUp", key="Enter", code="Enter",
               windowsVirtualKeyCode=13, nativeVirtualKeyCode=13)
        s.raccogli(1.5)
        cambiato = primo(s.fotogrammi, lambda img: any(
            ImageChops.difference(a, c).getbbox() for a, c in zip(prima, ritagli(img))))
        if cambiato is None:
            raise RuntimeError(f"answer {i + 1}: neither the face nor the wrong count changed")
        ricevuto = b.evaluate("window.tivoroRilasci[window.tivoroRilasci.length - 1]") / 1000
        invio.append((cambiato[0] - inviato) * 1000)
        pagina.append((cambiato[0] - ricevuto) * 1000)

        # The floor: a mouse move over the page outside every window.
        s.raccogli(0.3)
        colore = (0, 0, 255) if b.evaluate(
            "document.querySelector('#tivoro-spia').style.background.includes('255, 0, 0')") \
            else (255, 0, 0)
        s.svuota()
        inviato = time.time()
        b.call("Input.dispatchMouseEvent", type="mouseMoved", x=2 + i % 2, y=2)
        s.raccogli(0.8)
        nuovo = primo(s.fotogrammi, lambda img: img.getpixel((1, 1)) == colore)
        if nuovo is None:
            raise RuntimeError(f"move {i + 1}: the square did not change colour")
        mossa.append((nuovo[0] - inviato) * 1000)
    errati = g.lettore.leggi(g.ritaglio(g.foto(), es,
                                        giro_web.rientrato(COLONNA_BASSA["errati"], 3)))[0]
    if errati != str(quante):  # every Enter must have been an answer
        raise RuntimeError(f"the wrong count reads {errati!r} after {quante} wrong answers")
    return invio, pagina, mossa, errati


def carico():
    return " ".join(open("/proc/loadavg").read().split()[:3])


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("build")
    ap.add_argument("--caricamenti", type=int, default=10)
    ap.add_argument("--risposte", type=int, default=20)
    ap.add_argument("--fotogrammi", help="folder for the first frames found and those before")
    ap.add_argument("--traccia", help="one more load from the HTTP cache, traced: the trace "
                    "(for Perfetto or chrome://tracing) is written to this file, and where the "
                    "time went is printed")
    a = ap.parse_args()
    global CARTELLA_FOTO
    CARTELLA_FOTO = a.fotogrammi
    if CARTELLA_FOTO:
        os.makedirs(CARTELLA_FOTO, exist_ok=True)

    sito = os.path.join(a.build, "sito")
    righe = dimensioni(sito)
    carico_inizio = carico()
    freddi, caldi, servizio, trasferiti_caldi = [], [], [], []
    with chromium.Browser(sito) as b:
        g = giro_web.Giro(b, None)
        # A page just larger than the largest window: the program is drawn at scale 1, and
        # the screencast's frames hold its own pixels, as the readers of the tests expect.
        b.emulate(720, 600)
        b.call("Network.enable")
        s = Schermo(b)
        caricamento(b, g, s, "cache")  # the files into the HTTP cache, the service worker in
        if b.evaluate("scala.attuale()") != 1:
            raise RuntimeError(f"the page chose the scale {b.evaluate('scala.attuale()')}")
        g.attendi(lambda: b.evaluate("navigator.serviceWorker.controller !== null"),
                  "the service worker in charge", 60)
        for _ in range(a.caricamenti):
            t, risorse = caricamento(b, g, s, "rete")
            freddi.append(t)
            print(f"caricamento cache=no ms={t:.1f}", file=sys.stderr)
            t, risorse_calde = caricamento(b, g, s, "cache")
            caldi.append(t)
            trasferiti_caldi.append(sum(n for _, n, _ in risorse_calde))
            print(f"caricamento cache=si ms={t:.1f}", file=sys.stderr)
            t, _ = caricamento(b, g, s, "sw")
            servizio.append(t)
            print(f"caricamento service_worker ms={t:.1f}", file=sys.stderr)
        nomi = {n.split("/").pop() for n in file_sito(sito)}
        mancanti = sorted({n for n, _, _ in risorse} - nomi - {"favicon.ico"})
        if set(PROGRAMMA) - {n for n, _, _ in risorse}:
            raise RuntimeError(f"the page did not fetch all of {PROGRAMMA}: {risorse}")
        tracciato = None
        if a.traccia:
            t = Traccia(b)
            tempo, _ = caricamento(b, g, s, "cache")
            t.ferma()
            with open(a.traccia, "w") as f:
                json.dump(t.eventi, f)
            tracciato = (tempo, t.riassunto(tempo))
        s.svuota()
        invio, pagina, mossa, errati = risposte(b, g, s, a.risposte)
        s.ferma()
        versione = b.call("Browser.getVersion")["product"]
    carico_fine = carico()

    for x in invio:
        print(f"risposta dall_invio_ms={x:.1f}", file=sys.stderr)
    tot = [sum(r[i] for r in righe) for i in (1, 2, 3)]
    kib = lambda n: "%.1f" % (n / 1024)  # noqa: E731
    mib = lambda n: "%.2f" % (n / 1048576)  # noqa: E731
    print(f"{versione}, headless, software rendering; {os.cpu_count()} cores.")
    print(f"Load average (1, 5, 15 min) at the start: {carico_inizio}; at the end: {carico_fine}.")
    print()
    print("| File fetched by a load | Raw | gzip -9 | gzip -6 (a server's usual level) |")
    print("|---|---|---|---|")
    for nome, crudo, g9, g6 in righe:
        print(f"| {nome} | {kib(crudo)} KiB | {kib(g9)} KiB | {kib(g6)} KiB |")
    print(f"| **total** | **{mib(tot[0])} MiB** | **{mib(tot[1])} MiB** | **{mib(tot[2])} MiB** |")
    if mancanti:
        print(f"\nAlso fetched by the page: {', '.join(mancanti)}.")
    print()
    print("| Measure | Figure |")
    print("|---|---|")
    print(f"| Load to the title window drawn, cache disabled (median of {len(freddi)}; min, max) "
          f"| {riassunto(freddi)} |")
    print(f"| Load to the title window drawn, files in the HTTP cache (median of {len(caldi)}; "
          f"min, max) | {riassunto(caldi)} |")
    print(f"| Load to the title window drawn, from the service worker (median of "
          f"{len(servizio)}; min, max) | {riassunto(servizio)} |")
    print(f"| Wrong answer in \"Conta fino a 9\": Enter released (sent) to the frame with the "
          f"face or the count changed, median / 90th percentile of {len(invio)} "
          f"| {riassunto_fine(invio)} |")
    print(f"| The same from the release reaching the page | {riassunto_fine(pagina)} |")
    print(f"| Floor of the method: mouse move sent to a page square recoloured on the frame "
          f"| {riassunto_fine(mossa)} |")
    print(f"\nBytes over the wire on a load with the HTTP cache: median "
          f"{statistics.median(trasferiti_caldi) / 1024:.1f} KiB (with the cache disabled: "
          f"{sum(n for _, n, _ in risorse) / 1048576:.2f} MiB, uncompressed by this server).")
    print(f"\nThe wrong count after the answers reads {errati}, one per answer.")
    if tracciato:
        print(f"\nOne more load from the HTTP cache, traced ({tracciato[0]:.0f} ms to the title "
              f"window; tracing slows it):\n")
        print("| Of that load | |")
        print("|---|---|")
        for voce, valore in tracciato[1]:
            print(f"| {voce} | {valore} |")


if __name__ == "__main__":
    sys.exit(main())
