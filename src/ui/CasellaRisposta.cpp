#include "ui/CasellaRisposta.h"

#include "ui/TastoTenuto.h"
#include "ui/Twips.h"

#include <QKeyEvent>
#include <cmath>

namespace {
int Codice(int tasto) { return tasto == Qt::Key_Return || tasto == Qt::Key_Enter ? CasellaRisposta::Invio : tasto; }
} // namespace

CasellaRisposta::CasellaRisposta(QWidget* padre, const QString& nome, const QRect& twips, const QFont& font)
    : QLineEdit(padre), tasto_(new TastoTenuto(this))
{
    setObjectName(nome);
    setGeometry(Twips::Rett(twips));
    setFont(font);
    setAlignment(Qt::AlignCenter);
    QPalette p = palette();
    p.setColor(QPalette::Text, Qt::black);
    setPalette(p);
    setContextMenuPolicy(Qt::NoContextMenu);
    connect(tasto_, &TastoTenuto::Lasciato, this, [this](int tasto) { Rilasciato(Codice(tasto)); });
}

int CasellaRisposta::CodiceTasto(const QKeyEvent* e) { return Codice(e->key()); }

void CasellaRisposta::keyPressEvent(QKeyEvent* e)
{
    const bool ripetizione = tasto_->Ripetuto(e);
    const int codice = CodiceTasto(e);
    if (codice == Invio && !ripetizione)
        invioPremuto_ = true;
    emit TastoGiu(codice);
    QLineEdit::keyPressEvent(e);
}

void CasellaRisposta::keyReleaseEvent(QKeyEvent* e)
{
    QLineEdit::keyReleaseEvent(e);
    tasto_->Rilascio(e);
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

// A release held back until then has been given first.
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
