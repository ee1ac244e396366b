#include "ui/CasellaRisposta.h"

#include "ui/Twips.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <cmath>

// A held key repeats, and some platforms (X11) send a release before every repeated
// press, at the same time as that press. Qt marks such a release as auto-repeat only when
// the press has already been read as the release is handed out, which is not always so.
// A release that is not marked is therefore held back until it is known to be real: the
// next press or release of a key, or press of the pointer, anywhere in the program decides
// it (the same key pressed at the same time: a repeat; anything else: real, and its key-up
// comes before that event takes effect), and so do the box losing the focus or being
// disabled; when nothing comes, a short wait does. A release without a key code of the
// keyboard was made by a program (tests, on-screen keyboards, assistive tools), never by
// a held key, and is real at once.
namespace {
// The server sends the release and the repeated press together; only reading them may
// take the program a moment. Short enough that a child sees no delay.
constexpr int AttesaRipetizioneMs = 50;

int Codice(int tasto) { return tasto == Qt::Key_Return || tasto == Qt::Key_Enter ? CasellaRisposta::Invio : tasto; }
} // namespace

bool CasellaRisposta::Rilascio::RipetutoDa(const QKeyEvent* pressione) const
{
    return nativo != 0 && pressione->nativeScanCode() == nativo && pressione->key() == tasto &&
           pressione->timestamp() == ora;
}

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
    attesa_.setSingleShot(true);
    attesa_.setInterval(AttesaRipetizioneMs);
    connect(&attesa_, &QTimer::timeout, this, &CasellaRisposta::Conferma);
}

int CasellaRisposta::CodiceTasto(const QKeyEvent* e) { return Codice(e->key()); }

void CasellaRisposta::keyPressEvent(QKeyEvent* e)
{
    // A repeat, whether marked or not, is no new press; nor is the repeat of a release
    // that was taken as real because the wait ran out: the key was held all along, its
    // key-up has been given, and its last release must not give another.
    const bool ripeteSospeso = sospeso_ && sospeso_->RipetutoDa(e);
    if (ripeteSospeso)
        Dimentica();
    else
        Conferma();
    const bool ripetizione = e->isAutoRepeat() || ripeteSospeso || confermato_.RipetutoDa(e);
    const int codice = CodiceTasto(e);
    if (codice == Invio && !ripetizione)
        invioPremuto_ = true;
    emit TastoGiu(codice);
    QLineEdit::keyPressEvent(e);
}

void CasellaRisposta::keyReleaseEvent(QKeyEvent* e)
{
    Conferma();
    QLineEdit::keyReleaseEvent(e);
    if (e->isAutoRepeat())
        return;
    if (e->nativeScanCode() == 0) {
        Rilasciato(CodiceTasto(e));
        return;
    }
    sospeso_ = Rilascio{e->key(), e->nativeScanCode(), e->timestamp()};
    attesa_.start();
    QCoreApplication::instance()->installEventFilter(this);
}

bool CasellaRisposta::eventFilter(QObject* oggetto, QEvent* e)
{
    // Seen before the event reaches its widget, so that a held-back key-up keeps its place.
    if (sospeso_) {
        switch (e->type()) {
        case QEvent::KeyPress:
            if (!sospeso_->RipetutoDa(static_cast<QKeyEvent*>(e)))
                Conferma();
            break;
        case QEvent::KeyRelease:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseButtonRelease:
        case QEvent::TouchBegin:
        case QEvent::TabletPress:
        case QEvent::ContextMenu:
            Conferma();
            break;
        default:
            break;
        }
    }
    return QLineEdit::eventFilter(oggetto, e);
}

void CasellaRisposta::Rilasciato(int codice)
{
    if (codice == Invio) {
        if (!invioPremuto_)
            return;
        invioPremuto_ = false;
    }
    emit TastoSu(codice);
}

// The held-back release was real.
void CasellaRisposta::Conferma()
{
    if (!sospeso_)
        return;
    confermato_ = *sospeso_;
    Dimentica();
    Rilasciato(Codice(confermato_.tasto));
}

void CasellaRisposta::Dimentica()
{
    sospeso_.reset();
    attesa_.stop();
    QCoreApplication::instance()->removeEventFilter(this);
}

void CasellaRisposta::focusOutEvent(QFocusEvent* e)
{
    Conferma();
    invioPremuto_ = false;
    QLineEdit::focusOutEvent(e);
}

void CasellaRisposta::changeEvent(QEvent* e)
{
    if (e->type() == QEvent::EnabledChange && !isEnabled())
        Conferma();
    QLineEdit::changeEvent(e);
}

// A box that goes away takes no answer: it may be going with its window, whose owner
// is then no longer whole.
void CasellaRisposta::hideEvent(QHideEvent* e)
{
    Dimentica();
    QLineEdit::hideEvent(e);
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
