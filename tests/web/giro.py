"""Tivoro in headless Chromium, the way a child plays it: the title window, the menu, and
in each exercise one question answered wrongly and then rightly, with the face and the
"Esatti"/"Errati" counts read back from the screen after each answer (the sounds must not
stop the page); "Informazioni" and "Esci" answered Sì back to the menu; in "Ordina i
numeri" a tile dropped on the wrong box, then one tile dragged and one placed by taps; and
"Esci" in the menu answered Sì: the page then says that Tivoro has ended, and "Ricomincia"
starts it again.

    giro.py [--firefox] BUILD_DIR [SCREENSHOT_DIR]

In Chromium it then plays the web app as installed: offline after one visit, and a new
build published on the same server (offline()). --firefox plays the round in Firefox ESR
(firefox.py) instead.

Windows are found on screenshots by the title bar of the active window; positions inside
them are the program's own layout, and the questions and counts are read and answered as
the desktop end-to-end tests do (tests/e2e/tivoro_e2e.py), through PilotaWeb.
"""

import io
import os
import shutil
import subprocess
import sys
import tempfile
import time

from PIL import Image, ImageChops

QUI = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, QUI)
sys.path.insert(0, os.path.join(QUI, "..", "e2e"))
import chromium  # noqa: E402
import firefox  # noqa: E402
from tivoro_e2e import (AVVIO, CLIENT, ES1_TASTIERINO, ESERCIZI, MENU_ESCI,  # noqa: E402
                        ORD_CASELLE, ORD_TESSERE, RIGA_IN_ALTO, Fallito, Lettore, Partita,
                        Pilota, centro, inchiostro, maschera_diversa, rientrato,
                        tessere)

TITOLO_ATTIVO = (48, 140, 198)  # the title bar of the active window in Qt for the browser
GRIGIO_BORDO = (159, 159, 159)  # the bottom line of a window's frame
GIALLO_ANELLO = (255, 212, 0)  # the focus ring's yellow


class Finestra:
    """A window on the page: its left edge, the top of its frame contents (menu bar or
    client) and of its client area, and its size."""

    def __init__(self, x, y_alto, y_client, w, h, tipo=None):
        self.x, self.alto, self.y, self.w, self.h = x, y_alto, y_client, w, h
        self.origine = (0, y_client - y_alto)
        self.tipo = tipo
        self.id = tipo

    def punto(self, p):
        return self.x + p[0], self.y + p[1]

    def __repr__(self):
        return f"<window {self.w}x{self.h} at {self.x},{self.y}>"


class LettoreWeb(Lettore):
    """The desktop reader with glyphs of DejaVu Sans Bold: Qt for the browser has no
    system fonts and draws the program's text in its own DejaVu Sans, where "=" has much
    thicker bars than in the desktop's Arial."""

    def __init__(self):
        super().__init__(carattere="DejaVu Sans:bold")


class Giro:
    def __init__(self, browser, foto_dir):
        self.b = browser
        self.foto_dir = foto_dir
        self.lettore = LettoreWeb()
        # The page's scale: screenshots come in the program's own pixels (see apri), the
        # pointer and the fingers go to the page in CSS pixels.
        self.scala = 1.0

    def css(self, p):
        return p[0] * self.scala, p[1] * self.scala

    # -- reading the page ---------------------------------------------------------------
    def foto(self, nome=None):
        for _ in range(50):
            try:
                data = self.b.png()
                break
            except RuntimeError:  # the page is still being replaced by the new one
                self.b.idle(0.2)
        img = Image.open(io.BytesIO(data)).convert("RGB")
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

    def bottone_sì(self, img, scatola):
        """The "Sì" of a question: the box's default button, the one that has the focus and
        with it the yellow of the focus ring around it."""
        x, y, w, h = scatola
        anello = maschera_diversa(img.crop((x, y, x + w, y + h)), GIALLO_ANELLO, 30)
        anello = ImageChops.invert(anello)
        r = anello.getbbox()
        if r is None or r[2] - r[0] < 40:
            return None
        return (x + r[0], y + r[1], r[2] - r[0], r[3] - r[1])

    def voci_menu(self, img, f):
        """The centres of the menu-bar items, from the ink between frame and client: the
        first three groups of letters (the frame's own buttons may come after), each at the
        middle of its letters."""
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
        if len(gruppi) < 3:
            raise Fallito(f"the menu bar shows {len(gruppi)} items, not 3")
        return [(f.x + (a + b) // 2, f.alto + sum(barra.crop((a, 0, b + 1, h)).getbbox()[1::2]) // 2)
                for a, b in gruppi[:3]]

    def attendi_sì(self, larga=(0, 600)):
        """Waits for a question's box (a window of a width within `larga`) with its "Sì",
        settled (at the same place on two screenshots in a row), and gives the place of
        that button."""
        prima = [None]

        def sì():
            img = self.foto()
            r = next((r for v in self.finestre(img) if larga[0] < v[2] < larga[1]
                      for r in [self.bottone_sì(img, v)] if r), None)
            p, prima[0] = prima[0], r
            return r if r and r == p else None
        return self.attendi(sì, "the Sì of a message box")

    # -- acting -------------------------------------------------------------------------
    def clic(self, f, r):
        self.b.click(*self.css(f.punto(centro(r))))

    def attendi(self, condizione, cosa, secondi=20):
        limite = time.monotonic() + secondi
        while time.monotonic() < limite:
            if v := condizione():
                return v
            self.b.idle(0.2)
        raise Fallito(f"{cosa}: not within {secondi} s")

    def vivo(self, dove):
        stato = self.b.evaluate("qtLoader.status")
        if stato != "Running":
            raise Fallito(f"{dove}: the program is {stato}: {self.b.errors}")


class Pagina:
    """The program as the desktop pilot sees it: alive while Qt runs on the page."""

    def __init__(self, browser):
        self.b = browser

    def uscita(self):
        return self.b.evaluate("qtLoader.status")

    def vivo(self):
        return self.uscita() == "Running"


class PilotaWeb(Pilota):
    """The desktop pilot's reading and answering, on the page: windows are found by their
    title bars, screenshots are of the whole page, keys and pointer go through Chromium."""

    TASTI = {"Return": ("Enter", 13), "Escape": ("Escape", 27)}

    def __init__(self, giro):
        super().__init__(None, Pagina(giro.b), giro.lettore, giro.foto_dir)
        self.g = giro
        self.b = giro.b

    def attendi(self, condizione, cosa, secondi=20):
        return super().attendi(condizione, cosa, secondi)

    def punto(self, f, p):
        return f.punto(p)

    def foto(self, f=None):
        img = self.g.foto()
        self.ultima = img
        return img

    def foto_ferma(self, f=None):
        precedente = [None]

        def ferma():
            img = self.g.foto()
            p, precedente[0] = precedente[0], img
            return img if p is not None and ImageChops.difference(p, img).getbbox() is None else None
        return self.attendi(ferma, "the page to settle")

    def salva(self, f, nome):
        if self.cartella_foto:
            self.foto_ferma(f).save(os.path.join(self.cartella_foto, nome + ".png"))

    def finestra(self, tipo, secondi=30):
        f = self.g.finestra(CLIENT[tipo], f"the {tipo} window", secondi)
        f.tipo = f.id = tipo
        return f

    def clic(self, f, r):
        self.g.clic(f, r)

    def tasti(self, wid, *tasti):
        for t in tasti:
            if t in self.TASTI:
                self.b.key(*self.TASTI[t])
            else:
                self.b.type_text(t)

    def rispondi_scatola(self, prima, tasto):
        self.g.scatola("a message box")
        self.tasti(None, tasto)
        self.attendi(lambda: not any(v[2] < 600 for v in self.g.finestre(self.g.foto())),
                     "the message box to close")

    def voce_menu(self, f, indice):
        self.b.click(*self.g.css(self.g.voci_menu(self.foto(f), f)[indice]))

    def trascina(self, f, da, a):
        self.b.drag(self.g.css(f.punto(centro(da))), self.g.css(f.punto(centro(a))))


class PilotaTocco(PilotaWeb):
    """The page's pilot playing by finger on a touch screen: every click a tap, every drag a
    finger's, the answers of the counting windows tapped on their pad."""

    def clic(self, f, r):
        self.b.tap(*self.g.css(f.punto(centro(r))))

    def voce_menu(self, f, indice):
        self.b.tap(*self.g.css(self.g.voci_menu(self.foto(f), f)[indice]))

    def trascina(self, f, da, a, secondo=None):
        css = self.g.css
        self.b.finger_drag(css(f.punto(centro(da))), css(f.punto(centro(a))),
                           second=css(f.punto(centro(secondo))) if secondo else None)

    def scrivi(self, f, conta, tasto):
        self.clic(f, conta.tastierino[tasto])

    def rispondi_scatola(self, prima, tasto):
        if tasto != "Return":
            raise Fallito(f"the pilot by finger answers a question with Sì only, not {tasto}")
        self.b.tap(*self.g.css(centro(self.g.attendi_sì())))
        self.attendi(lambda: not any(v[2] < 600 for v in self.g.finestre(self.g.foto())),
                     "the message box to close")


def apri(b, g, larghezza, altezza, scala_attesa, tocco=False):
    """Opens the page as a screen of larghezza x altezza CSS pixels, with a mouse or a touch
    screen, and waits for the title window; checks the scale the page chose for it and that
    the program draws at that scale, not stretched. The screen is emulated with as many
    device pixels to a CSS pixel as undo the scale: the screenshots then show the program's
    own pixels, one to one, and the desktop tests' readers work on them as they are."""
    b.emulate(larghezza, altezza, scale=1 / scala_attesa, touch=tocco)
    t0 = time.monotonic()
    b.open("tivoro.html")
    titolo = g.finestra(CLIENT["avvio"], "the title window", secondi=120)
    dove = f"{larghezza}x{altezza}"
    print(f"{dove}: the title window after {time.monotonic() - t0:.1f} s: {titolo}")
    g.scala = b.evaluate("scala.attuale()")
    if g.scala != scala_attesa:
        raise Fallito(f"{dove}: the page chose the scale {g.scala}, not {scala_attesa}")
    # One pixel of the canvas to each device pixel of the screen under it.
    disegno = b.evaluate("(() => { const c = document.querySelector('#qtcanvas'); return "
                         "[c.width, Element.prototype.getBoundingClientRect.call(c).width]; })()")
    if abs(disegno[0] - disegno[1] / scala_attesa) > 2:
        raise Fallito(f"{dove}: the canvas draws {disegno[0]} pixels over {disegno[1]} CSS pixels")
    titolo.tipo = "avvio"
    return titolo


def tocco(build, larghezza, altezza, scala_attesa, foto_dir, ruotata=None):
    """The page on a touch screen of larghezza x altezza CSS pixels, played by finger only:
    the scale the page chooses, every window whole on it; "Avvio" and the menu by taps, a
    counting question answered on the pad wrongly then rightly, a comparison and a question
    of "Corrispondenza 1 a 1" by taps, a game of "Ordina i numeri" by dragging fingers (a
    second finger put down and lifted during a drag changes nothing) and one tile by a tap
    on it and one on its box, and "Esci" and "Sì" tapped."""
    with chromium.Browser(os.path.join(build, "sito")) as b:
        g = Giro(b, foto_dir)
        try:
            _tocco(b, g, larghezza, altezza, scala_attesa, foto_dir, ruotata)
        except Fallito:
            g.foto(f"fallito-{larghezza}x{altezza}")
            print("console:", "\n".join(b.console[-20:]))
            raise


def _tocco(b, g, larghezza, altezza, scala_attesa, foto_dir, ruotata=None):
    titolo = apri(b, g, larghezza, altezza, scala_attesa, tocco=True)
    dove = f"{larghezza}x{altezza}"
    scala = g.scala
    pil = PilotaTocco(g)
    intere = []

    def intera(f):
        img = g.foto()
        if f.x < 0 or f.alto < 0 or f.x + f.w > img.size[0] or f.y + f.h > img.size[1]:
            raise Fallito(f"{dove}: {f} is not whole on the page")
        intere.append(f.tipo)
        return f

    pil.clic(intera(titolo), AVVIO)
    menu = intera(pil.finestra("menu"))
    partita = Partita(pil)
    for nome, sbaglia in (("FormEs1", True), ("FormEs2", False), ("FormEs4", False)):
        es = intera(partita.apri(menu, nome))
        if nome == "FormEs1":
            # The pad is there from the start: the finger touched the program before.
            for tasto in ("1", "0"):
                letto = pil.lettore.leggi(pil.ritaglio(pil.foto(es), es, rientrato(ES1_TASTIERINO[tasto], 6)))[0]
                if letto != tasto:
                    raise Fallito(f"{dove}: the pad's key {tasto} reads {letto!r}")
        risposta = partita.domanda(es, ESERCIZI[nome], sbaglia=sbaglia, foto=f"tocco-{dove}-{nome}" if foto_dir else None)
        print(f"{dove}, {nome}: answered by finger{' wrongly, then' if sbaglia else ''} {risposta}")
        menu = partita.esci_al_menu(es, ESERCIZI[nome].cornice)

    ordn = intera(partita.apri(menu, "FormOrd"))
    posto = tessere(pil, pil.foto_ferma(ordn), ordn)
    for n in range(1, 10):
        resto = {k: v for k, v in posto.items() if k > n}
        if n == 2:
            pil.clic(ordn, ORD_TESSERE[posto[n]])
            b.idle(0.3)
            pil.clic(ordn, ORD_CASELLE[n - 1])
        else:
            # On the first tile a second finger comes down on the last box and lifts again
            # while the first still drags: the tile lands where the first finger lifts.
            pil.trascina(ordn, ORD_TESSERE[posto[n]], ORD_CASELLE[n - 1],
                         secondo=ORD_CASELLE[8] if n == 1 else None)
        partita.attendi_ordina(ordn, n, resto, faccia="si", nero=False, esatti=(n, True),
                               errati=(0, False), avanti=n == 9)
    print(f"{dove}, FormOrd: a game by finger, one tile by two taps, a second finger ignored")
    g.foto(f"tocco-{dove}-ordina")
    if ruotata:
        menu = ruota(b, g, pil, ordn, larghezza, altezza, *ruotata)
    else:
        menu = partita.esci_al_menu(ordn, RIGA_IN_ALTO)

    pil.clic(menu, MENU_ESCI)
    pil.rispondi_scatola([], "Return")
    g.attendi(lambda: b.evaluate("!document.querySelector('#fine').hidden"), "the end page")
    print(f"{dove}: scale {scala}, whole on the page: {', '.join(intere)}; the end page after Esci and Sì")
    errori = [e for e in b.errors if "favicon" not in e and "404" not in e]
    if errori:
        raise Fallito(f"{dove}: errors on the page: {errori}")


def ruota(b, g, pil, ordn, larghezza, altezza, scala, scala_ruotata):
    """The tablet turned upright while "Ordina i numeri" is open, and back: the scale goes
    down at once, the window whole in the page and nothing of the game lost; turned back,
    the window keeps that scale until the next, which comes at the page's scale again.
    Returns the menu, reached by "Esci" and "Sì" tapped on the smaller window."""
    b.emulate(altezza, larghezza, scale=1 / scala, touch=True)
    g.attendi(lambda: b.evaluate("scala.attuale()") == scala_ruotata, f"the scale {scala_ruotata} upright")
    k = scala_ruotata / scala  # screenshot pixels to a pixel of the program
    barra = ordn.y - ordn.alto  # the menu bar's height

    def intera():
        # The title bar at its place for the smaller scale, the whole window below it.
        img = g.foto()
        viste = g.finestre(img)
        if not viste:
            return None
        x, alto, w, h = viste[0]
        fondo = alto + (barra + CLIENT["ord"][1]) * k
        if x < 0 or x + w > img.size[0] or alto < 0 or fondo > img.size[1] or \
                abs(w - CLIENT["ord"][0] * k) > 10:
            return None
        return viste[0], img
    (x, alto, w, h), img = g.attendi(intera, "the window whole on the page turned upright")
    g.foto("ruotata")
    r = RIGA_IN_ALTO["esatti"]
    y = alto + barra * k
    esatti = g.lettore.leggi(img.crop((round(x + r[0] * k), round(y + r[1] * k),
                                       round(x + (r[0] + r[2]) * k), round(y + (r[1] + r[3]) * k))))[0]
    if esatti != "9":
        raise Fallito(f"turned upright, the window shows {esatti!r} right answers, not the game's 9")
    b.emulate(larghezza, altezza, scale=1 / scala, touch=True)
    # In the middle of the wider page again.
    g.attendi(lambda: (v := g.finestre(g.foto())) and v[0][0] > x + 50, "the window in the page turned back")
    if b.evaluate("scala.attuale()") != scala_ruotata:
        raise Fallito(f"turned back, the window open changed its scale to {b.evaluate('scala.attuale()')}")
    x, alto, w, h = g.finestre(g.foto())[0]
    pil.b.tap(*g.css(g.voci_menu(g.foto(), Finestra(x, alto, alto + round((barra + 8) * k), w, h))[2]))
    # The question's box is narrower than any window at this scale.
    pil.b.tap(*g.css(centro(g.attendi_sì(larga=(100, 400)))))
    menu = pil.finestra("menu")
    if b.evaluate("scala.attuale()") != scala:
        raise Fallito("the next window did not come at the page's scale")
    print(f"{larghezza}x{altezza}: turned upright, the scale went to {scala_ruotata} at once with the "
          f"window whole; turned back, the menu came at {scala}")
    return menu


def giro(b, g):
    # Every sound the page starts goes through an AudioBufferSourceNode: count those started
    # on an audio context that plays, or once it plays (a new one starts a moment later;
    # browsers keep one suspended until a gesture of the user, Firefox without a sound
    # server for ever).
    b.add_script("""
        (function () {
            window.tivoroSuoni = 0;
            const start = AudioBufferSourceNode.prototype.start;
            AudioBufferSourceNode.prototype.start = function (...a) {
                const c = this.context;
                if (c.state === 'running')
                    window.tivoroSuoni++;
                else
                    c.addEventListener('statechange', function conta() {
                        if (c.state === 'running') {
                            window.tivoroSuoni++;
                            c.removeEventListener('statechange', conta);
                        }
                    });
                return start.apply(this, a);
            };
        })();""")
    # A desktop browser window: the pointer at the page's scale.
    titolo = apri(b, g, 1280, 800, 1.35)
    img = g.foto("1-titolo")
    # Around the windows the canvas has the page's colour.
    if img.getpixel((2, 2)) != (192, 192, 192):
        raise Fallito(f"the canvas around the windows is {img.getpixel((2, 2))}, not the page's grey")

    g.clic(titolo, AVVIO)
    menu = g.finestra(CLIENT["menu"], "the menu")
    g.foto("2-menu")

    pil = PilotaWeb(g)
    partita = Partita(pil)
    for nome in ("FormEs1", "FormEs5", "FormEs4", "FormEs2", "FormEs3"):
        # One question answered wrongly, then rightly: the face, the counts and "avanti"
        # after each (Partita.domanda).
        es = partita.apri(menu, nome)
        suoni = b.evaluate("window.tivoroSuoni")
        risposta = partita.domanda(es, ESERCIZI[nome], sbaglia=True, foto=f"3-{nome}" if g.foto_dir else None)
        print(f"{nome}: answered wrongly, then {risposta}")
        g.attendi(lambda: b.evaluate("window.tivoroSuoni") >= suoni + 2, f"{nome}: the two answers' sounds")
        g.vivo(f"after {nome}")
        if nome == "FormEs1":
            # "Informazioni" answered: the same exercise, counts unchanged.
            pil.voce_menu(es, 1)
            g.scatola("Informazioni")

            # Its icon, drawn by Qt from code (the pictures of Qt's styles are cut from
            # this build): the blue of the "i" at the box's left, wherever the box stands.
            def icona():
                img = g.foto("4-informazioni")
                return any(w < 600 and sum(p[2] > 150 and p[0] < 100 and p[1] < 100 for p in
                                           img.crop((x, y, x + 60, y + h)).getdata()) >= 20
                           for x, y, w, h in g.finestre(img))
            g.attendi(icona, "the Informazioni box's icon")
            b.key("Enter", 13)
            partita.attendi_stato(es, ESERCIZI[nome].cornice, faccia="si", esatti=(1, True),
                                  errati=(1, True), avanti=True)
        menu = partita.esci_al_menu(es, ESERCIZI[nome].cornice)

    # "Ordina i numeri": tile 1 dropped on the second box is wrong (the window turns black,
    # nothing moves); then tile 1 dragged onto the first box, tile 2 placed by two taps.
    ordn = partita.apri(menu, "FormOrd")
    img = pil.foto_ferma(ordn)
    posto = tessere(pil, img, ordn)
    if sorted(posto) != list(range(1, 10)):
        raise Fallito(f"the tiles read {sorted(posto)}, not 1 to 9")
    pil.trascina(ordn, ORD_TESSERE[posto[1]], ORD_CASELLE[1])
    partita.attendi_ordina(ordn, 0, posto, faccia="no", nero=True)
    pil.trascina(ordn, ORD_TESSERE[posto[1]], ORD_CASELLE[0])
    resto = {k: v for k, v in posto.items() if k > 1}
    partita.attendi_ordina(ordn, 1, resto, faccia="si", nero=False, esatti=(1, True),
                           errati=(1, True), avanti=False)
    g.clic(ordn, ORD_TESSERE[posto[2]])
    b.idle(0.3)
    g.clic(ordn, ORD_CASELLE[1])
    resto = {k: v for k, v in posto.items() if k > 2}
    partita.attendi_ordina(ordn, 2, resto, faccia="si", nero=False, esatti=(2, True),
                           errati=(1, True), avanti=False)
    print("FormOrd: one tile dropped on the wrong box, one dragged, one placed by taps")
    g.foto("6-ordina")
    g.vivo("after Ordina i numeri")
    menu = partita.esci_al_menu(ordn, RIGA_IN_ALTO)

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
    # After a reload by the page itself, Chromium maps the protocol's pointer through the
    # emulated screen once more (the page gets 1.35 times the place sent) until the screen
    # is emulated again; a real screen has no such step.
    b.emulate(1280, 800, scale=1 / 1.35)
    # The pointers that are pictures ("avanti", the buttons of "Corrispondenza 1 a 1") are left
    # out rather than warned about: the browser shows its own arrow.
    avvisi = [riga for riga in b.console if "cursor" in riga]
    if avvisi:
        raise Fallito(f"the console warns about pointers: {avvisi}")


def una_domanda(b, g, come, menu=None):
    """From the title window (the page loaded again), or from `menu`: the menu, one question of
    "Conta fino a 9" answered rightly, its sound started, and back to the menu."""
    if menu is None:
        ricarica(b, g)
        titolo = g.finestra(CLIENT["avvio"], f"the title window ({come})", secondi=120)
        g.clic(titolo, AVVIO)
        menu = g.finestra(CLIENT["menu"], f"the menu ({come})")
    partita = Partita(PilotaWeb(g))
    es = partita.apri(menu, "FormEs1")
    suoni = b.evaluate("window.tivoroSuoni")
    partita.domanda(es, ESERCIZI["FormEs1"])
    g.attendi(lambda: b.evaluate("window.tivoroSuoni") > suoni, f"{come}: the answer's sound")
    print(f"{come}: the menu, a question answered, its sound started")
    return partita.esci_al_menu(es, ESERCIZI["FormEs1"].cornice)


def ricarica(b, g):
    """Loads the page again, and waits for its program to run: until the new page draws,
    the browser may go on showing the old one, whose windows take no click."""
    b.evaluate("window.tivoroVecchia = true")
    b.open("tivoro.html")
    g.attendi(lambda: b.evaluate("!window.tivoroVecchia && typeof qtLoader === 'object' && "
                                 "qtLoader.status === 'Running'"), "the page loaded again", 120)


def aspetta(b, espressione):
    """The value of a promise of the page."""
    risposta = b.call("Runtime.evaluate", expression=espressione, awaitPromise=True,
                      returnByValue=True)
    if "exceptionDetails" in risposta:
        raise Fallito(f"{espressione}: {risposta['result'].get('description')}")
    return risposta["result"].get("value")


def altra_build(build, cartella, nome):
    """Another build of the program (its script differs), put together as the build does,
    in `cartella`/sito; returns the name of its program's folder."""
    for f in ("qtloader.js", "tivoro.js", "tivoro.wasm", "tivoro.data"):
        shutil.copy(os.path.join(build, f), cartella)
    with open(os.path.join(cartella, "tivoro.js"), "a") as js:
        js.write(f"\n// {nome}\n")
    radice = os.path.join(QUI, "..", "..")
    icone = ";".join(os.path.join(radice, "assets", "icone", f"tivoro-{n}.png")
                     for n in ("192", "512", "maskable"))
    subprocess.run(["cmake", f"-DPROGRAMMA={cartella}", f"-DPAGINA={radice}/src/web",
                    f"-DSITO={cartella}/sito", f"-DICONE={icone}", "-P",
                    os.path.join(radice, "cmake", "Sito.cmake")], check=True)
    return programma(os.path.join(cartella, "sito"))


def programma(sito):
    cartella, = [d for d in os.listdir(sito) if d.startswith("tivoro-")]
    return cartella


def immagazzinata(b, g, nuova, vecchia, cosa, controlla=False):
    """Waits until the page's service worker has stored the build `nuova` whole (its store
    is named by the build's hash) and dropped the build `vecchia`. With `controlla` the page
    checks for a new service worker itself every few seconds, as each visit of another tab
    would (Chromium may let one check join another that it has not finished)."""
    negozi = "caches.keys().then(k => k.join(' '))"
    volte = [0]

    def fatto():
        volte[0] += 1
        if controlla and volte[0] % 10 == 1:
            aspetta(b, "navigator.serviceWorker.getRegistration().then(r => r.update()).catch(e => 0)")
        return nuova[7:] in aspetta(b, negozi) and vecchia[7:] not in aspetta(b, negozi)
    try:
        g.attendi(fatto, f"{cosa}: the new build stored, the old one dropped", 60)
    except Fallito as e:
        stato = aspetta(b, "navigator.serviceWorker.getRegistration().then(r => JSON.stringify("
                        "[r.installing, r.waiting, r.active].map(w => w && [w.state, w.scriptURL])))")
        raise Fallito(f"{e} (stores: {aspetta(b, negozi)}; workers: {stato})")


def gira(b, g, cosa, atteso):
    """The page loaded again: the title window, of the build `atteso` (the folder of its
    program, all of whose files it loaded)."""
    ricarica(b, g)
    g.finestra(CLIENT["avvio"], f"the title window ({cosa})", secondi=120)
    caricati = b.evaluate("performance.getEntriesByType('resource').map(r => r.name).join(' ')")
    if any(f"{atteso}/{f}" not in caricati for f in ("qtloader.js", "tivoro.js", "tivoro.wasm")):
        raise Fallito(f"{cosa}: the page did not play the build {atteso}: {caricati}")


def offline(b, g, build):
    """The web app, in Chromium: installable; after the first visit (giro) it plays with the
    server gone. A new build on the same server plays at the next visit with the network on,
    and is stored then; a tab open on the old build keeps playing until it is loaded again."""
    sito = os.path.join(build, "sito")
    g.attendi(lambda: b.evaluate("!!navigator.serviceWorker.controller"),
              "the service worker in charge of the page", 60)
    errori = b.call("Page.getInstallabilityErrors")["installabilityErrors"]
    if errori:
        raise Fallito(f"Chromium would not install the page: {errori}")
    # Only the service worker's store, not the browser's cache, may serve the page now.
    b.call("Network.enable")
    b.call("Network.setCacheDisabled", cacheDisabled=True)
    b.serve(None)
    menu = una_domanda(b, g, "offline")

    with tempfile.TemporaryDirectory(prefix="tivoro-build-") as altre:
        os.makedirs(f"{altre}/2")
        os.makedirs(f"{altre}/3")
        prima = programma(sito)
        seconda = altra_build(build, f"{altre}/2", "the second build")
        # The next visit with the network on plays the new build, and stores it.
        b.serve(f"{altre}/2/sito")
        gira(b, g, "the next visit, a new build published", seconda)
        immagazzinata(b, g, seconda, prima, "the next visit")
        b.serve(None)
        gira(b, g, "offline after the update", seconda)
        # A tab open on a build, while another tab visits a newer one (its check of the
        # service worker made here): the newer is stored, the open tab plays on.
        menu = una_domanda(b, g, "the second build, offline")
        # Built seconds after the second: a server answers a check of sw.js made with the
        # time of the copy it has by "not modified" when the file is no newer.
        terza = altra_build(build, f"{altre}/3", "the third build")
        b.serve(f"{altre}/3/sito")
        immagazzinata(b, g, terza, seconda, "another tab's visit", controlla=True)
        menu = una_domanda(b, g, "the tab of the second build, the third one stored", menu)
        b.serve(None)
        gira(b, g, "that tab loaded again, offline", terza)
        print(f"update: {prima} played offline; {seconda} played at the next visit, then "
              f"offline; {terza} stored while a tab of {seconda} played on")

    # Opened as a file, the page says that it needs a web server (and the browser, that it
    # fetches no manifest from a file).
    prima = len(b.errors)
    b.call("Page.navigate", url="file://" + os.path.abspath(os.path.join(sito, "tivoro.html")))
    g.attendi(lambda: "server web" in (b.evaluate("document.body.innerText") or ""),
              "the page opened as a file saying it needs a web server")
    b.idle(1)
    b.errors[prima:] = [e for e in b.errors[prima:] if "file://" not in e and "ERR_FAILED" not in e]


def main():
    argomenti = [a for a in sys.argv[1:] if a != "--firefox"]
    browser = firefox if "--firefox" in sys.argv else chromium
    build = argomenti[0]
    foto_dir = argomenti[1] if len(argomenti) > 1 else None
    if foto_dir:
        os.makedirs(foto_dir, exist_ok=True)
    with browser.Browser(os.path.join(build, "sito")) as b:
        g = Giro(b, foto_dir)
        try:
            giro(b, g)
            if browser is chromium:
                offline(b, g, build)
        except Fallito as e:
            g.foto("fallito")
            print("FAILED:", e)
            print("console:", "\n".join(b.console[-20:]))
            return 1
        errori = [e for e in b.errors if "favicon" not in e and "404" not in e]
        if errori:
            print("FAILED: errors on the page:", errori)
            return 1
    if browser is firefox:
        print("giro: passed")
        return 0
    # A phone's page held sideways (an 800 x 600 browser window) and a classroom's board.
    for larghezza, altezza, scala, ruotata in ((800, 480, 0.8, 0.65), (1920, 1080, 1.85, None)):
        try:
            tocco(build, larghezza, altezza, scala, foto_dir, (scala, ruotata) if ruotata else None)
        except Fallito as e:
            print("FAILED:", e)
            return 1
    print("giro: passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
