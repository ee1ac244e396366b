#include "ui/CasellaRisposta.h"

#include "ui/Twips.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <cmath>

#if QT_CONFIG(xcb)
#include <dlfcn.h>
#endif

namespace {
// Whether the key of a release is still held down. Under X11 a held key sends a release
// before each repeated press, and Qt recognises such a release only when the press that
// follows has already arrived, which is not always so: X11 is then asked for the state of
// the keyboard. Elsewhere the releases of a held key are always marked as auto-repeat.
bool AncoraPremuto(const QKeyEvent* e)
{
#if QT_CONFIG(xcb)
    const quint32 codice = e->nativeScanCode();
    if (!qGuiApp || codice == 0 || codice > 255)
        return false;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->display())
        return false;
    using LeggiTastiera = int (*)(Display*, char*); // XQueryKeymap(Display*, char[32])
    static const LeggiTastiera leggi = [] {
        // libX11 is already loaded by Qt's X11 support.
        void* libX11 = dlopen("libX11.so.6", RTLD_LAZY | RTLD_NOLOAD);
        return libX11 ? reinterpret_cast<LeggiTastiera>(dlsym(libX11, "XQueryKeymap")) : nullptr;
    }();
    if (!leggi)
        return false;
    char tasti[32] = {};
    leggi(x11->display(), tasti);
    return (static_cast<unsigned char>(tasti[codice / 8]) >> (codice % 8)) & 1u;
#else
    Q_UNUSED(e);
    return false;
#endif
}
} // namespace

CasellaRisposta::CasellaRisposta(QWidget* padre, const QString& nome, const QRect& twips, const QFont& font)
    : QLineEdit(padre)
{
    setObjectName(nome);
    setGeometry(Twips::Rett(twips.x(), twips.y(), twips.width(), twips.height()));
    setFont(font);
    setAlignment(Qt::AlignCenter);
    QPalette p = palette();
    p.setColor(QPalette::Text, Qt::black);
    setPalette(p);
    setContextMenuPolicy(Qt::NoContextMenu);
}

int CasellaRisposta::CodiceTasto(const QKeyEvent* e)
{
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter)
        return Invio;
    return e->key();
}

void CasellaRisposta::keyPressEvent(QKeyEvent* e)
{
    const int codice = CodiceTasto(e);
    if (codice == Invio)
        invioPremuto_ = true;
    emit TastoGiu(codice);
    QLineEdit::keyPressEvent(e);
}

void CasellaRisposta::keyReleaseEvent(QKeyEvent* e)
{
    QLineEdit::keyReleaseEvent(e);
    if (e->isAutoRepeat() || AncoraPremuto(e))
        return;
    const int codice = CodiceTasto(e);
    if (codice == Invio) {
        if (!invioPremuto_)
            return;
        invioPremuto_ = false;
    }
    emit TastoSu(codice);
}

void CasellaRisposta::focusOutEvent(QFocusEvent* e)
{
    invioPremuto_ = false;
    QLineEdit::focusOutEvent(e);
}

double ValoreNumerico(const QString& testo)
{
    qsizetype i = 0;
    const qsizetype n = testo.size();
    // Blanks are any white space, line breaks of pasted text included.
    auto spazio = [&](qsizetype k) { return k < n && testo[k].isSpace(); };
    auto cifra = [&](qsizetype k) { return k < n && testo[k] >= u'0' && testo[k] <= u'9'; };
    while (spazio(i))
        ++i;
    const qsizetype inizio = i;
    if (i < n && (testo[i] == u'+' || testo[i] == u'-'))
        ++i;
    const qsizetype inizioCifre = i;
    while (cifra(i))
        ++i;
    bool cifre = i > inizioCifre;
    if (i < n && testo[i] == u'.') {
        const qsizetype dopoPunto = i + 1;
        qsizetype j = dopoPunto;
        while (cifra(j))
            ++j;
        if (j > dopoPunto || cifre) {
            cifre = cifre || j > dopoPunto;
            i = j;
        }
    }
    if (!cifre)
        return 0.0;
    if (i < n && (testo[i] == u'e' || testo[i] == u'E')) {
        qsizetype j = i + 1;
        if (j < n && (testo[j] == u'+' || testo[j] == u'-'))
            ++j;
        const qsizetype inizioEsp = j;
        while (cifra(j))
            ++j;
        if (j > inizioEsp)
            i = j;
    }
    bool ok = false;
    const double v = testo.mid(inizio, i - inizio).toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return 0.0;
    return v;
}
