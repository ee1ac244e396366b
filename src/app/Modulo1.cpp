#include "app/Modulo1.h"

#include "app/Casuale.h"
#include "app/Piattaforma.h"
#include "ui/Controlli.h"
#include "ui/Finestre.h"
#include "windows/FormAvvio.h"

#include <QApplication>
#include <QDateTime>
#include <limits>

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

void MostraInformazioni() { Piattaforma::Finestrelle().Informazione(TestoInformazioni()); }

void ChiediUscita()
{
    Piattaforma::Finestrelle().Domanda(QStringLiteral("Vuoi uscire dal programma?"), [](bool si) {
        if (si)
            Piattaforma::TerminaProgramma();
    });
}

} // namespace Modulo1
