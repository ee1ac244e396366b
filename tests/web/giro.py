"""Tivoro in headless Chromium, the way a child plays it: the title window, the menu, a
counting question answered wrongly (the error sound must not stop the page),
"Informazioni", "Esci" answered Sì back to the menu, "Ordina i numeri" with one tile
dragged and one placed by taps, and "Esci" in the menu answered Sì: the page then says
that Tivoro has ended, and "Ricomincia" starts it again.

    giro.py BUILD_DIR [SCREENSHOT_DIR]

Windows are found on screenshots by the title bar of the active window; positions inside
them are the program's own layout (tests/e2e/tivoro_e2e.py).
"""

import io
import os
import sys
import time
import base64

from PIL import Image, ImageChops

QUI = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, QUI)
sys.path.insert(0, os.path.join(QUI, "..", "e2e"))
import chromium  # noqa: E402
from tivoro_e2e import (AVVIO, CLIENT, COLONNA_BASSA, ES1_TEXT1, MENU_BOTTONI, MENU_ESCI,  # noqa: E402
                        ORD_CASELLE, ORD_TESSERE, Fallito, Lettore, casella, centro, inchiostro,
                        px, rientrato, tessere)

TITOLO_ATTIVO = (48, 140, 198)  # the title bar of the active window in Qt for the browser
GRIGIO_BORDO = (159, 159, 159)  # the bottom line of a window's frame


class Finestra:
    """A window on the page: its left edge, the top of its frame contents (menu bar or
    client) and of its client area, and its size."""

    def __init__(self, x, y_alto, y_client, w, h):
        self.x, self.alto, self.y, self.w, self.h = x, y_alto, y_client, w, h
        self.origine = (0, y_client - y_alto)

    def punto(self, p):
        return self.x + p[0], self.y + p[1]

    def __repr__(self):
        return f"<window {self.w}x{self.h} at {self.x},{self.y}>"


class Giro:
    def __init__(self, browser, foto_dir):
        self.b = browser
        self.foto_dir = foto_dir
        self.lettore = Lettore("0123456789")

    # -- reading the page ---------------------------------------------------------------
    def foto(self, nome=None):
        for _ in range(50):
            try:
                data = self.b.call("Page.captureScreenshot", format="png")["data"]
                break
            except RuntimeError:  # the page is still being replaced by the new one
                self.b.idle(0.2)
        img = Image.open(io.BytesIO(base64.b64decode(data))).convert("RGB")
        if nome and self.foto_dir:
            img.save(os.path.join(self.foto_dir, nome + ".png"))
        return img

    def finestre(self, img):
        """The windows on the page, by their title bars: (x, top of contents, width,
        height of contents) each. Qt for the browser draws every title bar in the active
        colour."""
        p = img.load()
        w, h = img.size
        trovate = []
        titoli = []
        for y in range(1, h):
            x = 1
            while x < w - 40:
                dentro = next((t for t in titoli if t[0] <= x <= t[2] and t[1] <= y <= t[3]), None)
                if dentro:
                    x = dentro[2] + 1
                    continue
                if (p[x, y] == TITOLO_ATTIVO and p[x - 1, y] != TITOLO_ATTIVO
                        and p[x, y - 1] != TITOLO_ATTIVO
                        and all(p[x + d, y] == TITOLO_ATTIVO for d in range(0, 40, 4))):
                    destra = x
                    while destra + 1 < w and p[destra + 1, y] != (255, 255, 255):
                        destra += 1
                    fondo_titolo = y
                    while fondo_titolo + 1 < h and p[x, fondo_titolo + 1] == TITOLO_ATTIVO:
                        fondo_titolo += 1
                    alto = fondo_titolo + 5
                    fondo = alto
                    while fondo < h and p[x + 1, fondo] != GRIGIO_BORDO:
                        fondo += 1
                    trovate.append((x, alto, destra + 1 - x, fondo - 3 - alto + 1))
                    titoli.append((x, y, destra, fondo_titolo))
                    x = destra
                x += 1
        return trovate

    def finestra(self, client, cosa, secondi=30):
        """Waits for the program's window whose client area is `client` (w, h) in pixels,
        with no message box over it."""
        cw, ch = client
        limite = time.monotonic() + secondi
        viste = []
        while time.monotonic() < limite:
            viste = self.finestre(self.foto())
            if not any(v[2] < 600 for v in viste):
                for x, alto, w, h in viste:
                    if abs(w - cw) <= 1 and h >= ch:
                        return Finestra(x, alto, alto + h - ch, cw, ch)
            self.b.idle(0.2)
        raise Fallito(f"{cosa} did not appear (windows seen: {viste})")

    def scatola(self, cosa, secondi=20):
        """Waits for a message box: a window narrower than the program's."""
        limite = time.monotonic() + secondi
        while time.monotonic() < limite:
            for v in self.finestre(self.foto()):
                if v[2] < 600:
                    return v
            self.b.idle(0.2)
        raise Fallito(f"{cosa}: no message box")

    def ritaglio(self, img, f, r):
        x, y = f.punto((r[0], r[1]))
        return img.crop((x, y, x + r[2], y + r[3]))

    def voci_menu(self, img, f):
        """The centres of the menu-bar items, from the ink between frame and client."""
        barra = inchiostro(img.crop((f.x, f.alto, f.x + f.w, f.y)))
        w, h = barra.size
        gruppi = []
        for x in range(w):
            if barra.crop((x, 0, x + 1, h)).getbbox() is None:
                continue
            if gruppi and x - gruppi[-1][1] <= 12:
                gruppi[-1][1] = x
            else:
                gruppi.append([x, x])
        if len(gruppi) != 3:
            raise Fallito(f"the menu bar shows {len(gruppi)} items, not 3")
        return [(f.x + (a + b) // 2, (f.alto + f.y) // 2) for a, b in gruppi]

    # -- acting -------------------------------------------------------------------------
    def clic(self, f, r):
        self.b.click(*f.punto(centro(r)))

    def attendi(self, condizione, cosa, secondi=20):
        limite = time.monotonic() + secondi
        while time.monotonic() < limite:
            if condizione():
                return
            self.b.idle(0.2)
        raise Fallito(f"{cosa}: not within {secondi} s")

    def vivo(self, dove):
        stato = self.b.evaluate("qtLoader.status")
        if stato != "Running":
            raise Fallito(f"{dove}: the program is {stato}: {self.b.errors}")


def giro(b, g):
    # Every sound the page starts goes through an AudioBufferSourceNode: count them.
    b.call("Page.addScriptToEvaluateOnNewDocument", source="""
        (function () {
            window.tivoroSuoni = 0;
            const start = AudioBufferSourceNode.prototype.start;
            AudioBufferSourceNode.prototype.start = function (...a) {
                window.tivoroSuoni++;
                return start.apply(this, a);
            };
        })();""")
    t0 = time.monotonic()
    b.open("tivoro.html")
    titolo = g.finestra(CLIENT["avvio"], "the title window", secondi=120)
    print(f"title window after {time.monotonic() - t0:.1f} s: {titolo}")
    g.foto("1-titolo")

    g.clic(titolo, AVVIO)
    menu = g.finestra(CLIENT["menu"], "the menu")
    g.foto("2-menu")

    # A counting question answered wrongly: "0" and Enter; the wrong count goes to 1.
    g.clic(menu, MENU_BOTTONI["FormEs1"])
    es = g.finestra(CLIENT["esercizio"], "Conta (FormEs1)")
    errati = COLONNA_BASSA["errati"]
    prima = g.ritaglio(g.foto(), es, errati)
    b.type_text("0")
    g.attendi(lambda: g.lettore.leggi(g.ritaglio(g.foto(), es, rientrato(ES1_TEXT1, 3)))[0] == "0",
              "0 in the answer box")
    b.key("Enter", 13)
    g.attendi(lambda: ImageChops.difference(prima, g.ritaglio(g.foto(), es, errati)).getbbox(),
              "the wrong count after a wrong answer")
    g.attendi(lambda: b.evaluate("window.tivoroSuoni") > 0, "the error sound")
    b.idle(1)
    g.vivo("after the error sound")
    img = g.foto("3-sbagliato")
    if g.lettore.leggi(g.ritaglio(img, es, rientrato(errati, 3)))[0] != "1":
        raise Fallito("the wrong count does not read 1 after a wrong answer")

    # "Informazioni" answered, then "Esci" answered Sì (Enter): the menu again.
    voci = g.voci_menu(img, es)
    b.click(*voci[1])
    g.scatola("Informazioni")
    g.foto("4-informazioni")
    b.key("Enter", 13)
    g.finestra(CLIENT["esercizio"], "the exercise after Informazioni")
    b.click(*voci[2])
    g.scatola("Esci in the exercise")
    g.foto("5-esci")
    b.key("Enter", 13)
    menu = g.finestra(CLIENT["menu"], "the menu after Esci and Sì")

    # "Ordina i numeri": tile 1 dragged onto the first box, tile 2 by two taps.
    g.clic(menu, MENU_BOTTONI["FormOrd"])
    ordn = g.finestra(CLIENT["ord"], "Ordina i numeri")
    b.idle(0.5)
    posto = tessere(g, g.foto(), ordn)
    if sorted(posto) != list(range(1, 10)):
        raise Fallito(f"the tiles read {sorted(posto)}, not 1 to 9")
    da = ordn.punto(centro(ORD_TESSERE[posto[1]]))
    a = ordn.punto(centro(ORD_CASELLE[0]))
    b.drag(da, a)
    g.attendi(lambda: casella(g, g.foto(), ordn, 0) == "1", "1 in the first box after the drag")
    g.clic(ordn, ORD_TESSERE[posto[2]])
    b.idle(0.3)
    g.clic(ordn, ORD_CASELLE[1])
    g.attendi(lambda: casella(g, g.foto(), ordn, 1) == "2", "2 in the second box after two taps")
    g.foto("6-ordina")
    g.vivo("after Ordina i numeri")
    b.click(*g.voci_menu(g.foto(), ordn)[2])
    g.scatola("Esci in Ordina i numeri")
    b.key("Enter", 13)
    menu = g.finestra(CLIENT["menu"], "the menu after Ordina i numeri")

    # "Esci" in the menu answered Sì: the program ends, the page says so.
    g.clic(menu, MENU_ESCI)
    g.scatola("Esci in the menu")
    b.key("Enter", 13)
    g.attendi(lambda: b.evaluate("!document.querySelector('#fine').hidden"), "the end page")
    testo = b.evaluate("document.body.innerText")
    g.foto("7-fine")
    for atteso in ("Tivoro è finito.", "Grazie per aver giocato!", "Ricomincia"):
        if atteso not in testo:
            raise Fallito(f"the end page does not say {atteso!r}: {testo!r}")

    # "Ricomincia" loads the page again: the title window once more.
    r = b.evaluate("(() => { const r = document.querySelector('#ricomincia')"
                   ".getBoundingClientRect(); return [r.x + r.width / 2, r.y + r.height / 2]; })()")
    b.click(*r)
    g.finestra(CLIENT["avvio"], "the title window after Ricomincia", secondi=120)


def main():
    build = sys.argv[1]
    foto_dir = sys.argv[2] if len(sys.argv) > 2 else None
    if foto_dir:
        os.makedirs(foto_dir, exist_ok=True)
    with chromium.Browser(build) as b:
        g = Giro(b, foto_dir)
        try:
            giro(b, g)
        except Fallito as e:
            g.foto("fallito")
            print("FAILED:", e)
            print("console:", "\n".join(b.console[-20:]))
            return 1
        errori = [e for e in b.errors if "favicon" not in e and "404" not in e]
        if errori:
            print("FAILED: errors on the page:", errori)
            return 1
    print("giro: passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
