#include "ui/Finestre.h"

#include "ui/AnelloFocus.h"

#include <QPointer>
#include <utility>
#include <vector>

namespace Finestre {
namespace {
std::vector<std::pair<std::type_index, QPointer<Finestra>>>& Registro()
{
    static std::vector<std::pair<std::type_index, QPointer<Finestra>>> r;
    return r;
}
void Pulisci()
{
    auto& r = Registro();
    std::erase_if(r, [](const auto& voce) { return voce.second.isNull(); });
}
} // namespace

namespace dettaglio {
Finestra* Trova(std::type_index tipo)
{
    Pulisci();
    for (auto& [t, f] : Registro())
        if (t == tipo)
            return f.data();
    return nullptr;
}

void Registra(std::type_index tipo, Finestra* finestra) { Registro().emplace_back(tipo, finestra); }

void MostraNuova(Finestra* finestra)
{
    AnelloFocus::Segui();
    finestra->show();
    finestra->activateWindow();
    finestra->Form_Activate();
}

void MostraEsistente(Finestra* finestra)
{
    finestra->show();
    finestra->activateWindow();
}
} // namespace dettaglio

void Scarica(Finestra* finestra)
{
    if (!finestra)
        return;
    auto& r = Registro();
    std::erase_if(r, [finestra](const auto& voce) { return voce.second == finestra; });
    finestra->hide();
    finestra->deleteLater();
}

void ScaricaTutte()
{
    auto copia = Registro();
    for (auto& voce : copia)
        Scarica(voce.second.data());
}

} // namespace Finestre
