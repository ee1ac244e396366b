#pragma once
// The program's start, its program-wide variables and the shared message boxes: the
// information, the question before the end, and the message naming a picture that cannot
// be shown.
#include <QString>
#include <cstdint>

namespace Modulo1 {

// Right and wrong answers, one pair for the whole program.
extern std::int16_t NumeroEsatti;
extern std::int16_t NumeroErrati;
// The right answer of the current question of a counting window (1 to 9).
extern std::int16_t NumeroGiusto;

// Adds one to a counter; at 32767 it stays there instead of wrapping to a negative count.
void Aggiungi(std::int16_t& contatore);

// The program's entry: seeds the generator from the clock and shows the title window.
void Main();

// The information box: four lines with the project's details.
void MostraInformazioni();
QString TestoInformazioni();

// Asks "Vuoi uscire dal programma?" and ends the program once it is answered Yes.
void ChiediUscita();

} // namespace Modulo1
