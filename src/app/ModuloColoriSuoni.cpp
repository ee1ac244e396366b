#include "app/ModuloColoriSuoni.h"

#include "app/Casuale.h"
#include "app/Piattaforma.h"

namespace ModuloColoriSuoni {

const std::array<ColoreBGR, 19>& Colori(TabellaColori tabella)
{
    static const std::array<ColoreBGR, 19> avvioMenu = {
        0,        0xC0C0FF, 0x8080FF, 0xC0C0FF, 0x80C0FF, 0x0080FF, 0xFFFF00,
        0x00FFFF, 0x0040C0, 0x80FF80, 0x00C000, 0xFFFFC0, 0xFFFF00, 0xFFC0C0,
        0xFFC0FF, 0xFFC0FF, 0xE0E0E0, 0xFFC0FF, 0xFF00FF};
    static const std::array<ColoreBGR, 19> esercizi = [] {
        auto t = avvioMenu;
        t[6] = 0xC0FFFF;
        t[7] = 0xC0C0FF;
        t[10] = 0xFFC0C0;
        return t;
    }();
    static const std::array<ColoreBGR, 19> ordina = [] {
        auto t = avvioMenu;
        t[3] = 0x0000FF;
        t[6] = 0xC0FFFF;
        t[17] = 0xFF0000;
        return t;
    }();
    switch (tabella) {
    case TabellaColori::Esercizi:
        return esercizi;
    case TabellaColori::Ordina:
        return ordina;
    case TabellaColori::AvvioMenu:
        break;
    }
    return avvioMenu;
}

void CaricaColori(Finestra& finestra, TabellaColori tabella)
{
    const auto& colori = Colori(tabella);
    const int n = Casuale::DaUnoA(18);
    finestra.ImpostaColoreSfondo(colori[static_cast<std::size_t>(n)]);
}

QString FileSuono(const QString& nome)
{
    return Piattaforma::CartellaProgramma() + QStringLiteral("/suoni/") + nome;
}

void SuonoEsatto()
{
    const int k = Casuale::DaUnoA(4);
    Piattaforma::Suoni().Suona(FileSuono(QStringLiteral("si%1.wav").arg(k)));
}

void SuonoErrato() { Piattaforma::Suoni().Suona(FileSuono(QStringLiteral("no.wav"))); }

} // namespace ModuloColoriSuoni
