"""What each Qt feature switched off in tools/web-qt took of the program's code.

    parti-qt.py PRIMA.wasm DOPO.wasm

PRIMA.wasm and DOPO.wasm are the program linked with two browser Qts, with every feature and
without those of TIVORO_WEB_QT_SENZA, both keeping the functions' names (configure with
-DCMAKE_EXE_LINKER_FLAGS=--profiling-funcs; docs/WEB.md says how). A Qt is built with many
features off at once, so what one feature saved alone is not measured by building; instead
the functions of PRIMA that DOPO no longer has are put to the feature whose classes they
belong to (the table below, by name), and weighed alone, raw and gzipped (-9). What the
names do not tell (code that only the features reached: regular expressions, the tables'
accessibility, sockets...) is a row of its own, with its largest classes.

Prints a Markdown table for docs/WEB.md.
"""

import collections
import gzip
import re
import subprocess
import sys

# Feature, then the classes and functions that are its own.
PARTI = [
    ("itemviews", r"QAbstractItemView|QListView|QTreeView|QTableView|QHeaderView|QItemDelegate"
     r"|QStyledItemDelegate|QAbstractItemDelegate|QListWidget|QTreeWidget|QTableWidget|QItemEditor"
     r"|ViewBase\b|QDefaultItemEditorFactory|QExpandingLineEdit|QBooleanComboBox|QStandardItem"
     r"|QAbstractItemModel|QAbstractListModel|QAbstractTableModel|QItemSelection|QPersistentModelIndex"
     r"|QModelIndex|ProxyModel|QStringListModel|QTableCornerButton|QSpanCollection|QEmptyItemModel"
     r"|QStyleOptionViewItem|QStyleOptionHeader|QTreeModel|QTableModel|QListModel|QAccessibleTable"
     r"|QAccessibleTree|QAccessibleList"),
    ("graphicsview", r"QGraphics|QSimplex|QGridLayoutEngine|QGridLayoutItem|QGridLayoutBox"),
    ("dockwidget", r"QDock|QMainWindowLayout|QMainWindowTabBar|QPlaceHolderItem"),
    ("filedialog", r"QFileDialog|QSidebar|QUrlModel|QFSCompleter|FileIconProvider"),
    ("gestures", r"Gesture"),
    ("sha3-fast", r"Keccak|SHA3|sha3"),
    ("mdiarea", r"QMdi"),
    ("textmarkdownreader", r"QTextMarkdownImporter|\bmd_|^Cb[A-Z]|MD_"),
    ("textmarkdownwriter", r"QTextMarkdownWriter"),
    ("filesystemmodel", r"QFileSystemModel|QFileInfoGatherer|QFileSystemNode|QExtendedInformation"),
    ("datetimeedit", r"QDateTimeEdit|QDateEdit|QTimeEdit|QCalendarPopup|QDateTimeParser"),
    ("calendarwidget", r"QCalendarWidget|QCalendarModel|QCalendarView|QCalendarDelegate"
     r"|QCalendarTextNavigator|QPrevNextCalButton|QCalToolButton|QCalendar\w*Validator"),
    ("combobox", r"QComboBox|QComboMenuDelegate|QComboLineEditIconProvider"),
    ("spinbox", r"QAbstractSpinBox|QSpinBox|QDoubleSpinBox"),
    ("tabbar", r"QTabBar|QMovableTabWidget"),
    ("tabwidget", r"QTabWidget"),
    ("toolbar", r"QToolBar"),
    ("mimetype-database", r"QMime"),
    ("colordialog", r"QColorDialog|QColorPicker|QColorLuminancePicker|QColorShow|QColorWell"
     r"|QColSpinBox|QWellArray|QColorPickingEventFilter"),
    ("fontdialog", r"QFontDialog|QFontListView|QFontFamilyDelegate"),
    ("textodfwriter", r"QTextOdfWriter|QZipWriter|QZipReader|QXmlStreamWriter"),
    ("scroller", r"QScroller|QScrollTimer"),
    ("filesystemwatcher", r"QFileSystemWatcher|FileSystemWatcherEngine"),
    ("textbrowser", r"QTextBrowser"),
    ("splitter", r"QSplitter"),
    ("completer", r"QCompleter|QCompletionModel|QCompletionEngine|ModelEngine\b"),
    ("lcdnumber", r"QLCDNumber"),
    ("movie", r"QMovie"),
    ("whatsthis", r"QWhatsTh"),
    ("errormessage", r"QErrorMessage"),
    ("statusbar", r"QStatusBar"),
    ("sizegrip", r"QSizeGrip"),
    ("jalalicalendar", r"QJalali"),
    ("islamiccivilcalendar", r"QIslamic|QHijri"),
    ("sessionmanager", r"QSessionManager"),
    ("socks5, udpsocket, localserver, dnslookup", r"QSocks5|QUdpSocket|QNetworkDatagram|QLocalServer"
     r"|QLocalSocket|QDns|QAbstractSocket|QNativeSocketEngine|QSocketNotifier|QTcpSocket"),
    ("topleveldomain", r"qIsEffectiveTLD|qTopLevelDomain|containsTLDEntry|QNetworkCookieJar"),
    ("wizard", r"QWizard"), ("undocommand", r"QUndo"), ("toolbox", r"QToolBox"),
    ("systemtrayicon", r"QSystemTrayIcon|QBalloonTip"), ("syntaxhighlighter", r"QSyntaxHighlighter"),
    ("splashscreen", r"QSplashScreen"), ("progressdialog", r"QProgressDialog"),
    ("networkdiskcache", r"QNetworkDiskCache"), ("keysequenceedit", r"QKeySequenceEdit"),
    ("jpeg", r"QJpeg|\bjpeg_"), ("ico", r"QtIcoHandler"), ("inputdialog", r"QInputDialog"),
    ("fontcombobox", r"QFontComboBox"), ("dial", r"QDial\b"), ("commandlinkbutton", r"QCommandLinkButton"),
]


def leb(b, i):
    r = s = 0
    while True:
        x = b[i]
        i += 1
        r |= (x & 0x7F) << s
        s += 7
        if x < 0x80:
            return r, i


def funzioni(percorso):
    """{name: body} of a wasm module's own functions, named by its name section."""
    b = open(percorso, "rb").read()
    i, importate, corpi, nomi = 8, 0, [], {}
    while i < len(b):
        sezione = b[i]
        misura, i = leb(b, i + 1)
        fine = i + misura
        if sezione == 2:  # imports: imported functions come first in the numbering
            n, j = leb(b, i)
            for _ in range(n):
                for _ in range(2):
                    l, j = leb(b, j)
                    j += l
                tipo = b[j]
                j += 1
                if tipo == 0:
                    importate += 1
                    _, j = leb(b, j)
                elif tipo in (1, 2):  # table, memory: limits
                    j += tipo == 1
                    flag = b[j]
                    _, j = leb(b, j + 1)
                    if flag & 1:
                        _, j = leb(b, j)
                elif tipo == 3:
                    j += 2
                else:
                    _, j = leb(b, j + 1)
        elif sezione == 10:
            n, j = leb(b, i)
            for _ in range(n):
                l, j = leb(b, j)
                corpi.append(b[j:j + l])
                j += l
        elif sezione == 0:
            l, j = leb(b, i)
            if b[j:j + l] == b"name":
                j += l
                while j < fine:
                    sotto = b[j]
                    l, j = leb(b, j + 1)
                    if sotto == 1:
                        n, k = leb(b, j)
                        for _ in range(n):
                            indice, k = leb(b, k)
                            l2, k = leb(b, k)
                            nomi[indice] = b[k:k + l2].decode("utf-8", "replace")
                            k += l2
                    j += l
        i = fine
    if not nomi:
        sys.exit(f"{percorso}: no function names (link with --profiling-funcs)")
    return {nomi.get(importate + k, f"f{importate + k}"): c for k, c in enumerate(corpi)}


def kib(n):
    return f"{n / 1024:.1f}"


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    prima, dopo = funzioni(sys.argv[1]), funzioni(sys.argv[2])
    andate = [k for k in prima if k not in dopo]
    leggibili = subprocess.run(["llvm-cxxfilt"], input="\n".join(andate), capture_output=True,
                               text=True, check=True).stdout.split("\n")
    gruppi = collections.defaultdict(list)
    classi = collections.Counter()
    for nome, leggibile in zip(andate, leggibili):
        parte = next((p for p, r in PARTI if re.search(r, leggibile)), None)
        gruppi[parte].append(prima[nome])
        if parte is None:
            m = re.match(r"(?:[\w:<>, ]+ )?([A-Za-z_]\w*)(?:::|\()", leggibile)
            classi[m.group(1) if m else leggibile[:30]] += len(prima[nome])
    print("| Feature | functions | code | gzipped alone |")
    print("|---|---|---|---|")
    righe = [(sum(map(len, gruppi[p])), p) for p, _ in PARTI]
    for misura, parte in sorted(righe, reverse=True):
        corpi = gruppi[parte]
        if corpi:
            print(f"| `{parte}` | {len(corpi)} | {kib(misura)} KiB "
                  f"| {kib(len(gzip.compress(b''.join(corpi), 9)))} KiB |")
    resto = gruppi[None]
    maggiori = ", ".join(f"{c} {kib(n)}" for c, n in classi.most_common(6))
    print(f"| other code only the features reached (largest: {maggiori}) | {len(resto)} "
          f"| {kib(sum(map(len, resto)))} KiB | {kib(len(gzip.compress(b''.join(resto), 9)))} KiB |")
    tutte = [prima[k] for k in andate]
    print(f"| **all** | {len(tutte)} | {kib(sum(map(len, tutte)))} KiB "
          f"| {kib(len(gzip.compress(b''.join(tutte), 9)))} KiB |")
    nessuna = [p for p, _ in PARTI if not gruppi[p]]
    print(f"\nNo function of their own in the program: {', '.join(nessuna) or 'none'}.")


if __name__ == "__main__":
    main()
