#pragma once
// Window colours and the praise and error sounds.
#include "ui/Finestra.h"

#include <QString>
#include <array>

// The three colour tables: the title window and the menu, the five question windows,
// the number-ordering window.
enum class TabellaColori { AvvioMenu, Esercizi, Ordina };

namespace ModuloColoriSuoni {

// Entries 1 to 18 of a table; entry 0 is empty and never chosen.
const std::array<ColoreBGR, 19>& Colori(TabellaColori tabella);

// Draws n = floor(r * 18) + 1 and gives the window entry n of its table.
void CaricaColori(Finestra& finestra, TabellaColori tabella);

// A praise sound chosen at random from four, or the error sound.
void SuonoEsatto();
void SuonoErrato();

// The path of a sound file of the program.
QString FileSuono(const QString& nome);

} // namespace ModuloColoriSuoni
