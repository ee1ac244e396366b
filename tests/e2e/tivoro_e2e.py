#!/usr/bin/python3
"""Tivoro from the outside: the built program in a private Xvfb, driven with real X input
(xdotool) and read from screenshots of its windows, the way a child sees them.

    tivoro_e2e.py EXE SCENARIO... [--docs DIR]

Scenarios (each starts the program afresh; all share one X server):
  giro         every window: title, menu, every menu button, three or more questions of
               each exercise answered right by counting what is on the screen, a wrong
               answer in each, the counts, the faces, "Azzera conteggio", "Informazioni",
               "Esci" answered No and Yes, and the end of the program with status 0
  breve        the title, the menu and one question of each exercise, then the end
  cartella     the program copied into a folder whose name has blanks and accented letters
  senza-gif    the program without its gif/ folder
  senza-suoni  the program without its suoni/ folder
  senza-audio  no audio device at all (PulseAudio pointed at nothing)
  uscita-chiusa  standard output and error into a pipe whose reader has gone
  fine-sessione  a sound played through a private sound server, then the X server goes
               away: the program ends with status 1 and Qt's message, no crash, no core
  ordina-tocchi  one game of "Ordina i numeri" by clicks alone, no drag: tiles picked up,
               put down and moved, a wrong and nine right boxes
  ordina-tasti   one game of "Ordina i numeri" by keys alone: arrows, Space, Enter, Escape,
               with the focus ring followed on the screen
  ordina-coperta  a tile of "Ordina i numeri" dragged onto its box where another program's
               window covers it: nothing placed, nothing counted
  tasto-tenuto  the program on a busy machine (CollegamentoLento): Enter and Space held down
               on a button of "Corrispondenza 1 a 1" act once each, Enter held on the
               menu's "Esci" asks once and does not answer
  schermo-piccolo  a screen smaller than the windows (its own Xvfb, and a scale factor of 2):
               each window and message box inside the screen where it fits, its top-left
               corner on the screen where it does not

--docs DIR saves screenshots of every window into DIR (the normal run writes nothing).
Layout positions are the program's own, in twips (15 twips = 1 pixel).
"""

import argparse
import glob
import os
import resource
import selectors
import shutil
import socket
import struct
import subprocess
import sys
import tempfile
import threading
import time

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont
from Xlib import X
from Xlib import display as xdisplay
from Xlib import error as xerror


def termina_processo(proc):
    """Ends a process of the test: asked first, killed after five seconds."""
    if proc.poll() is None:
        proc.terminate()
        try:
            proc.wait(5)
        except subprocess.TimeoutExpired:
            proc.kill()
            proc.wait()


class Fallito(Exception):
    """The program did not do what a child would expect."""


def attendi(programma, condizione, cosa, secondi, pausa):
    """What condizione() gives once it is true, asked every `pausa` seconds: Fallito when the
    program ends first or `secondi` pass."""
    limite = time.monotonic() + secondi
    while True:
        v = condizione()
        if v:
            return v
        if not programma.vivo():
            raise Fallito(f"the program ended (status {programma.uscita()}) while waiting for {cosa}")
        if time.monotonic() > limite:
            raise Fallito(f"timed out waiting for {cosa}")
        time.sleep(pausa)


def px(twips):
    return (twips + 7) // 15


def R(left, top, width, height):
    """A rectangle in pixels (x, y, w, h) from one in twips."""
    return (px(left), px(top), px(width), px(height))


def rientrato(r, d):
    return (r[0] + d, r[1] + d, r[2] - 2 * d, r[3] - 2 * d)


def centro(r):
    return (r[0] + r[2] // 2, r[1] + r[3] // 2)


# ---------------------------------------------------------------------------------------
# Layout of the windows (twips, relative to the client area)

CLIENT = {  # client area of each kind of window, in pixels
    "avvio": (px(10020), px(7770)),
    "menu": (px(9600), px(7200)),
    "esercizio": (px(9570), px(6885)),
    "ord": (px(10305), px(7695)),
}

AVVIO = R(3240, 4800, 3375, 1215)
MENU_BOTTONI = {
    "FormEs1": R(240, 240, 4095, 615),  # Command7
    "FormEs5": R(240, 960, 4095, 615),  # Command4
    "FormEs4": R(240, 1680, 4095, 615),  # Command2
    "FormOrd": R(240, 2400, 4095, 615),  # Command5
    "FormEs2": R(240, 3120, 4095, 615),  # Command3
    "FormEs3": R(240, 3840, 4095, 615),  # Command1
}
MENU_ESCI = R(4320, 4800, 3975, 855)

def posti(punti, lato):
    return [R(x, y, lato, lato) for x, y in punti]


def leggi_disposizione():
    """The arrays of places and the frame of the exercise windows, from the table the widget
    tests read too (tests/support/disposizione.txt): ({window: {array: [nine rectangles]}},
    {where: {control: rectangle}})."""
    posti_finestre, cornici = {}, {}
    with open(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support", "disposizione.txt"),
              encoding="utf-8") as f:
        for riga in f:
            campi = riga.split("#", 1)[0].split()
            if campi and campi[0] == "posti":
                _, finestra, schiera, lato, *punti = campi
                posti_finestre.setdefault(finestra, {})[schiera] = posti(
                    [tuple(int(v) for v in p.split(",")) for p in punti], int(lato))
            elif campi:
                _, dove, controllo, rettangolo = campi
                cornici.setdefault(dove, {})[controllo] = R(*(int(v) for v in rettangolo.split(",")))
    return posti_finestre, cornici


POSTI, CORNICI = leggi_disposizione()
# The frame of the exercise windows: faces, counts, "avanti".
COLONNA_ALTA = CORNICI["alta"]
COLONNA_BASSA = CORNICI["bassa"]
RIGA_IN_ALTO = CORNICI["riga"]


ES1_SCHIERE = [POSTI["FormEs1"][f"Image{k}"] for k in (1, 2, 3)]
ES1_AREA = (0, 0, 445, 334)  # above the pad of digits
ES1_TEXT1 = R(7200, 3720, 1095, 915)

ES5_IMAGE1 = R(1680, 600, 4335, 3735)
ES5_TEXT1 = R(3240, 4920, 1095, 915)


def tastierino(r, colonne, spazio=8):
    """The keys of a pad of digits shown once a finger has touched the program: 1 to 9, 0,
    then "Return" (the tick) over what is left of the last row, filled row by row."""
    righe = (11 + colonne - 1) // colonne
    lato = (r[2] - (colonne - 1) * spazio) // colonne
    alto = (r[3] - (righe - 1) * spazio) // righe
    tasti = {}
    for k, nome in enumerate(["1", "2", "3", "4", "5", "6", "7", "8", "9", "0", "Return"]):
        celle = colonne - 10 % colonne if nome == "Return" else 1
        riga, colonna = divmod(k, colonne)
        tasti[nome] = (r[0] + colonna * (lato + spazio), r[1] + riga * (alto + spazio),
                       celle * lato + (celle - 1) * spazio, alto)
    return tasti


ES1_TASTIERINO = tastierino(R(240, 5040, 5280, 1680), 6)
ES5_TASTIERINO = tastierino(R(90, 600, 1500, 4740), 2)

ES2_SCHIERE = [POSTI["FormEs2"][f"Image{k}"] for k in (1, 2, 3, 4)]
ES3_SCHIERE = [POSTI["FormEs3"][f"Image{k}"] for k in (1, 2, 3, 4)]
CONFRONTO_AREA = (0, 0, 445, 300)  # above Line1
CONFRONTO_META = px(3400)  # between the left and the right half of FormEs2
CONFRONTO_IMAGE5 = R(1920, 4800, 855, 855)
CONFRONTO_IMAGE6 = R(3720, 4800, 855, 855)
CONFRONTO_LABEL4 = R(2880, 4920, 735, 615)
CONFRONTO_SEGNI = {"<": R(1680, 5760, 975, 615), "=": R(2760, 5760, 975, 615),
                   ">": R(3840, 5760, 975, 615)}

ES4_DATI = [POSTI["FormEs4"]["Image1"], POSTI["FormEs4"]["Image2"]]
ES4_GRIGLIA = POSTI["FormEs4"]["Image3"]
ES4_AREA_DATI = (0, 0, 260, 305)
ES4_METTI = R(720, 4680, 1575, 975)
ES4_CONTROLLA = R(2760, 4680, 1575, 975)
ES4_SVUOTA = R(4800, 4680, 1575, 975)

ORD_CASELLE = POSTI["FormOrd"]["Label4"]
ORD_TESSERE = POSTI["FormOrd"]["Label3"]

QUI = os.path.dirname(os.path.abspath(__file__))
RADICE = os.path.dirname(os.path.dirname(QUI))
ICONE = os.path.join(RADICE, "assets", "icone")


# ---------------------------------------------------------------------------------------
# Reading pictures

def maschera_diversa(img, colore, soglia=40):
    """White where a pixel differs from colore by more than soglia in some channel."""
    d = ImageChops.difference(img, Image.new("RGB", img.size, colore))
    r, g, b = d.split()
    m = ImageChops.lighter(ImageChops.lighter(r, g), b)
    return m.point(lambda v: 255 if v > soglia else 0)


def bianchi(maschera):
    return maschera.histogram()[255]


def uguali(a, b, tolleranza=24):
    """Two crops show the same picture (pixel for pixel, give or take a little)."""
    if a.size != b.size:
        return False
    return maschera_diversa_img(a, b, tolleranza).getbbox() is None


def maschera_diversa_img(a, b, soglia):
    d = ImageChops.difference(a, b)
    r, g, b2 = d.split()
    m = ImageChops.lighter(ImageChops.lighter(r, g), b2)
    return m.point(lambda v: 255 if v > soglia else 0)


def inchiostro(img, soglia=100):
    """White where the pixel is dark, as text in the window-text colour is."""
    r, g, b = img.split()
    m = ImageChops.lighter(ImageChops.lighter(r, g), b)
    return m.point(lambda v: 255 if v < soglia else 0)


def componenti(maschera):
    """Sizes of the 8-connected white regions of a mask."""
    w, h = maschera.size
    dati = maschera.tobytes()
    visto = bytearray(w * h)
    dimensioni = []
    for i in range(w * h):
        if dati[i] and not visto[i]:
            visto[i] = 1
            pila = [i]
            n = 0
            while pila:
                j = pila.pop()
                n += 1
                y, x = divmod(j, w)
                for dy in (-1, 0, 1):
                    yy = y + dy
                    if yy < 0 or yy >= h:
                        continue
                    for dx in (-1, 0, 1):
                        xx = x + dx
                        if 0 <= xx < w:
                            k = yy * w + xx
                            if dati[k] and not visto[k]:
                                visto[k] = 1
                                pila.append(k)
            dimensioni.append(n)
    return dimensioni


def file_carattere(nome):
    out = subprocess.run(["fc-match", "-f", "%{file}", nome], capture_output=True, text=True, check=True)
    return out.stdout.strip()


class Lettore:
    """Reads digits and signs by comparing each glyph on the screen with glyphs drawn in
    the font that "Arial" resolves to (Liberation Sans Bold)."""

    LATO = 24

    def __init__(self, caratteri="0123456789<=>", carattere="Arial:bold"):
        font = ImageFont.truetype(file_carattere(carattere), 48)
        self.modelli = {}
        for c in caratteri:
            img = Image.new("L", (120, 120), 255)
            ImageDraw.Draw(img).text((30, 20), c, font=font, fill=0)
            m = img.point(lambda v: 255 if v < 128 else 0)
            self.modelli[c] = self._normale(m.crop(m.getbbox()))

    def _normale(self, m):
        w, h = m.size
        s = self.LATO / max(w, h)
        nw, nh = max(1, round(w * s)), max(1, round(h * s))
        piccola = m.resize((nw, nh), Image.BILINEAR)
        tela = Image.new("L", (self.LATO, self.LATO), 0)
        tela.paste(piccola, ((self.LATO - nw) // 2, (self.LATO - nh) // 2))
        return tela

    def _distanza(self, a, b):
        return sum(ImageChops.difference(a, b).getdata()) / (255 * self.LATO * self.LATO)

    def leggi(self, img):
        """The text in a crop: (text, x of its first dark pixel) or ("", None)."""
        m = inchiostro(img)
        w, h = m.size
        colonne = [m.crop((x, 0, x + 1, h)).getbbox() is not None for x in range(w)]
        pezzi = []
        x = 0
        while x < w:
            if colonne[x]:
                inizio = x
                while x < w and colonne[x]:
                    x += 1
                pezzi.append((inizio, x))
            x += 1
        testo = ""
        primo = None
        for a, b in pezzi:
            g = m.crop((a, 0, b, h))
            box = g.getbbox()
            if box is None or bianchi(g) < 6:
                continue
            g = self._normale(g.crop(box))
            c = min(self.modelli, key=lambda k: self._distanza(g, self.modelli[k]))
            testo += c
            if primo is None:
                primo = a
        return testo, primo


# ---------------------------------------------------------------------------------------
# The X server, the program and its windows

class Finestra:
    def __init__(self, wid, tipo, x, y, w, h):
        self.id = wid
        self.tipo = tipo
        self.x, self.y, self.w, self.h = x, y, w, h
        cw, ch = CLIENT.get(tipo, (w, h))
        # The client area lies under the menu bar of the exercise windows.
        self.origine = (0, h - ch)

    def __repr__(self):
        return f"<{self.tipo} {self.id} {self.w}x{self.h}>"


class Schermo:
    """A private Xvfb on a display that no one else uses."""

    def __init__(self, cartella, dimensioni=(1280, 1024)):
        self.cartella = cartella
        self.dimensioni = dimensioni
        self.proc = subprocess.Popen(
            ["Xvfb", "-displayfd", "1", "-screen", "0", "%dx%dx24" % dimensioni, "-noreset", "-nolisten", "tcp"],
            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        letto = b""
        sel = selectors.DefaultSelector()
        sel.register(self.proc.stdout, selectors.EVENT_READ)
        limite = time.monotonic() + 20
        while b"\n" not in letto:
            if time.monotonic() > limite or self.proc.poll() is not None:
                self.chiudi()
                raise Fallito("Xvfb gave no display number")
            if sel.select(timeout=0.2):
                parte = os.read(self.proc.stdout.fileno(), 64)
                if not parte:
                    break
                letto += parte
        sel.close()
        self.display = ":" + letto.decode().strip()
        runtime = os.path.join(cartella, "runtime")
        os.makedirs(runtime, mode=0o700, exist_ok=True)
        self.env = dict(os.environ)
        for v in ("QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS",
                  "QT_AUTO_SCREEN_SCALE_FACTOR", "QT_FONT_DPI"):
            self.env.pop(v, None)
        self.env["DISPLAY"] = self.display
        self.xd = xdisplay.Display(self.display)
        self.radice = self.xd.screen().root
        self.env["XDG_RUNTIME_DIR"] = runtime
        # A build with LeakSanitizer reports what libdbus keeps; that is not the program's.
        lsan = self.env.get("LSAN_OPTIONS", "")
        self.env["LSAN_OPTIONS"] = (lsan + ":" if lsan else "") + \
            f"suppressions={os.path.join(QUI, '..', 'lsan.supp')}:print_suppressions=0"

    def chiudi(self):
        if getattr(self, "xd", None) is not None:
            self.xd.close()
            self.xd = None
        termina_processo(self.proc)

    def x(self, *argomenti, controlla=True):
        r = subprocess.run(list(argomenti), env=self.env, capture_output=True, text=True, timeout=20)
        if controlla and r.returncode != 0:
            raise Fallito(f"{' '.join(argomenti)} failed: {r.stderr.strip()}")
        return r

    def xdo(self, *argomenti):
        return self.x("xdotool", *map(str, argomenti))

    def visibili(self):
        """The program's windows on the screen (named "Tivoro" and mapped), in stacking order."""
        out = []
        for w in self.radice.query_tree().children:
            try:
                if w.get_attributes().map_state == X.IsViewable and w.get_wm_name() == "Tivoro":
                    out.append(w.id)
            except (xerror.BadWindow, xerror.BadDrawable, xerror.BadMatch):
                continue  # gone meanwhile
        return out

    def transitoria(self, wid):
        """Whether a window belongs to another (a message box), or None if it has gone.
        Not remembered: a later run of the program may reuse the window's id."""
        try:
            return self.xd.create_resource_object("window", wid).get_wm_transient_for() is not None
        except (xerror.BadWindow, xerror.BadDrawable, xerror.BadMatch):
            return None

    def geometria(self, wid):
        try:
            g = self.xd.create_resource_object("window", wid).get_geometry()
        except (xerror.BadWindow, xerror.BadDrawable, xerror.BadMatch):
            return None
        return g.x, g.y, g.width, g.height

    def sullo_schermo(self, wid):
        """Where a window stands on the screen: (x, y, width, height), or None if it has gone."""
        try:
            w = self.xd.create_resource_object("window", wid)
            g = w.get_geometry()
            p = self.radice.translate_coords(w, 0, 0)
        except (xerror.BadWindow, xerror.BadDrawable, xerror.BadMatch):
            return None
        return p.x, p.y, g.width, g.height

    def foto(self, wid, parte=None):
        """A screenshot of one window (or of its top-left part of the given size), or None
        if it has gone."""
        g = self.geometria(wid)
        if g is None:
            return None
        larghezza, altezza = parte or g[2:]
        try:
            w = self.xd.create_resource_object("window", wid)
            raw = w.get_image(0, 0, larghezza, altezza, X.ZPixmap, 0xFFFFFFFF)
        except (xerror.BadWindow, xerror.BadDrawable, xerror.BadMatch):
            return None
        return Image.frombytes("RGB", (larghezza, altezza), raw.data, "raw", "BGRX")


class CollegamentoLento:
    """The program's link to the X server as on a busy machine: every key release reaches
    the program alone, and what follows it some milliseconds later. So a held key's
    auto-repeat (X11 sends a release and a press at the same time for each repeat) comes
    as Qt cannot mark it, on every repeat, on any machine. The program connects to
    `display`; the bytes pass unchanged, with the file descriptors that go with them."""

    RITARDO = 0.015  # seconds; the server repeats every 40 ms

    def __init__(self, schermo):
        self.reale = "\0/tmp/.X11-unix/X" + schermo.display.lstrip(":")
        self.rilasci = 0  # key releases that passed
        self.ascolto = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        for n in range(1000, 1100):  # far above the displays Xvfb picks
            try:
                self.ascolto.bind(f"\0/tmp/.X11-unix/X{n}")
                break
            except OSError:
                continue
        else:
            raise Fallito("no free display number for the slow link")
        self.display = f":{n}"
        self.ascolto.listen(8)
        threading.Thread(target=self._accetta, daemon=True).start()

    def chiudi(self):
        self.ascolto.close()

    def _accetta(self):
        while True:
            try:
                programma, _ = self.ascolto.accept()
            except OSError:
                return
            server = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
            server.connect(self.reale)
            threading.Thread(target=self._passa, args=(programma, server, False), daemon=True).start()
            threading.Thread(target=self._passa, args=(server, programma, True), daemon=True).start()

    def _passa(self, da, a, dal_server):
        buf, fds, inizio = b"", [], True
        try:
            while True:
                dati, nuovi, _, _ = socket.recv_fds(da, 65536, 16)
                if not dati:
                    break
                buf, fds, fuori = buf + dati, fds + nuovi, b""
                # The server's messages: the set-up reply, then errors and events of 32
                # bytes, replies and generic events of 32 bytes and more.
                while dal_server and len(buf) >= (8 if inizio else 32):
                    if inizio:
                        n = 8 + 4 * struct.unpack_from("<H", buf, 6)[0]
                    else:
                        n = 32 + 4 * struct.unpack_from("<I", buf, 4)[0] if buf[0] & 0x7F in (1, 35) else 32
                    if len(buf) < n:
                        break
                    rilascio = not inizio and buf[0] & 0x7F == 3  # KeyRelease
                    fuori, buf, inizio = fuori + buf[:n], buf[n:], False
                    if rilascio:
                        self.rilasci += 1
                        fds = self._manda(a, fuori, fds)
                        fuori = b""
                        time.sleep(self.RITARDO)
                fds = self._manda(a, fuori if dal_server else buf, fds)
                if not dal_server:
                    buf = b""
        except OSError:
            pass
        for s in (da, a):
            try:
                s.shutdown(socket.SHUT_RDWR)
            except OSError:
                pass

    @staticmethod
    def _manda(a, dati, fds):
        """Sends the bytes, with the descriptors that came with them; those that wait for
        bytes to go with, it returns."""
        if not dati:
            return fds
        if fds:
            a.sendall(dati[socket.send_fds(a, [dati], fds):])
            for fd in fds:
                os.close(fd)
        else:
            a.sendall(dati)
        return []


class Tivoro:
    """One run of the program."""

    def __init__(self, schermo, eseguibile, cwd, registro, env_extra=None, uscita=None):
        self.s = schermo
        env = dict(schermo.env)
        env.update(env_extra or {})
        self.registro = registro
        self._log = open(registro, "wb")
        # Its output goes into the log, or where the test says (then the log stays empty).
        self.proc = subprocess.Popen([eseguibile], cwd=cwd, env=env, stdout=self._log if uscita is None else uscita,
                                     stderr=subprocess.STDOUT)

    def vivo(self):
        return self.proc.poll() is None

    def uscita(self):
        return self.proc.returncode

    def testo_registro(self):
        if not self._log.closed:
            self._log.flush()
        with open(self.registro, "rb") as f:
            return f.read().decode("utf-8", "replace")

    def chiudi(self):
        termina_processo(self.proc)
        self._log.close()


class Pilota:
    """What a child does and sees, through the X server."""

    def __init__(self, schermo, programma, lettore, cartella_foto=None):
        self.s = schermo
        self.p = programma
        self.lettore = lettore
        self.cartella_foto = cartella_foto
        self.ultima = None  # the last screenshot, kept for the failure report
        self._facce = {}

    # -- waiting --------------------------------------------------------------------

    def attendi(self, condizione, cosa, secondi=15):
        return attendi(self.p, condizione, cosa, secondi, 0.03)

    def finestre(self):
        """The program's visible windows: (main windows, message boxes)."""
        principali, scatole = [], []
        for wid in self.s.visibili():
            t = self.s.transitoria(wid)
            if t is None:
                continue
            (scatole if t else principali).append(wid)
        return principali, scatole

    def tipo_di(self, w, h):
        for tipo, (cw, ch) in CLIENT.items():
            if w == cw and (h == ch or (tipo in ("esercizio", "ord") and ch < h < ch + 60)):
                return tipo
        return None

    def finestra(self, tipo, secondi=15):
        """Waits until the one main window of the program is of the given kind and drawn."""
        def trova():
            principali, scatole = self.finestre()
            if len(principali) != 1 or scatole:
                return None
            g = self.s.geometria(principali[0])
            if g is None or self.tipo_di(g[2], g[3]) != tipo:
                return None
            f = Finestra(principali[0], tipo, *g)
            img = self.s.foto(f.id)
            if img is None or img.size != (f.w, f.h):
                return None
            # Drawn (a window just mapped shows what was under it until it paints) and
            # settled (two equal screenshots).
            if not self.disegnata(img, f):
                return None
            di_nuovo = self.s.foto(f.id)
            if di_nuovo is None or ImageChops.difference(img, di_nuovo).getbbox() is not None:
                return None
            self.ultima = di_nuovo
            return f
        return self.attendi(trova, f"the {tipo} window", secondi)

    def disegnata(self, img, f):
        """The window shows its own controls: dark text where its captions are."""
        def scritto(r, minimo=30):
            return bianchi(inchiostro(self.ritaglio(img, f, r))) >= minimo
        if f.tipo == "avvio":
            return scritto(AVVIO)
        if f.tipo == "menu":
            return all(scritto(r) for r in MENU_BOTTONI.values()) and scritto(MENU_ESCI)
        # The exercise windows: the menu bar with its three items.
        barra = img.crop((0, 0, f.w, f.origine[1]))
        return bianchi(inchiostro(barra)) >= 100

    def scatola(self, prima, secondi=15):
        """Waits for a new message box of the program, drawn and settled; its window id."""
        precedente = {}

        def nuova():
            _, scatole = self.finestre()
            nuove = [b for b in scatole if b not in prima]
            if len(nuove) != 1:
                return None
            img = self.s.foto(nuove[0])
            if img is None:
                return None
            # The box's own grey in its corner, some text, and no change since last time.
            r, g, b = img.getpixel((2, 2))
            if not (r == g == b and r > 200) or bianchi(inchiostro(img)) < 50:
                return None
            p = precedente.get(nuove[0])
            precedente[nuove[0]] = img
            if p is None or ImageChops.difference(p, img).getbbox() is not None:
                return None
            return nuove[0]
        return self.attendi(nuova, "a message box", secondi)

    def nessuna_scatola(self):
        _, scatole = self.finestre()
        if scatole:
            raise Fallito(f"unexpected message boxes: {scatole}")

    # -- looking --------------------------------------------------------------------

    def punto(self, f, p):
        return (f.origine[0] + p[0], f.origine[1] + p[1])

    def foto(self, f):
        img = self.s.foto(f.id)
        if img is None:
            raise Fallito(f"no screenshot of {f}")
        self.ultima = img
        return img

    def foto_ferma(self, f):
        """A screenshot once the window has stopped changing."""
        precedente = [None]

        def ferma():
            img = self.s.foto(f.id)
            if img is None:
                return None
            p = precedente[0]
            precedente[0] = img
            if p is not None and ImageChops.difference(p, img).getbbox() is None:
                self.ultima = img
                return img
            return None
        return self.attendi(ferma, f"{f} to settle")

    def ritaglio(self, img, f, r):
        x, y = self.punto(f, (r[0], r[1]))
        return img.crop((x, y, x + r[2], y + r[3]))

    def sfondo(self, img, f):
        return img.getpixel(self.punto(f, (2, 2)))

    def salva(self, f, nome):
        if not self.cartella_foto:
            return
        img = self.foto_ferma(f)
        img.save(os.path.join(self.cartella_foto, nome + ".png"), optimize=True)

    def modelli_facce(self, lato):
        if lato not in self._facce:
            self._facce[lato] = {n: Image.open(os.path.join(ICONE, n + ".png")).convert("RGBA").resize(lato, Image.LANCZOS)
                                 for n in ("si", "no")}
        return self._facce[lato]

    def faccia(self, img, f, cornice):
        """Which face the feedback place shows: "si" (laughing), "no" (sad) or None."""
        r = cornice["facce"]
        area = self.ritaglio(img, f, r)
        if f.tipo == "ord":
            # An image control: the face stretched over the whole place.
            modelli = self.modelli_facce((r[2], r[3]))
            posizioni = [(0, 0)]
        else:
            # A button: the 32 x 32 face in the middle, give or take a pixel or two.
            modelli = self.modelli_facce((32, 32))
            cx, cy = (r[2] - 32) // 2, (r[3] - 32) // 2
            posizioni = [(cx + dx, cy + dy) for dx in range(-3, 4) for dy in range(-3, 4)]
        distanze = {}
        for nome, m in modelli.items():
            alfa = m.split()[3].point(lambda v: 255 if v == 255 else 0)
            rgb = m.convert("RGB")
            n = bianchi(alfa)
            migliore = None
            for (ox, oy) in posizioni:
                pezzo = area.crop((ox, oy, ox + m.size[0], oy + m.size[1]))
                d = ImageChops.difference(pezzo, rgb).convert("L")
                d = ImageChops.multiply(d, alfa)
                v = sum(d.getdata()) / max(1, n)
                migliore = v if migliore is None else min(migliore, v)
            distanze[nome] = migliore
        vincente = min(distanze, key=distanze.get)
        altro = max(distanze, key=distanze.get)
        if distanze[vincente] > 40 or distanze[altro] < distanze[vincente] * 1.5:
            return None
        return vincente

    def conteggio(self, img, f, cornice, quale):
        """The text of a count label, as (number, with its leading blank)."""
        r = cornice[quale]
        testo, primo = self.lettore.leggi(self.ritaglio(img, f, r))
        if not testo or not testo.isdigit():
            return None
        # "0" stands at the left edge; " 1", " 12" begin with a blank.
        return int(testo), primo >= 4

    def attivo(self, img, f, r):
        """A button with a caption is enabled: its caption is dark, not greyed."""
        x, y, w, h = r
        didascalia = self.ritaglio(img, f, (x + 4, y + h // 2 + 4, w - 8, h // 2 - 8))
        return bianchi(inchiostro(didascalia)) > 20

    # -- acting ---------------------------------------------------------------------

    def clic(self, f, r):
        x, y = self.punto(f, centro(r))
        self.s.xdo("mousemove", "--window", f.id, x, y, "mousedown", "1", "mouseup", "1")

    def tasti(self, wid, *tasti):
        self.s.xdo("windowfocus", "--sync", wid)
        self.s.xdo("key", "--delay", "20", *tasti)

    def scrivi(self, f, conta, tasto):
        """A key of the answer of a counting window: typed here, tapped on its pad by a
        pilot that plays by finger."""
        self.tasti(f.id, tasto)

    def rispondi_scatola(self, prima, tasto):
        b = self.scatola(prima)
        self.tasti(b, tasto)
        self.attendi(lambda: b not in self.finestre()[1], "the message box to close")
        return b

    def voci_menu(self, img, f):
        """The x centres of the three menu-bar items, read from the menu bar."""
        barra = img.crop((0, 0, f.w, f.origine[1]))
        m = inchiostro(barra)
        h = m.size[1]
        colonne = [m.crop((x, 0, x + 1, h)).getbbox() is not None for x in range(m.size[0])]
        gruppi = []
        for x, c in enumerate(colonne):
            if not c:
                continue
            if gruppi and x - gruppi[-1][1] <= 12:
                gruppi[-1][1] = x
            else:
                gruppi.append([x, x])
        if len(gruppi) != 3:
            raise Fallito(f"the menu bar shows {len(gruppi)} items, not 3")
        return [((a + b) // 2, f.origine[1] // 2) for a, b in gruppi]

    def voce_menu(self, f, indice):
        img = self.foto(f)
        x, y = self.voci_menu(img, f)[indice]
        self.s.xdo("mousemove", "--window", f.id, x, y, "mousedown", "1", "mouseup", "1")

    def trascina(self, f, da, a):
        """A real drag with the pointer: press on the tile, move in steps, release."""
        x0, y0 = self.punto(f, centro(da))
        x1, y1 = self.punto(f, centro(a))
        comandi = ["mousemove", "--window", f.id, x0, y0, "mousedown", "1"]
        passi = 8
        for i in range(1, passi + 1):
            comandi += ["sleep", "0.01", "mousemove", "--window", f.id,
                        x0 + (x1 - x0) * i // passi, y0 + (y1 - y0) * i // passi]
        comandi += ["sleep", "0.02", "mouseup", "1"]
        self.s.xdo(*comandi)


# ---------------------------------------------------------------------------------------
# Reading the questions

def pieni(pil, img, f, rects, bg):
    """Indices of the places that show something other than the background."""
    out = []
    for i, r in enumerate(rects):
        if bianchi(maschera_diversa(pil.ritaglio(img, f, rientrato(r, 2)), bg)) >= 6:
            out.append(i)
    return out


def spiega(pil, img, f, area, bg, schiere):
    """If the given arrays of places account for every picture in the area, each filled
    place showing one and the same picture within its array, the filled places of each
    array; otherwise None."""
    maschera = maschera_diversa(pil.ritaglio(img, f, area), bg)
    risultato = []
    for rects in schiere:
        piene = pieni(pil, img, f, rects, bg)
        if not piene:
            return None
        primo = pil.ritaglio(img, f, rects[piene[0]])
        if not all(uguali(primo, pil.ritaglio(img, f, rects[i])) for i in piene[1:]):
            return None
        for i in piene:
            x, y, w, h = rects[i]
            maschera.paste(0, (x - area[0], y - area[1], x - area[0] + w, y - area[1] + h))
        risultato.append(piene)
    if bianchi(maschera) > 4:
        return None
    return risultato


def una_lettura(letture, cosa):
    """The one reading that every explanation of the picture agrees on."""
    valori = {repr(v) for v in letture}
    if len(valori) != 1:
        raise Fallito(f"cannot read {cosa} from the screen: {sorted(valori) or 'no explanation'}")
    return letture[0]


def figure_es1(pil, img, f):
    """The places of FormEs1 that show the question's picture."""
    bg = pil.sfondo(img, f)
    letture = []
    for rects in ES1_SCHIERE:
        s = spiega(pil, img, f, ES1_AREA, bg, [rects])
        if s is not None:
            letture.append([rects[i] for i in s[0]])
    una_lettura([len(v) for v in letture], "the pictures of FormEs1")
    return letture[0]


def conta_es1(pil, img, f):
    return len(figure_es1(pil, img, f))


def conta_es5(pil, img, f):
    bg = pil.sfondo(img, f)
    m = maschera_diversa(pil.ritaglio(img, f, ES5_IMAGE1), bg).filter(ImageFilter.MaxFilter(5))
    dimensioni = componenti(m)
    if not dimensioni:
        raise Fallito("FormEs5 shows no group picture")
    grande = max(dimensioni)
    return len([d for d in dimensioni if d >= 0.15 * grande])


def tipi_confronto(pil, img, f):
    """The two kinds of picture of the answer row, Image5 and Image6."""
    return [pil.ritaglio(img, f, r) for r in (CONFRONTO_IMAGE5, CONFRONTO_IMAGE6)]


def quale_tipo(pil, img, f, bg, rect, tipi):
    """Which picture of the answer row a place shows (0 or 1): the place's picture is
    compared, where it differs from the background, with each answer-row picture brought
    to the same size."""
    posto = pil.ritaglio(img, f, rect)
    m = maschera_diversa(posto, bg)
    interno = m.filter(ImageFilter.MinFilter(3))  # away from the edges of the picture
    if bianchi(interno) >= 20:
        m = interno
    n = max(1, bianchi(m))
    d = []
    for t in tipi:
        diff = ImageChops.difference(posto, t.resize(posto.size, Image.BILINEAR)).convert("L")
        d.append(sum(ImageChops.multiply(diff, m).getdata()) / n)
    migliore = 0 if d[0] < d[1] else 1
    if d[migliore] > 30 or d[1 - migliore] < 2 * d[migliore]:
        raise Fallito(f"a place shows neither picture of the answer row (differences {d})")
    return migliore


def segno(q1, q2):
    return "<" if q1 < q2 else (">" if q1 > q2 else "=")


def confronta(pil, img, f, schiere, mescolate):
    """The sign that compares the first kind with the second: (sign, counts)."""
    bg = pil.sfondo(img, f)
    tipi = tipi_confronto(pil, img, f)
    if mescolate:
        scelte = [(a, b) for a in range(4) for b in range(a + 1, 4)]
    else:
        scelte = [(a, b) for a in (0, 1) for b in (2, 3)]
    letture = []
    for a, b in scelte:
        s = spiega(pil, img, f, CONFRONTO_AREA, bg, [schiere[a], schiere[b]])
        if s is None:
            continue
        prima = pil.ritaglio(img, f, schiere[a][s[0][0]])
        seconda = pil.ritaglio(img, f, schiere[b][s[1][0]])
        if uguali(prima, seconda):
            continue  # one kind in two arrays: not a question of this window
        ta = quale_tipo(pil, img, f, bg, schiere[a][s[0][0]], tipi)
        tb = quale_tipo(pil, img, f, bg, schiere[b][s[1][0]], tipi)
        if ta == tb:
            raise Fallito("both groups look like the same picture of the answer row")
        conta = [0, 0]
        conta[ta] = len(s[0])
        conta[tb] = len(s[1])
        if not mescolate:
            # Side by side, the first kind stands on the left.
            if ta != 0:
                raise Fallito("FormEs2: the left group is not the first picture of the answer row")
            if any(schiere[a][i][0] >= CONFRONTO_META for i in s[0]) or \
               any(schiere[b][i][0] < CONFRONTO_META for i in s[1]):
                raise Fallito("FormEs2: a group is not in its half")
        letture.append(tuple(conta))
    q1, q2 = una_lettura(letture, "the two groups")
    return segno(q1, q2), (q1, q2)


def conta_es4(pil, img, f):
    bg = pil.sfondo(img, f)
    letture = []
    for rects in ES4_DATI:
        s = spiega(pil, img, f, ES4_AREA_DATI, bg, [rects])
        if s is not None:
            letture.append(len(s[0]))
    return una_lettura(letture, "the given set of FormEs4")


def griglia_es4(pil, img, f):
    """How many pictures the answer grid shows, and that they fill it from the top left."""
    bg = pil.sfondo(img, f)
    piene = pieni(pil, img, f, ES4_GRIGLIA, bg)
    if piene != list(range(len(piene))):
        raise Fallito(f"FormEs4: the answer grid is not filled from the top left: {piene}")
    return len(piene)


def tessere(pil, img, f):
    """The numbers on the tiles, by place: {number: place}."""
    trovate = {}
    for i, r in enumerate(ORD_TESSERE):
        testo, _ = pil.lettore.leggi(pil.ritaglio(img, f, rientrato(r, 3)))
        if testo:
            if len(testo) != 1 or not testo.isdigit() or testo in trovate:
                raise Fallito(f"FormOrd: cannot read the tile at place {i}: {testo!r}")
            trovate[int(testo)] = i
    return trovate


def casella(pil, img, f, i):
    testo, _ = pil.lettore.leggi(pil.ritaglio(img, f, rientrato(ORD_CASELLE[i], 3)))
    return testo


# ---------------------------------------------------------------------------------------
# The exercises: how to read a question, answer it right, and answer it wrong

class Esercizio:
    tipo = "esercizio"
    cornice = COLONNA_ALTA
    faccia_iniziale = "no"

    def __init__(self, nome):
        self.nome = nome

    def leggi(self, pil, img, f):
        raise NotImplementedError

    def rispondi(self, pil, f, risposta):
        raise NotImplementedError

    def sbagliata(self, risposta):
        raise NotImplementedError

    def dopo_giusta(self, pil, img, f, risposta):
        pass

    def dopo_sbagliata(self, pil, img, f):
        pass


class Conta(Esercizio):
    """FormEs1 and FormEs5: type the number and press Enter."""
    cornice = COLONNA_BASSA

    def __init__(self, nome, text1, lettura, tastierino):
        super().__init__(nome)
        self.text1 = text1
        self.lettura = lettura
        self.tastierino = tastierino

    def leggi(self, pil, img, f):
        n = self.lettura(pil, img, f)
        if not 1 <= n <= 9:
            raise Fallito(f"{self.nome}: {n} pictures, not 1 to 9")
        return n

    def rispondi(self, pil, f, n):
        pil.scrivi(f, self, str(n))
        # The box holds just the digit typed last.
        pil.attendi(lambda: pil.lettore.leggi(pil.ritaglio(pil.foto(f), f, rientrato(self.text1, 3)))[0] == str(n),
                    f"{n} in the answer box")
        pil.scrivi(f, self, "Return")

    def sbagliata(self, n):
        return n % 9 + 1


class Confronto(Esercizio):
    """FormEs2 and FormEs3: press "<", "=" or ">"."""

    def __init__(self, nome, schiere, mescolate):
        super().__init__(nome)
        self.schiere = schiere
        self.mescolate = mescolate

    def leggi(self, pil, img, f):
        s, _ = confronta(pil, img, f, self.schiere, self.mescolate)
        return s

    def rispondi(self, pil, f, s):
        pil.clic(f, CONFRONTO_SEGNI[s])

    def sbagliata(self, s):
        return next(x for x in "<=>" if x != s)

    def dopo_giusta(self, pil, img, f, s):
        letto, _ = pil.lettore.leggi(pil.ritaglio(img, f, CONFRONTO_LABEL4))
        if letto != s:
            raise Fallito(f"{self.nome}: the answer row shows {letto!r} after the right answer {s!r}")

    def dopo_sbagliata(self, pil, img, f):
        letto, _ = pil.lettore.leggi(pil.ritaglio(img, f, CONFRONTO_LABEL4))
        if letto:
            raise Fallito(f"{self.nome}: the answer row shows {letto!r} after a wrong answer")


class Corrispondenza(Esercizio):
    """FormEs4: put as many pictures as the given set, then check."""

    def leggi(self, pil, img, f):
        return conta_es4(pil, img, f)

    def metti(self, pil, f, n):
        for _ in range(n):
            pil.clic(f, ES4_METTI)
        pil.attendi(lambda: griglia_es4(pil, pil.foto(f), f) == n, f"{n} pictures in the answer grid")

    def rispondi(self, pil, f, n):
        if isinstance(n, tuple):  # a wrong answer: too many or too few
            self.metti(pil, f, n[0])
        else:
            self.metti(pil, f, n)
        pil.clic(f, ES4_CONTROLLA)

    def sbagliata(self, n):
        return (n + 1 if n < 9 else n - 1,)

    def dopo_sbagliata(self, pil, img, f):
        # The bin empties the grid, and nothing is counted for it.
        pil.clic(f, ES4_SVUOTA)
        pil.attendi(lambda: griglia_es4(pil, pil.foto(f), f) == 0, "the answer grid to be emptied")


ESERCIZI = {
    "FormEs1": Conta("FormEs1", ES1_TEXT1, conta_es1, ES1_TASTIERINO),
    "FormEs5": Conta("FormEs5", ES5_TEXT1, conta_es5, ES5_TASTIERINO),
    "FormEs2": Confronto("FormEs2", ES2_SCHIERE, False),
    "FormEs3": Confronto("FormEs3", ES3_SCHIERE, True),
    "FormEs4": Corrispondenza("FormEs4"),
}
ORDINE_MENU = ["FormEs1", "FormEs5", "FormEs4", "FormOrd", "FormEs2", "FormEs3"]


# ---------------------------------------------------------------------------------------
# Flows

class Partita:
    """One run of the program under the pilot, with the counts the screen must show."""

    def __init__(self, pil):
        self.pil = pil
        self.esatti = 0
        self.errati = 0
        self.risposte_giuste = 0
        self.risposte_sbagliate = 0

    def stato(self, f, cornice):
        img = self.pil.foto(f)
        nero = self.pil.sfondo(img, f) == (0, 0, 0)
        return {
            "faccia": self.pil.faccia(img, f, cornice),
            "esatti": None if nero else self.pil.conteggio(img, f, cornice, "esatti"),
            "errati": None if nero else self.pil.conteggio(img, f, cornice, "errati"),
            "avanti": self.pil.attivo(img, f, cornice["avanti"]),
            "nero": nero,
        }, img

    def attendi_stato(self, f, cornice, **atteso):
        visto = [None]

        def ok():
            s, img = self.stato(f, cornice)
            visto[0] = s
            if all(s[k] == v for k, v in atteso.items()):
                return img
            return None
        try:
            return self.pil.attendi(ok, f"{atteso}", secondi=10)
        except Fallito as e:
            raise Fallito(f"{f}: expected {atteso}, the screen shows {visto[0]}") from e

    def conti(self):
        return ((self.esatti, self.esatti > 0), (self.errati, self.errati > 0))

    # -- windows --------------------------------------------------------------------

    def avvio(self, con_invio=True):
        f = self.pil.finestra("avvio")
        self.pil.salva(f, "avvio")
        if con_invio:
            # "Avvio" holds the focus: Enter opens the menu, and the title window goes.
            self.pil.tasti(f.id, "Return")
        else:
            self.pil.clic(f, AVVIO)
        return self.menu()

    def menu(self):
        f = self.pil.finestra("menu")
        return f

    def apri(self, menu, nome):
        self.pil.clic(menu, MENU_BOTTONI[nome])
        tipo = "ord" if nome == "FormOrd" else "esercizio"
        f = self.pil.finestra(tipo)
        self.esatti = self.errati = 0
        cornice = RIGA_IN_ALTO if tipo == "ord" else ESERCIZI[nome].cornice
        # A window opens with both counts at "0", "avanti" disabled and its first face.
        iniziale = "si" if tipo == "ord" else "no"
        self.attendi_stato(f, cornice, faccia=iniziale, esatti=(0, False), errati=(0, False), avanti=False)
        return f

    def esci_al_menu(self, f, cornice, prova_no=False):
        if prova_no:
            # "Esci" answered No (Escape) changes nothing.
            prima = self.stato(f, cornice)[0]
            self.pil.voce_menu(f, 2)
            self.pil.rispondi_scatola([], "Escape")
            g = self.pil.finestra(f.tipo)
            if g.id != f.id:
                raise Fallito("Esci answered No replaced the exercise window")
            self.attendi_stato(f, cornice, **prima)
        # "Esci" answered Yes (Enter: "Sì" is the default button) brings the menu back.
        self.pil.voce_menu(f, 2)
        self.pil.rispondi_scatola([], "Return")
        return self.menu()

    def fine(self, menu, prova_no=True):
        if prova_no:
            self.pil.clic(menu, MENU_ESCI)
            self.pil.rispondi_scatola([], "Escape")
            g = self.pil.finestra("menu")
            if g.id != menu.id:
                raise Fallito("Esci answered No replaced the menu")
        self.pil.clic(menu, MENU_ESCI)
        b = self.pil.scatola([])
        self.pil.tasti(b, "Return")
        limite = time.monotonic() + 20
        while self.pil.p.vivo():
            if time.monotonic() > limite:
                raise Fallito("the program did not end after Esci and Sì")
            time.sleep(0.03)
        if self.pil.p.uscita() != 0:
            raise Fallito(f"the program ended with status {self.pil.p.uscita()}, not 0")

    # -- questions ------------------------------------------------------------------

    def domanda(self, f, es, sbaglia=False, foto=None):
        pil = self.pil
        cornice = es.cornice
        img = pil.foto_ferma(f)
        if foto:
            pil.salva(f, foto)
        risposta = es.leggi(pil, img, f)
        esatti, errati = self.conti()
        if sbaglia:
            es.rispondi(pil, f, es.sbagliata(risposta))
            self.errati += 1
            self.risposte_sbagliate += 1
            esatti, errati = self.conti()
            img = self.attendi_stato(f, cornice, faccia="no", esatti=esatti, errati=errati, avanti=False)
            es.dopo_sbagliata(pil, img, f)
        es.rispondi(pil, f, risposta)
        self.esatti += 1
        self.risposte_giuste += 1
        esatti, errati = self.conti()
        img = self.attendi_stato(f, cornice, faccia="si", esatti=esatti, errati=errati, avanti=True)
        es.dopo_giusta(pil, img, f, risposta)
        if foto:
            pil.salva(f, foto + "-esatto")
        return risposta

    def attendi_ordina(self, f, sistemati, attese, **atteso):
        """Waits until FormOrd shows 1..sistemati in the first boxes, the other boxes empty,
        the tiles of the numbers still in play where they were, and the given state."""
        visto = [None]

        def ok():
            s, img = self.stato(f, RIGA_IN_ALTO)
            caselle = [casella(self.pil, img, f, i) for i in range(9)]
            try:
                rimaste = tessere(self.pil, img, f)
            except Fallito as e:
                rimaste = str(e)
            visto[0] = (s, caselle, rimaste)
            if all(s[k] == v for k, v in atteso.items()) and rimaste == attese and \
                    caselle == [str(i + 1) if i < sistemati else "" for i in range(9)]:
                return img
            return None
        try:
            return self.pil.attendi(ok, "FormOrd", secondi=10)
        except Fallito as e:
            raise Fallito(f"FormOrd: expected {sistemati} numbers in place, tiles {attese} and {atteso}; "
                          f"the screen shows {visto[0]}") from e

    def avanti(self, f, cornice):
        self.pil.clic(f, cornice["avanti"])
        self.attendi_stato(f, cornice, avanti=False)

    def ordina(self, f, sbaglia=False, foto=None):
        """One game of FormOrd: every tile dragged onto its box."""
        pil = self.pil
        cornice = RIGA_IN_ALTO
        img = pil.foto_ferma(f)
        posto = tessere(pil, img, f)
        if sorted(posto) != list(range(1, 10)):
            raise Fallito(f"FormOrd: the tiles read {sorted(posto)}, not 1 to 9")
        for i in range(9):
            if casella(pil, img, f, i):
                raise Fallito(f"FormOrd: box {i} is not empty at the start of a game")
        if foto:
            pil.salva(f, foto)
        if sbaglia:
            # Tile 1 onto the second box: wrong, the window turns black, nothing moves.
            pil.trascina(f, ORD_TESSERE[posto[1]], ORD_CASELLE[1])
            self.errati += 1
            self.risposte_sbagliate += 1
            self.attendi_ordina(f, 0, posto, faccia="no", nero=True)
        for n in range(1, 10):
            pil.trascina(f, ORD_TESSERE[posto[n]], ORD_CASELLE[n - 1])
            self.esatti += 1
            self.risposte_giuste += 1
            esatti, errati = self.conti()
            # The number goes into its box and off its tile; a right drop gives a black
            # window its colour back; "avanti" after the ninth.
            self.attendi_ordina(f, n, {k: v for k, v in posto.items() if k > n}, faccia="si", nero=False,
                                esatti=esatti, errati=errati, avanti=(n == 9))
            if foto and n == 3:
                pil.salva(f, foto + "-mezzo")
        if foto:
            pil.salva(f, foto + "-esatto")


def esercizio_intero(partita, menu, nome, domande, foto=False, extra=False):
    """Opens an exercise from the menu, answers its questions and goes back to the menu."""
    pil = partita.pil
    f = partita.apri(menu, nome)
    nome_foto = nome.lower() if foto else None
    if nome == "FormOrd":
        cornice = RIGA_IN_ALTO
        for q in range(domande):
            if q:
                partita.avanti(f, cornice)
                # A new game keeps the laughing face of the last drop.
                partita.attendi_stato(f, cornice, faccia="si")
            partita.ordina(f, sbaglia=(q == 0), foto=nome_foto if q == 1 or domande == 1 else None)
    else:
        es = ESERCIZI[nome]
        cornice = es.cornice
        for q in range(domande):
            if q:
                partita.avanti(f, cornice)
                # The face of the last answer stays while the next question is asked.
                partita.attendi_stato(f, cornice, faccia="si")
            partita.domanda(f, es, sbaglia=(q == 0), foto=nome_foto if q == 1 or domande == 1 else None)
    if extra:
        # "Informazioni" shows a box and changes nothing.
        prima = partita.stato(f, cornice)[0]
        pil.voce_menu(f, 1)
        pil.rispondi_scatola([], "Return")
        partita.attendi_stato(f, cornice, **prima)
        # "Azzera conteggio" sets both counts back to "0"; counting starts again from 0.
        pil.voce_menu(f, 0)
        partita.esatti = partita.errati = 0
        partita.attendi_stato(f, cornice, esatti=(0, False), errati=(0, False), faccia=prima["faccia"],
                              avanti=prima["avanti"])
        partita.avanti(f, cornice)
        partita.domanda(f, ESERCIZI[nome])
    return partita.esci_al_menu(f, cornice, prova_no=extra)


# ---------------------------------------------------------------------------------------
# Scenarios

class Contesto:
    def __init__(self, schermo, lettore, eseguibile, tmp, docs):
        self.schermo = schermo
        self.lettore = lettore
        self.eseguibile = eseguibile
        self.tmp = tmp
        self.docs = docs
        self.n = 0
        self.partite = []

    def avvia(self, eseguibile=None, cwd=None, env=None, docs=False, uscita=None):
        self.n += 1
        registro = os.path.join(self.tmp, f"tivoro-{self.n}.log")
        p = Tivoro(self.schermo, eseguibile or self.eseguibile, cwd or self.tmp, registro, env, uscita)
        pil = Pilota(self.schermo, p, self.lettore, self.docs if docs else None)
        self.partite.append(Partita(pil))
        return self.partite[-1]

    def copia(self, nome, gif=True, suoni=True):
        """The program with its folders copied into a new folder of the given name."""
        sorgente = os.path.dirname(self.eseguibile)
        self.n += 1
        cartella = os.path.join(self.tmp, str(self.n), nome)  # short: the path shows in a box
        os.makedirs(cartella)
        destinazione = os.path.join(cartella, os.path.basename(self.eseguibile))
        shutil.copy2(self.eseguibile, destinazione)
        for modulo in glob.glob(os.path.join(sorgente, "*tivoro_suoni.*")):
            shutil.copy2(modulo, cartella)
        if gif:
            shutil.copytree(os.path.join(sorgente, "gif"), os.path.join(cartella, "gif"))
        if suoni:
            shutil.copytree(os.path.join(sorgente, "suoni"), os.path.join(cartella, "suoni"))
        return destinazione


def controlla_registro(partita):
    """What the program wrote on its output: no crash, no sanitizer report."""
    testo = partita.pil.p.testo_registro()
    for segno_male in ("Sanitizer", "runtime error", "Segmentation", "Aborted", "core dumped", "ASSERT"):
        if segno_male in testo:
            raise Fallito(f"the program's output reports {segno_male!r}:\n{testo[-3000:]}")
    return testo


def segnaposto(img):
    """A place that shows the program's placeholder: a grey disc with a question mark."""
    grigio = maschera_diversa(img, (110, 110, 110), 12)
    n = img.size[0] * img.size[1]
    return (n - bianchi(grigio)) > 0.3 * n


def scenario_giro(ctx):
    partita = ctx.avvia(docs=True)
    menu = partita.avvio()
    partita.pil.salva(menu, "menu")
    for nome in ORDINE_MENU:
        menu = esercizio_intero(partita, menu, nome, 3, foto=True, extra=(nome == "FormEs1"))
    partita.fine(menu)
    testo = controlla_registro(partita)
    return (f"{partita.risposte_giuste} right and {partita.risposte_sbagliate} wrong answers in six exercises, "
            f"status 0" + (f"; program output: {testo.strip()!r}" if testo.strip() else ""))


def scenario_breve(ctx):
    partita = ctx.avvia(cwd="/")
    menu = partita.avvio(con_invio=False)
    for nome in ORDINE_MENU:
        menu = esercizio_intero(partita, menu, nome, 1)
        partita.pil.nessuna_scatola()  # every picture was found
    partita.fine(menu, prova_no=False)
    controlla_registro(partita)
    return f"{partita.risposte_giuste} right and {partita.risposte_sbagliate} wrong answers, status 0"


def una_domanda_conta(partita, menu, nome, senza_scatole=True):
    f = partita.apri(menu, nome)
    es = ESERCIZI[nome]
    partita.domanda(f, es, sbaglia=True)
    if senza_scatole:
        partita.pil.nessuna_scatola()
    return f, partita.esci_al_menu(f, es.cornice)


def scenario_cartella(ctx):
    nome = "Giochi di Ànna è più"
    exe = ctx.copia(nome)
    # The C locale is the hardest case for a file name with accented letters.
    partita = ctx.avvia(eseguibile=exe, cwd=ctx.tmp, env={"LC_ALL": "C", "LANG": "C"})
    menu = partita.avvio()
    f = partita.apri(menu, "FormEs1")
    img = partita.pil.foto_ferma(f)
    for r in figure_es1(partita.pil, img, f):
        if segnaposto(partita.pil.ritaglio(img, f, r)):
            raise Fallito(f"FormEs1 in {nome!r} shows the placeholder instead of a picture")
    partita.domanda(f, ESERCIZI["FormEs1"], sbaglia=True)
    partita.pil.nessuna_scatola()
    menu = partita.esci_al_menu(f, ESERCIZI["FormEs1"].cornice)
    _, menu = una_domanda_conta(partita, menu, "FormEs5")
    partita.fine(menu, prova_no=False)
    controlla_registro(partita)
    return f"pictures and answers work from {os.path.dirname(exe)!r} (LC_ALL=C), status 0"


CARTELLA_CIFRE = "c 0 1 2 3 4 5 6 7 8 9"
FONTCONFIG_NITIDO = """<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "fonts.dtd">
<fontconfig>
  <include ignore_missing="yes">/etc/fonts/fonts.conf</include>
  <match target="font">
    <edit name="antialias" mode="assign"><bool>false</bool></edit>
    <edit name="hinting" mode="assign"><bool>true</bool></edit>
    <edit name="hintstyle" mode="assign"><const>hintfull</const></edit>
  </match>
</fontconfig>
"""


def numero_nella_scatola(img):
    """The number N of the file "N.gif" that the message box names on its path line.

    The program runs from a folder whose name ends in the digits 0 to 9 with blanks
    between them, so the box's own path line shows each digit as the box draws it; the
    digits of the file name are read by comparing them with those."""
    grigio = img.convert("L")
    w, h = grigio.size
    scuro = grigio.point(lambda v: 255 if v < 110 else 0)
    testo = scuro.crop((50, 0, w, h))  # right of the icon
    righe = [y for y in range(h) if testo.crop((0, y, testo.size[0], y + 1)).getbbox()]
    linee = []
    for y in righe:
        if linee and y == linee[-1][1] + 1:
            linee[-1][1] = y
        else:
            linee.append([y, y])
    if len(linee) < 3:
        raise Fallito(f"the message box shows {len(linee)} lines of text")
    y0, y1 = linee[1]  # text, blank line, path
    riga = testo.crop((0, y0, testo.size[0], y1 + 1))
    colonne = [riga.crop((x, 0, x + 1, riga.size[1])).getbbox() is not None for x in range(riga.size[0])]
    pezzi = []
    x = 0
    while x < len(colonne):
        if colonne[x]:
            a = x
            while x < len(colonne) and colonne[x]:
                x += 1
            pezzi.append((a, x))
        x += 1
    parole = [[pezzi[0]]]
    for p in pezzi[1:]:
        if p[0] - parole[-1][-1][1] >= 4:  # a blank
            parole.append([p])
        else:
            parole[-1].append(p)

    def glifo(p):
        g = riga.crop((p[0], 0, p[1], riga.size[1]))
        return g.crop(g.getbbox())

    # "... 0 1 2 3 4 5 6 7 8 9/gif/N.gif": nine words of one digit, then the last word.
    if len(parole) < 11 or any(len(p) != 1 for p in parole[-10:-1]):
        raise Fallito("the path in the message box is not the program's folder")
    cifre = {str(c): glifo(p[0]) for c, p in zip(range(9), parole[-10:-1])}
    ultima = parole[-1]
    cifre["9"] = glifo(ultima[0])

    def distanza(a, b):
        if abs(a.size[0] - b.size[0]) > 1 or abs(a.size[1] - b.size[1]) > 1:
            return 10 ** 9
        lw, lh = max(a.size[0], b.size[0]), max(a.size[1], b.size[1])
        ta = Image.new("L", (lw, lh), 0)
        ta.paste(a, (0, 0))
        migliore = None
        for dx in (0, 1):
            for dy in (0, 1):
                tb = Image.new("L", (lw + 1, lh + 1), 0)
                tb.paste(b, (dx, dy))
                d = bianchi(ImageChops.difference(ta, tb.crop((0, 0, lw, lh))).point(lambda v: 255 if v else 0))
                migliore = d if migliore is None else min(migliore, d)
        return migliore

    # From the end: "gif", the dot (a small mark on the base line), then the digits,
    # each drawn exactly as one of the digits of the folder's name.
    punto = max(i for i, p in enumerate(ultima) if glifo(p).size[1] <= 3)
    numero = ""
    for p in reversed(ultima[1:punto]):
        g = glifo(p)
        d = {c: distanza(g, m) for c, m in cifre.items()}
        c = min(d, key=d.get)
        if d[c] > 1:
            break  # the slash before the name
        numero = c + numero
    if not numero:
        raise Fallito("the message box names no numbered file")
    return int(numero)


def scenario_senza_gif(ctx):
    exe = ctx.copia(CARTELLA_CIFRE, gif=False)
    # Text without smoothing and on whole pixels (a fontconfig setting a user may choose),
    # so that a digit looks the same wherever the box draws it.
    fc = os.path.join(ctx.tmp, "fonts.conf")
    with open(fc, "w") as out:
        out.write(FONTCONFIG_NITIDO)
    partita = ctx.avvia(eseguibile=exe, cwd=ctx.tmp, env={"FONTCONFIG_FILE": fc})
    pil = partita.pil
    menu = partita.avvio()
    pil.clic(menu, MENU_BOTTONI["FormEs1"])
    # One box names the missing file; the question waits behind it.
    b = pil.scatola([])
    img = pil.s.foto(b)
    img.save(os.path.join(ctx.tmp, "scatola-senza-gif.png"))  # kept if the run fails
    numero = numero_nella_scatola(img)
    if not 1 <= numero <= 20:
        raise Fallito(f"the message box names {numero}.gif, not one of the object pictures 1 to 20")
    pil.tasti(b, "Return")
    pil.attendi(lambda: b not in pil.finestre()[1], "the message box to close")
    f = pil.finestra("esercizio")
    partita.esatti = partita.errati = 0
    es = ESERCIZI["FormEs1"]
    img = pil.foto_ferma(f)
    for r in figure_es1(pil, img, f):
        if not segnaposto(pil.ritaglio(img, f, r)):
            raise Fallito("FormEs1 without gif/ shows a picture that is not the placeholder")
    n = partita.domanda(f, es, sbaglia=True)
    pil.nessuna_scatola()
    menu = partita.esci_al_menu(f, es.cornice)
    partita.fine(menu, prova_no=False)
    controlla_registro(partita)
    return (f"one message box named {numero}.gif with its path; after OK the question showed "
            f"{n} placeholder(s) and was answered right and wrong; status 0")


def scenario_senza_suoni(ctx):
    exe = ctx.copia("senza suoni", suoni=False)
    partita = ctx.avvia(eseguibile=exe, cwd=ctx.tmp)
    menu = partita.avvio()
    _, menu = una_domanda_conta(partita, menu, "FormEs1")
    menu = esercizio_intero(partita, menu, "FormEs4", 1)
    partita.fine(menu, prova_no=False)
    controlla_registro(partita)
    return "right and wrong answers with faces and counts, no message, status 0"


def scenario_uscita_chiusa(ctx):
    # Without suoni/, every answer writes a line on the output, which goes into a pipe
    # whose reader has gone.
    exe = ctx.copia("uscita chiusa", suoni=False)
    lettura, scrittura = os.pipe()
    os.close(lettura)
    try:
        partita = ctx.avvia(eseguibile=exe, cwd=ctx.tmp, uscita=scrittura)
    finally:
        os.close(scrittura)
    _, menu = una_domanda_conta(partita, partita.avvio(), "FormEs1")
    partita.fine(menu, prova_no=False)
    return "output into a pipe with no reader: answers, faces and counts as always, status 0"


def scenario_senza_audio(ctx):
    # PulseAudio, which Qt plays through here, pointed at a server that is not there.
    env = {"PULSE_SERVER": "unix:" + os.path.join(ctx.tmp, "nessun-server-audio")}
    partita = ctx.avvia(env=env)
    menu = partita.avvio()
    _, menu = una_domanda_conta(partita, menu, "FormEs1")
    menu = esercizio_intero(partita, menu, "FormOrd", 1)
    partita.fine(menu, prova_no=False)
    testo = controlla_registro(partita)
    macchina = "this machine has no sound card (/dev/snd is absent)" if not os.path.exists("/dev/snd") \
        else "this machine has /dev/snd, but the program was given no audio server"
    uscita = f"; program output: {testo.strip()!r}" if testo.strip() else ""
    return f"answers, faces and counts work without audio; {macchina}; status 0{uscita}"


class ServerAudio:
    """A private PulseAudio with a null sink: the program plays for real, nothing is heard.
    Its home and runtime folders are private too, so nothing of the user's is touched."""

    def __init__(self, cartella):
        self.cartella = cartella
        casa, runtime = os.path.join(cartella, "casa"), os.path.join(cartella, "runtime")
        os.makedirs(casa)
        os.makedirs(runtime, mode=0o700)
        presa = os.path.join(runtime, "presa")
        self.server = "unix:" + presa
        self.env = dict(os.environ, HOME=casa, XDG_RUNTIME_DIR=runtime, XDG_CONFIG_HOME=os.path.join(casa, ".config"),
                        PULSE_SERVER=self.server)
        self.env.pop("DISPLAY", None)
        self._log = open(os.path.join(cartella, "pulseaudio.log"), "wb")
        # Root may run it too (it warns); the socket takes anyone, no cookie needed.
        self.proc = subprocess.Popen(
            ["pulseaudio", "-n", "--daemonize=no", "--use-pid-file=no", "--exit-idle-time=-1",
             "--disallow-exit", "--disallow-module-loading", "--log-target=stderr",
             f"--load=module-native-protocol-unix socket={presa} auth-anonymous=1",
             "--load=module-null-sink"],
            env=self.env, stdout=self._log, stderr=subprocess.STDOUT)
        limite = time.monotonic() + 20
        while self.pactl("info").returncode != 0:
            if time.monotonic() > limite or self.proc.poll() is not None:
                self.chiudi()
                raise Fallito("the private PulseAudio did not start: " +
                              open(os.path.join(cartella, "pulseaudio.log"), errors="replace").read()[-2000:])
            time.sleep(0.1)

    def pactl(self, *argomenti):
        return subprocess.run(["pactl", *argomenti], env=self.env, capture_output=True, text=True, timeout=20)

    def clienti(self):
        """The names of the clients connected to the server, pactl's own left out."""
        righe = self.pactl("list", "clients", "short").stdout.splitlines()
        return [r.split("\t")[2] for r in righe if len(r.split("\t")) > 2 and "pactl" not in r.split("\t")[2]]

    def chiudi(self):
        termina_processo(self.proc)
        self._log.close()


def scenario_fine_sessione(ctx):
    # A screen and a sound server of its own: the screen is killed halfway.
    cartella = os.path.join(ctx.tmp, "fine-sessione")
    os.makedirs(cartella)
    audio = ServerAudio(os.path.join(cartella, "audio"))
    schermo = None
    try:
        schermo = Schermo(os.path.join(cartella, "schermo"))
        lavoro = os.path.join(cartella, "lavoro")  # the working folder, where a core would go
        os.makedirs(lavoro)
        # Cores on, as on a desktop that keeps them (the program inherits the limit).
        limiti = resource.getrlimit(resource.RLIMIT_CORE)
        resource.setrlimit(resource.RLIMIT_CORE, (limiti[1], limiti[1]))
        try:
            p = Tivoro(schermo, ctx.eseguibile, lavoro, os.path.join(cartella, "tivoro.log"),
                       {"PULSE_SERVER": audio.server})
        finally:
            resource.setrlimit(resource.RLIMIT_CORE, limiti)
        ctx.partite.append(Partita(Pilota(schermo, p, ctx.lettore)))
        partita = ctx.partite[-1]
        menu = partita.avvio()
        f = partita.apri(menu, "FormEs1")
        # A wrong answer: "0" and Enter; the error sound goes to the sound server.
        ESERCIZI["FormEs1"].rispondi(partita.pil, f, 0)
        partita.attendi_stato(f, COLONNA_BASSA, faccia="no", errati=(1, True))
        partita.pil.attendi(audio.clienti, "the program to connect to the sound server")
        time.sleep(0.5)  # the sound is playing
        schermo.chiudi()  # the X server goes, as at the end of a session
        try:
            p.proc.wait(20)
        except subprocess.TimeoutExpired:
            raise Fallito("the program did not end when its X server went away") from None
        testo = p.testo_registro()
        for male in ("malloc", "corrupted", "double free", "free()", "Segmentation", "Aborted", "Sanitizer"):
            if male in testo:
                raise Fallito(f"the program's output after the X server went says {male!r}:\n{testo[-3000:]}")
        if p.uscita() != 1:
            raise Fallito(f"the program ended with status {p.uscita()}, not 1, when its X server went:\n{testo[-3000:]}")
        if glob.glob(os.path.join(lavoro, "core*")):
            raise Fallito("the program left a core dump when its X server went")
        messaggio = next((r for r in testo.splitlines() if "X11" in r or "X server" in r), None)
        if not messaggio:
            raise Fallito(f"the program ended without Qt's message about the X server:\n{testo[-3000:]}")
        return f"after the error sound the X server went: status 1, no core, Qt says {messaggio.strip()!r}"
    finally:
        if schermo is not None:
            schermo.chiudi()
        audio.chiudi()


# ---------------------------------------------------------------------------------------
# "Ordina i numeri" without dragging: by taps and by keys

ORD_PRESA = (255, 122, 0)  # the frame of a picked-up tile, inside it
ANELLO = ((255, 212, 0), (0, 0, 0))  # the focus ring around a control: yellow, then black outside
ORD_FONDO = R(4440, 5400, 600, 600)  # a place of the window with nothing on it
DOPPIO_CLIC = 0.6  # seconds: longer than Qt's double-click interval (400 ms)


def vicino(a, b, tolleranza=40):
    return all(abs(x - y) <= tolleranza for x, y in zip(a, b))


def presa(pil, img, f, posto):
    """Whether the tile at a place of the bottom row is shown picked up."""
    x, y, _, _ = ORD_TESSERE[posto]
    return vicino(img.getpixel(pil.punto(f, (x + 3, y + 3))), ORD_PRESA)


def prese(pil, img, f):
    return [p for p in range(9) if presa(pil, img, f, p)]


def anello(pil, img, f, r):
    """Whether the focus ring stands around a control: at the middle of each side, yellow
    just outside it and black at the ring's outer edge."""
    x, y, w, h = r
    for (px_, py_), (dx, dy) in (((x - 1, y + h // 2), (-1, 0)), ((x + w, y + h // 2), (1, 0)),
                                 ((x + w // 2, y - 1), (0, -1)), ((x + w // 2, y + h), (0, 1))):
        if not vicino(img.getpixel(pil.punto(f, (px_, py_))), ANELLO[0]) or \
           not vicino(img.getpixel(pil.punto(f, (px_ + dx * 3, py_ + dy * 3))), ANELLO[1]):
            return False
    return True


def attendi_prese(partita, f, attese, focus=None):
    """Waits until exactly the tiles at the given places are shown picked up and, if given,
    the focus ring stands around the control `focus`."""
    pil = partita.pil
    visto = [None]

    def ok():
        img = pil.foto(f)
        p = prese(pil, img, f)
        a = focus is None or anello(pil, img, f, focus)
        visto[0] = (p, a)
        return p == attese and a
    try:
        pil.attendi(ok, "FormOrd", secondi=10)
    except Fallito as e:
        raise Fallito(f"FormOrd: expected tiles picked up at {attese} and the focus ring "
                      f"{'at ' + str(focus) if focus else 'anywhere'}; the screen shows {visto[0]}") from e


def inizio_ordina(partita, f):
    pil = partita.pil
    img = pil.foto_ferma(f)
    posto = tessere(pil, img, f)
    if sorted(posto) != list(range(1, 10)):
        raise Fallito(f"FormOrd: the tiles read {sorted(posto)}, not 1 to 9")
    return posto


def segna_giusta(partita, f, posto, n):
    partita.esatti += 1
    partita.risposte_giuste += 1
    esatti, errati = partita.conti()
    partita.attendi_ordina(f, n, {k: v for k, v in posto.items() if k > n}, faccia="si", nero=False,
                           esatti=esatti, errati=errati, avanti=(n == 9))


def segna_sbagliata(partita, f, posto):
    partita.errati += 1
    partita.risposte_sbagliate += 1
    partita.attendi_ordina(f, 0, posto, faccia="no", nero=True)


def ordina_a_tocchi(partita, f):
    """One game of FormOrd by clicks, the pointer never moving with the button down."""
    pil = partita.pil
    posto = inizio_ordina(partita, f)
    # A click picks tile 1 up: its frame, and the focus ring with it; a click on the
    # window's ground puts it down, counting nothing.
    pil.clic(f, ORD_TESSERE[posto[1]])
    attendi_prese(partita, f, [posto[1]], focus=ORD_TESSERE[posto[1]])
    pil.clic(f, ORD_FONDO)
    attendi_prese(partita, f, [])
    partita.attendi_ordina(f, 0, posto, faccia="si", esatti=(0, False), errati=(0, False))
    # The same tile clicked again puts it down (a click of its own, not the second of a
    # double click, which picks up as one click does); another tile moves the pick.
    pil.clic(f, ORD_TESSERE[posto[2]])
    attendi_prese(partita, f, [posto[2]])
    time.sleep(DOPPIO_CLIC)
    pil.clic(f, ORD_TESSERE[posto[2]])
    attendi_prese(partita, f, [])
    time.sleep(DOPPIO_CLIC)
    pil.clic(f, ORD_TESSERE[posto[2]])
    attendi_prese(partita, f, [posto[2]])
    pil.clic(f, ORD_TESSERE[posto[1]])
    attendi_prese(partita, f, [posto[1]])
    # Tile 1 on the second box: wrong, the window turns black, nothing moves.
    pil.clic(f, ORD_CASELLE[1])
    segna_sbagliata(partita, f, posto)
    attendi_prese(partita, f, [])
    for n in range(1, 10):
        pil.clic(f, ORD_TESSERE[posto[n]])
        attendi_prese(partita, f, [posto[n]])
        pil.clic(f, ORD_CASELLE[n - 1])
        segna_giusta(partita, f, posto, n)


def ordina_coi_tasti(partita, f):
    """One game of FormOrd by keys alone, following the focus ring on the screen."""
    pil = partita.pil
    posto = inizio_ordina(partita, f)
    in_gioco = set(range(9))  # places of the bottom row whose tile is still in play

    def vai(da, a, colonne):
        """The arrow keys from one column to another along a row of the given columns."""
        if a >= da:
            return ["Right"] * len([c for c in colonne if da < c <= a])
        return ["Left"] * len([c for c in colonne if a <= c < da])

    # A new game gives the focus to the leftmost tile.
    attendi_prese(partita, f, [], focus=ORD_TESSERE[0])
    colonna = 0
    # Tile 1 picked up with Space and put down with Escape: nothing counted.
    pil.tasti(f.id, *vai(colonna, posto[1], in_gioco), "space")
    colonna = posto[1]
    attendi_prese(partita, f, [colonna], focus=ORD_TESSERE[colonna])
    pil.tasti(f.id, "Escape")
    attendi_prese(partita, f, [], focus=ORD_TESSERE[colonna])
    partita.attendi_ordina(f, 0, posto, faccia="si", esatti=(0, False), errati=(0, False))
    # Picked up again and put on the second box with Enter: wrong.
    pil.tasti(f.id, "space", "Up", *vai(colonna, 1, range(9)))
    attendi_prese(partita, f, [posto[1]], focus=ORD_CASELLE[1])
    pil.tasti(f.id, "Return")
    segna_sbagliata(partita, f, posto)
    casella = 1
    for n in range(1, 10):
        # Down to the nearest tile in play, along the row to tile n, Space, up, along the
        # boxes to box n - 1, Enter.
        colonna = min(in_gioco, key=lambda c: (abs(c - casella), c))
        pil.tasti(f.id, "Down", *vai(colonna, posto[n], in_gioco), "space")
        colonna = posto[n]
        attendi_prese(partita, f, [colonna], focus=ORD_TESSERE[colonna])
        pil.tasti(f.id, "Up", *vai(colonna, n - 1, range(9)), "Return")
        casella = n - 1
        in_gioco.discard(colonna)
        segna_giusta(partita, f, posto, n)
        attendi_prese(partita, f, [], focus=ORD_CASELLE[casella])


def scenario_ordina(ctx, tasti):
    partita = ctx.avvia()
    menu = partita.avvio()
    f = partita.apri(menu, "FormOrd")
    (ordina_coi_tasti if tasti else ordina_a_tocchi)(partita, f)
    menu = partita.esci_al_menu(f, RIGA_IN_ALTO)
    partita.fine(menu, prova_no=False)
    controlla_registro(partita)
    return (f"{partita.risposte_giuste} right and {partita.risposte_sbagliate} wrong answers "
            f"{'by keys' if tasti else 'by clicks'}, status 0")


def scenario_ordina_coperta(ctx):
    partita = ctx.avvia()
    pil = partita.pil
    f = partita.apri(partita.avvio(), "FormOrd")
    posto = inizio_ordina(partita, f)
    # Another program's window over the right part of the row of boxes, the tiles below
    # it in sight.
    x, y, _, _ = pil.s.sullo_schermo(f.id)
    bx, by = pil.punto(f, ORD_CASELLE[6][:2])
    radice = pil.s.radice
    coperta = radice.create_window(x + bx - 10, y + by - 10, f.w - bx + 20, ORD_CASELLE[6][3] + 20, 0,
                                   pil.s.xd.screen().root_depth, X.InputOutput, X.CopyFromParent,
                                   background_pixel=pil.s.xd.screen().black_pixel, override_redirect=True)
    coperta.map()
    pil.s.xd.sync()
    # Tile 8 let go over that window, where its own box lies hidden: not placed.
    pil.trascina(f, ORD_TESSERE[posto[8]], ORD_CASELLE[7])
    # The program asks the X server which window is on top as it handles the release, so
    # the cover stays until a later click is seen handled: tile 1 picked up.
    pil.clic(f, ORD_TESSERE[posto[1]])
    attendi_prese(partita, f, [posto[1]])
    coperta.destroy()
    pil.s.xd.sync()
    # Then tile 1 on its box, in sight: right, and tile 8 still in the row.
    pil.clic(f, ORD_CASELLE[0])
    segna_giusta(partita, f, posto, 1)
    partita.fine(partita.esci_al_menu(f, RIGA_IN_ALTO), prova_no=False)
    controlla_registro(partita)
    return "a tile let go over another window counted nothing; one put in sight was placed; status 0"


def scenario_tasto_tenuto(ctx):
    lento = CollegamentoLento(ctx.schermo)
    try:
        partita = ctx.avvia(env={"DISPLAY": lento.display})
        pil = partita.pil

        def tieni(wid, tasto):
            """The key held down for 2 s, well past the server's repeat delay (0.66 s); it
            repeats some 30 times, fewer on a busy machine."""
            pil.s.xdo("windowfocus", "--sync", wid)
            prima = lento.rilasci
            pil.s.xdo("keydown", tasto, "sleep", "2", "keyup", tasto)
            pil.attendi(lambda: lento.rilasci - prima > 3, f"{tasto} held down to repeat (else the test proves nothing)")

        def figure(n):
            pil.attendi(lambda: griglia_es4(pil, pil.foto(f), f) == n, f"{n} pictures in the answer grid")
            time.sleep(0.3)
            if griglia_es4(pil, pil.foto(f), f) != n:
                raise Fallito(f"FormEs4: the answer grid went past {n} pictures")

        # Command1 has the focus: Enter held, Space held, then Enter pressed once, each
        # one more picture.
        menu = partita.avvio()
        f = partita.apri(menu, "FormEs4")
        tieni(f.id, "Return")
        figure(1)
        tieni(f.id, "space")
        figure(2)
        pil.tasti(f.id, "Return")
        figure(3)
        # "Esci" in the menu: Enter held opens the question and does not answer it.
        menu = partita.esci_al_menu(f, COLONNA_ALTA)
        pil.tasti(menu.id, "Tab", "Tab", "Tab")
        tieni(menu.id, "Return")
        pil.rispondi_scatola([], "Escape")
        partita.fine(pil.finestra("menu"), prova_no=False)
        controlla_registro(partita)
        return "Enter and Space held down on a button acted once each, Enter held on Esci asked once; status 0"
    finally:
        lento.chiudi()


def collocata(schermo, wid, cosa, centrata=True):
    """Checks that a window lies within the screen where it fits (centred, for the main
    windows) and that its top-left corner is on the screen where it does not."""
    g = schermo.sullo_schermo(wid)
    if g is None:
        raise Fallito(f"{cosa} went away")
    x, y, w, h = g
    for p, lato, spazio in ((x, w, schermo.dimensioni[0]), (y, h, schermo.dimensioni[1])):
        if lato > spazio:
            ok = 0 <= p < spazio
        else:
            # Centred to within a pixel of the program's own (two at a scale factor of 2).
            ok = 0 <= p <= spazio - lato and (not centrata or abs(p - (spazio - lato) // 2) <= 2)
        if not ok:
            raise Fallito(f"{cosa} ({w}x{h}) stands at {x},{y} on a screen of "
                          f"{schermo.dimensioni[0]}x{schermo.dimensioni[1]}")
    return f"{cosa} {w}x{h} at {x},{y}"


def sola_finestra(pil, larghezza, cosa):
    """Waits for the program's one main window of the given width (no screenshot: it may
    stand partly off the screen); its window id."""
    def trova():
        principali, scatole = pil.finestre()
        if len(principali) != 1 or scatole:
            return None
        g = pil.s.geometria(principali[0])
        return principali[0] if g and g[2] == larghezza else None
    return pil.attendi(trova, cosa)


def scenario_schermo_piccolo(ctx):
    visti = []
    # A screen that holds the menu but neither the title window nor "Ordina i numeri".
    piccolo = Schermo(ctx.tmp, (660, 500))
    try:
        ctx.n += 1
        p = Tivoro(piccolo, ctx.eseguibile, ctx.tmp, os.path.join(ctx.tmp, f"tivoro-{ctx.n}.log"))
        pil = Pilota(piccolo, p, ctx.lettore)
        partita = Partita(pil)
        ctx.partite.append(partita)
        titolo = sola_finestra(pil, CLIENT["avvio"][0], "the title window")
        visti.append(collocata(piccolo, titolo, "the title window"))
        pil.tasti(titolo, "Return")
        menu = partita.menu()
        visti.append(collocata(piccolo, menu.id, "the menu"))
        pil.clic(menu, MENU_BOTTONI["FormOrd"])
        wid = sola_finestra(pil, CLIENT["ord"][0], "Ordina i numeri")
        visti.append(collocata(piccolo, wid, "Ordina i numeri"))
        # "Informazioni" from the part of the menu bar on the screen: its box on the screen.
        x, y, w, h = piccolo.sullo_schermo(wid)
        f = Finestra(wid, "ord", x, y, min(w, piccolo.dimensioni[0] - x), h)
        def voci():
            # The window maps before its menu bar has drawn all three items.
            img = piccolo.foto(wid, (f.w, f.origine[1]))
            try:
                return pil.voci_menu(img, f) if img else None
            except Fallito:
                return None
        mx, my = pil.attendi(voci, "the menu bar with its three items")[1]
        piccolo.xdo("mousemove", "--window", wid, mx, my, "mousedown", "1", "mouseup", "1")
        b = pil.scatola([])
        visti.append(collocata(piccolo, b, "the message box", centrata=False))
        pil.tasti(b, "Return")
        pil.attendi(lambda: b not in pil.finestre()[1], "the message box to close")
        p.chiudi()
    finally:
        piccolo.chiudi()

    # The same at twice the size on the usual screen: the title window is larger than it.
    partita = ctx.avvia(env={"QT_SCALE_FACTOR": "2"})
    pil = partita.pil
    titolo = sola_finestra(pil, 2 * CLIENT["avvio"][0], "the title window at twice the size")
    visti.append(collocata(ctx.schermo, titolo, "the title window at 200 %"))
    pil.tasti(titolo, "Return")
    menu = sola_finestra(pil, 2 * CLIENT["menu"][0], "the menu at twice the size")
    visti.append(collocata(ctx.schermo, menu, "the menu at 200 %"))
    pil.p.chiudi()
    return "; ".join(visti)


SCENARI = {
    "ordina-tocchi": lambda ctx: scenario_ordina(ctx, tasti=False),
    "ordina-tasti": lambda ctx: scenario_ordina(ctx, tasti=True),
    "ordina-coperta": scenario_ordina_coperta,
    "tasto-tenuto": scenario_tasto_tenuto,
    "giro": scenario_giro,
    "breve": scenario_breve,
    "cartella": scenario_cartella,
    "senza-gif": scenario_senza_gif,
    "senza-suoni": scenario_senza_suoni,
    "senza-audio": scenario_senza_audio,
    "uscita-chiusa": scenario_uscita_chiusa,
    "fine-sessione": scenario_fine_sessione,
    "schermo-piccolo": scenario_schermo_piccolo,
}


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("eseguibile")
    ap.add_argument("scenari", nargs="+", choices=sorted(SCENARI))
    ap.add_argument("--docs", help="save screenshots of the windows into this folder")
    a = ap.parse_args()
    eseguibile = os.path.abspath(a.eseguibile)
    if not os.access(eseguibile, os.X_OK):
        print(f"e2e: {eseguibile} is not an executable", file=sys.stderr)
        return 2
    docs = os.path.abspath(a.docs) if a.docs else None
    if docs:
        os.makedirs(docs, exist_ok=True)
    inizio = time.monotonic()
    tmp = tempfile.mkdtemp(prefix="tivoro-e2e-")
    schermo = Schermo(tmp)
    ctx = Contesto(schermo, Lettore(), eseguibile, tmp, docs)
    esito = 0
    try:
        for nome in a.scenari:
            t0 = time.monotonic()
            try:
                riassunto = SCENARI[nome](ctx)
            except Exception as e:  # noqa: BLE001 - every failure is reported the same way
                esito = 1
                if not isinstance(e, Fallito) or os.environ.get("TIVORO_E2E_TRACCIA"):
                    import traceback
                    traceback.print_exc()
                print(f"FAIL {nome}: {e}", file=sys.stderr, flush=True)
                if ctx.partite:
                    ultima = ctx.partite[-1]
                    if ultima.pil.ultima is not None:
                        ultima.pil.ultima.save(os.path.join(tmp, "ultima-foto.png"))
                    ultima.pil.p.chiudi()
                    print("program output:\n" + ultima.pil.p.testo_registro()[-3000:], file=sys.stderr)
                break
            print(f"ok   {nome} ({time.monotonic() - t0:.1f} s): {riassunto}", flush=True)
    finally:
        for partita in ctx.partite:
            partita.pil.p.chiudi()
        schermo.chiudi()
    if esito:
        print(f"e2e: failed; screenshots and the program's output are in {tmp}", file=sys.stderr)
        return 1
    if os.environ.get("TIVORO_E2E_TENERE"):
        print(f"e2e: files kept in {tmp}")
    else:
        shutil.rmtree(tmp, ignore_errors=True)
    print(f"e2e: {len(a.scenari)} scenario(s) passed in {time.monotonic() - inizio:.1f} s ({eseguibile})")
    return 0


if __name__ == "__main__":
    sys.exit(main())
