#include "app/Modulo1.h"

#include "app/Casuale.h"
#include "app/Piattaforma.h"
#include "ui/Controlli.h"
#include "ui/Figure.h"
#include "ui/Finestre.h"
#include "windows/FormAvvio.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <limits>

namespace {
// The message naming a picture file that cannot be shown, and why.
QString TestoFiguraGuasta(const Figure::Guasto& guasto)
{
    using Tipo = Figure::Guasto::Tipo;
    QString motivo;
    switch (guasto.tipo) {
    case Tipo::CollegamentoVuoto:
        motivo = QStringLiteral("è un collegamento che non porta a nessun file");
        break;
    case Tipo::CartellaChiusa:
        motivo = QStringLiteral("la cartella «%1» non si può aprire: manca il permesso").arg(guasto.cartella);
        break;
    case Tipo::Mancante:
        motivo = QStringLiteral("il file non c'è");
        break;
    case Tipo::NonFile:
        motivo = QStringLiteral("non è un file");
        break;
    case Tipo::NonApribile:
        motivo = QStringLiteral("il file non si può aprire");
        break;
    case Tipo::NonLeggibile:
        motivo = QStringLiteral("il file non si può aprire: manca il permesso di leggerlo");
        break;
    case Tipo::TroppoGrande:
        motivo = QStringLiteral("la figura è troppo grande (%1 × %2)")
                     .arg(guasto.dimensioni.width())
                     .arg(guasto.dimensioni.height());
        break;
    case Tipo::NonFigura:
        motivo = QStringLiteral("non è una figura leggibile");
        break;
    }
    return QStringLiteral("Non si può mostrare la figura «%1»: %2.\n\n%3\n\n"
                          "Al suo posto compare un punto di domanda.")
        .arg(QFileInfo(guasto.percorso).fileName(), motivo, QDir::toNativeSeparators(guasto.percorso));
}

// A picture that cannot be shown is told through the program's message boxes, whichever
// are in place; set before main(), so before any picture is read.
const bool avvisiFigure = [] {
    Figure::ImpostaAvviso([](const Figure::Guasto& g) { Piattaforma::Messaggi().Avviso(TestoFiguraGuasta(g)); });
    return true;
}();
} // namespace

namespace Modulo1 {

std::int16_t NumeroEsatti = 0;
std::int16_t NumeroErrati = 0;
std::int16_t NumeroGiusto = 0;

void Aggiungi(std::int16_t& contatore)
{
    if (contatore < std::numeric_limits<std::int16_t>::max())
        ++contatore;
}

void Main()
{
    Casuale::Semina(static_cast<std::uint64_t>(QDateTime::currentMSecsSinceEpoch()));
    // The program's icon, for the windows that have none of their own (the menu): without
    // it the window system shows one of its own, Qt for the browser Qt's logo.
    QApplication::setWindowIcon(Controlli::Icona(QStringLiteral("animale")));
    Finestre::Mostra<FormAvvio>();
}

QString TestoInformazioni()
{
    return QStringLiteral("Progetto Tivoro  \r\n"
                          " ----------------------- \r\n"
                          "https://tivoro.example.org\r\n"
                          "mail: info@tivoro.example.org");
}

void MostraInformazioni() { Piattaforma::Messaggi().Informazione(TestoInformazioni()); }

void ChiediUscita()
{
    Piattaforma::Messaggi().Domanda(QStringLiteral("Vuoi uscire dal programma?"), [](bool si) {
        if (si)
            Piattaforma::TerminaProgramma();
    });
}

} // namespace Modulo1
