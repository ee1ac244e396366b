#!/usr/bin/python3
"""Tivoro as a blind child's screen reader finds it, played with the keyboard alone.

    accessibile.py EXE

The built program runs in a private Xvfb with Qt's accessibility bridge on; this script
reads its tree over AT-SPI (as a screen reader does) and answers with real key presses
(xdotool), reading each question from the names in the tree: the pictures are counted by
their names, the group picture is known by the things it names. It checks on the way
that every control that takes the focus has a name, that the menu's look-alike buttons
differ, that the menu bar's items have no trailing blanks, and that a changed count is
announced by a name-change event. It needs a D-Bus session of its own
(accessibile.sh runs it inside dbus-run-session).
"""

import os
import shutil
import sys
import tempfile
import time

import pyatspi
from gi.repository import GLib

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from tivoro_e2e import Fallito, Schermo, Tivoro, attendi  # noqa: E402

# What each group picture shows, and so how many things are in it (assets/README.md).
GRUPPI = {"mele": 1, "pulcini": 2, "stelle": 3, "fiori": 4, "palloni": 5,
          "coccinelle": 6, "fragole": 7, "funghi": 8, "arance": 9}


class Lettore:
    """The program's accessibility tree, read as a screen reader reads it."""

    def __init__(self, schermo, programma):
        self.s = schermo
        self.p = programma
        self.annunci = []  # (role, new name) of every name-change event
        pyatspi.Registry.registerEventListener(self._evento, "object:property-change:accessible-name")

    def _evento(self, e):
        try:
            self.annunci.append((e.source.getRoleName(), e.source.name))
        except GLib.Error:
            pass  # the object went meanwhile

    def pompa(self):
        ctx = GLib.MainContext.default()
        while ctx.iteration(False):
            pass

    def attendi(self, condizione, cosa, secondi=20):
        def chiedi():
            self.pompa()
            try:
                return condizione()
            except GLib.Error:
                return None  # the tree changed under the question; ask again
        return attendi(self.p, chiedi, cosa, secondi, 0.05)

    def app(self):
        for a in pyatspi.Registry.getDesktop(0):
            if a is not None and a.name == "Tivoro":
                return a
        return None

    def finestre(self):
        a = self.app()
        return [w for w in a if w is not None] if a else []

    @staticmethod
    def discendenti(o):
        out = []
        for c in o:
            if c is not None:
                out.append(c)
                out.extend(Lettore.discendenti(c))
        return out

    @staticmethod
    def ha(o, stato):
        return o.getState().contains(stato)

    def finestra(self, *nomi):
        """The one main window, once it shows every control named."""
        def trova():
            for w in self.finestre():
                if w.getRole() != pyatspi.ROLE_FRAME or not self.ha(w, pyatspi.STATE_SHOWING):
                    continue
                presenti = {c.name for c in self.discendenti(w) if self.ha(c, pyatspi.STATE_SHOWING)}
                if all(n in presenti for n in nomi):
                    return w
            return None
        return self.attendi(trova, "a window with " + ", ".join(map(repr, nomi)))

    def scatola(self, testo=None):
        """A message box (that says testo, when given)."""
        def trova():
            for w in self.finestre():
                if w.getRole() == pyatspi.ROLE_FRAME:
                    continue
                if testo is None or any(c.name == testo for c in self.discendenti(w)):
                    return w
            return None
        return self.attendi(trova, f"a message box saying {testo!r}")

    def nessuna_scatola(self):
        self.attendi(lambda: all(w.getRole() == pyatspi.ROLE_FRAME for w in self.finestre()),
                     "the message box to close")

    def fuoco(self):
        """The control with the focus: the innermost focused object (in the menu bar's
        keyboard mode both the bar and its current item are focused)."""
        trovato = None
        for w in self.finestre():
            for c in self.discendenti(w):
                if self.ha(c, pyatspi.STATE_FOCUSED):
                    trovato = c
        return trovato

    def nome_fuoco(self):
        f = self.fuoco()
        return f.name if f is not None else None

    def mostrati(self, w, ruolo):
        return [c for c in self.discendenti(w) if c.getRole() == ruolo and self.ha(c, pyatspi.STATE_SHOWING)]

    def figure(self, w):
        return [c.name for c in self.mostrati(w, pyatspi.ROLE_IMAGE)]

    # -- checks on a whole window ---------------------------------------------------

    def tutti_con_nome(self, w):
        for c in self.discendenti(w):
            if self.ha(c, pyatspi.STATE_FOCUSABLE) and self.ha(c, pyatspi.STATE_SHOWING) and not c.name.strip():
                raise Fallito(f"a focusable {c.getRoleName()} has no name")

    def voci_menu(self, w):
        barre = [c for c in self.discendenti(w) if c.getRole() == pyatspi.ROLE_MENU_BAR]
        if len(barre) != 1:
            raise Fallito(f"{len(barre)} menu bars")
        voci = [c.name for c in barre[0]]
        if voci != ["Azzera conteggio", "Informazioni", "Esci"]:
            raise Fallito(f"the menu bar's items read {voci}")

    # -- keys -----------------------------------------------------------------------

    def premi(self, *tasti):
        visibili = self.s.visibili()
        if not visibili:
            raise Fallito("no window of the program on the screen")
        self.s.xdo("windowfocus", "--sync", visibili[-1])
        self.s.xdo("key", "--delay", "30", *tasti)

    def vai_a(self, nome, tasto="Tab"):
        """Moves the focus with Tab until it is on the control named nome."""
        for _ in range(16):
            prima = self.attendi(self.fuoco, "a control with the focus").name
            if prima == nome:
                return
            self.premi(tasto)
            self.attendi(lambda: self.nome_fuoco() != prima, f"the focus to leave {prima!r}", secondi=5)
        raise Fallito(f"Tab never reached {nome!r}")

    def tasti_e_annuncio(self, tasti, ruolo, nome):
        """Presses keys and waits for a name-change event that says nome."""
        self.pompa()
        self.annunci.clear()
        self.premi(*tasti)
        self.attendi(lambda: (ruolo, nome) in self.annunci, f"{nome!r} announced")

    def esci_dall_esercizio(self, tasto):
        """The menu bar by keyboard: tasto (Alt or F10), two steps right, Enter on "Esci",
        Enter on "Sì"."""
        # A lone Alt (or F10) only reaches the menu bar of the active window; right after a
        # new question or a closed box the window may not be active yet, and the key is lost.
        # Pressed again only when it has plainly not arrived, since a second one leaves the bar.
        for tentativo in range(3):
            self.premi(tasto)
            try:
                self.attendi(lambda: self.nome_fuoco() == "Azzera conteggio", f"{tasto} to reach the menu bar",
                             secondi=5)
                break
            except Fallito:
                if tentativo == 2:
                    raise
        self.premi("Right", "Right")
        self.attendi(lambda: self.nome_fuoco() == "Esci", "the arrows to reach \"Esci\"")
        self.premi("Return")
        self.scatola("Vuoi tornare al menù?")
        self.premi("Return")


def conta(l, nome_menu, gruppo):
    """One of the two counting windows: a wrong answer, then the right one."""
    l.vai_a(nome_menu)
    l.premi("Return")
    w = l.finestra("risposta", "Esatti: 0", "Errati: 0")
    l.tutti_con_nome(w)
    l.voci_menu(w)
    if l.nome_fuoco() != "risposta":
        raise Fallito(f"the counting window opens with the focus on {l.nome_fuoco()!r}")
    figure = l.figure(w)
    if gruppo:
        if len(figure) != 1 or not figure[0].endswith(" da contare"):
            raise Fallito(f"the group window shows {figure}")
        n = GRUPPI[figure[0].split()[0]]
    else:
        if not figure or len(set(figure)) != 1:
            raise Fallito(f"the counting window shows {figure}")
        n = len(figure)
    l.tasti_e_annuncio([str(n % 9 + 1), "Return"], "label", "Errati: 1")
    l.tasti_e_annuncio([str(n), "Return"], "label", "Esatti: 1")
    l.finestra("Esatti: 1", "Errati: 1", "risposta giusta")
    # After a right answer: Tab to "avanti", Enter, a new question in the answer box.
    l.vai_a("avanti")
    l.premi("Return")
    l.attendi(lambda: l.nome_fuoco() == "risposta", "the answer box to take the focus again")
    print(f"ok   {nome_menu}: {n} counted by name, answered by keys, counts announced")


def corrispondenza(l):
    l.vai_a("Corrispondenza 1 a 1")
    l.premi("Return")
    w = l.finestra("aggiungi una figura", "controlla", "svuota")
    l.tutti_con_nome(w)
    date = l.figure(w)
    if not date or len(set(date)) != 1:
        raise Fallito(f"the given set reads {date}")
    n = len(date)
    l.vai_a("aggiungi una figura")
    for i in range(n):
        l.premi("Return")
        l.attendi(lambda: len(l.figure(w)) == n + i + 1, f"picture {i + 1} to be added")
    l.vai_a("controlla")
    l.tasti_e_annuncio(["Return"], "label", "Esatti: 1")
    # "avanti" by keys, and the buttons take the keyboard again.
    l.vai_a("avanti")
    l.premi("Return")
    l.vai_a("aggiungi una figura")
    print(f"ok   Corrispondenza 1 a 1: {n} pictures added by keys, \"avanti\" by keys")
    l.esci_dall_esercizio("F10")


def confronto(l, nome_menu):
    l.vai_a(nome_menu)
    l.premi("Return")
    w = l.finestra("minore", "uguale", "maggiore")
    l.tutti_con_nome(w)
    immagini = l.mostrati(w, pyatspi.ROLE_IMAGE)

    def dove(o):
        x, y, _, _ = o.queryComponent().getExtents(pyatspi.WINDOW_COORDS)
        return y, x
    # The answer row, under all the groups: a picture of the first kind, then one of
    # the second.
    riga = sorted(immagini, key=dove)[-2:]
    primo, secondo = [o.name for o in sorted(riga, key=lambda o: dove(o)[1])]
    nomi = [o.name for o in immagini]
    q1, q2 = nomi.count(primo) - 1, nomi.count(secondo) - 1
    segno = "minore" if q1 < q2 else "maggiore" if q1 > q2 else "uguale"
    l.vai_a(segno)
    l.tasti_e_annuncio(["Return"], "label", "Esatti: 1")
    l.vai_a("avanti")
    l.premi("Return")
    l.vai_a("minore")
    print(f"ok   {nome_menu}: {q1} {primo} and {q2} {secondo}, \"{segno}\" and \"avanti\" by keys")
    l.esci_dall_esercizio("Alt")


def main():
    eseguibile = os.path.abspath(sys.argv[1])
    cartella = tempfile.mkdtemp(prefix="tivoro-a11y-")
    s = Schermo(cartella)
    p = Tivoro(s, eseguibile, cartella, os.path.join(cartella, "registro"),
               {"QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1"})
    try:
        l = Lettore(s, p)
        w = l.finestra("Avvio")
        l.tutti_con_nome(w)
        l.attendi(lambda: l.nome_fuoco() == "Avvio", "the focus on \"Avvio\"")
        l.premi("Return")

        menu = [
            "Conta fino a 9, figure ripetute", "Conta fino a 9, una figura di gruppo",
            "Corrispondenza 1 a 1", "Ordina i numeri",
            "minore, maggiore, uguale: gruppi affiancati", "minore, maggiore, uguale: gruppi mescolati",
            "Esci"]
        w = l.finestra(*menu)
        l.tutti_con_nome(w)
        bottoni = [c.name for c in l.mostrati(w, pyatspi.ROLE_PUSH_BUTTON)]
        if sorted(bottoni) != sorted(menu):
            raise Fallito(f"the menu's buttons read {bottoni}")
        print("ok   title and menu: every button named, the look-alike ones apart")

        conta(l, menu[0], gruppo=False)
        l.esci_dall_esercizio("F10")
        l.finestra(*menu)
        conta(l, menu[1], gruppo=True)
        l.esci_dall_esercizio("Alt")
        l.finestra(*menu)
        corrispondenza(l)
        l.finestra(*menu)
        confronto(l, menu[4])
        l.finestra(*menu)
        confronto(l, menu[5])
        l.finestra(*menu)

        l.vai_a("Ordina i numeri")
        l.premi("Return")
        w = l.finestra("Esatti: 0", "Errati: 0", "risposta giusta")
        l.voci_menu(w)
        l.premi("F10", "Right")
        l.attendi(lambda: l.nome_fuoco() == "Informazioni", "the arrows to reach \"Informazioni\"")
        l.premi("Return")
        l.scatola()
        l.premi("Return")
        l.nessuna_scatola()
        print("ok   Ordina i numeri: counts and faces named, \"Informazioni\" by keys")
        l.esci_dall_esercizio("F10")

        l.finestra(*menu)
        l.vai_a("Esci")
        l.premi("Return")
        l.scatola("Vuoi uscire dal programma?")
        l.premi("Return")
        limite = time.monotonic() + 15
        while p.vivo() and time.monotonic() < limite:
            time.sleep(0.1)
        if p.vivo() or p.uscita() != 0:
            raise Fallito(f"the program did not end with status 0 after \"Esci\" and \"Sì\" ({p.uscita()})")
        print("ok   \"Esci\" by keys ends the program with status 0")
    except Fallito as e:
        print(f"FAIL accessibile: {e}", file=sys.stderr)
        print(p.testo_registro()[-3000:], file=sys.stderr)
        return 1
    finally:
        p.chiudi()
        s.chiudi()
        shutil.rmtree(cartella, ignore_errors=True)
    print("accessibile: all cases passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
