#include "ui/Tastierino.h"

#include "ui/Controlli.h"
#include "ui/Twips.h"

namespace {
// Between neighbouring keys, in pixels: a finger that misses a key hits no other.
constexpr int Spazio = 8;
constexpr int NumeroTasti = 11;
} // namespace

Tastierino::Tastierino(QWidget* padre, const QString& nome, const QRect& twips, int colonne, const QFont& font,
                       const QIcon& conferma)
    : QWidget(padre)
{
    setObjectName(nome);
    setGeometry(Twips::Rett(twips));
    setFocusPolicy(Qt::NoFocus);
    const int righe = (NumeroTasti + colonne - 1) / colonne;
    const int lato = (width() - (colonne - 1) * Spazio) / colonne;
    const int alto = (height() - (righe - 1) * Spazio) / righe;
    auto posto = [&](int k, int celle) {
        const int riga = k / colonne;
        const int colonna = k % colonne;
        return QRect(colonna * (lato + Spazio), riga * (alto + Spazio), celle * lato + (celle - 1) * Spazio, alto);
    };
    for (int k = 0; k < 10; ++k) {
        const int cifra = (k + 1) % 10;
        auto* tasto = new Pulsante(this, Controlli::NomeElemento("Cifra", cifra), QRect(), QString::number(cifra), font);
        tasto->setGeometry(posto(k, 1));
        connect(tasto, &QAbstractButton::clicked, this, [this, cifra] { emit Cifra(cifra); });
        cifre_[std::size_t(cifra)] = tasto;
    }
    auto* ok = new Pulsante(this, QStringLiteral("Conferma"), QRect(), QString(), font);
    ok->setIcon(conferma);
    ok->setIconSize(QSize(32, 32));
    ok->setGeometry(posto(10, colonne - 10 % colonne));
    connect(ok, &QAbstractButton::clicked, this, &Tastierino::Conferma);
    conferma_ = ok;
    for (QAbstractButton* t : Tasti())
        t->setFocusPolicy(Qt::TabFocus);
}

QList<QAbstractButton*> Tastierino::Tasti() const
{
    QList<QAbstractButton*> tasti;
    for (int k = 0; k < 10; ++k)
        tasti.append(cifre_[std::size_t((k + 1) % 10)]);
    tasti.append(conferma_);
    return tasti;
}
