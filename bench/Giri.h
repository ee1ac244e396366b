#pragma once
// One round of a question in each exercise window, through the program's own answer
// paths: a wrong answer, then the right one, then "avanti" for the next question.
// The answers go in as a child gives them: a digit and Enter into Text1 (key events),
// a click on "<", "=" or ">", presses of FormEs4's buttons, tiles dropped on boxes
// (drop events). Each step can be timed, from the call to its return and to the end
// of the repaint it caused.
#include "Misure.h"

#include <QString>

class FormEsercizio;

namespace Giri {

// Timings of one kind of step: up to the return of the handler, and up to the end of
// the repaint that follows it.
struct Serie {
    Misure::Campioni chiamata;
    Misure::Campioni dipinta;
};

struct Tempi {
    Serie domanda;   // "avanti": BottoneAvanti_Click and NuovaDomanda
    Serie sbagliata; // the reaction to a wrong answer (Errato, or FormOrd's wrong drop)
    Serie giusta;    // the reaction to a right answer (Esatto, or FormOrd's right drop)
    Serie extra;     // FormEs4's "one more picture" (Command1)
};

// Lets Qt do what is pending: deferred deletes, then repaints.
void Dipingi();

// Times one step: up to its return, and up to the end of the repaint that follows,
// each with the thread's processor time.
template <class F>
void Cronometra(Serie* s, F&& passo)
{
    using Misure::Ms;
    using Misure::Orologio;
    const double c0 = Misure::TempoCpu();
    const auto t0 = Orologio::now();
    passo();
    const auto t1 = Orologio::now();
    const double c1 = Misure::TempoCpu();
    Dipingi();
    const auto t2 = Orologio::now();
    const double c2 = Misure::TempoCpu();
    if (s) {
        s->chiamata.Aggiungi(Ms(t1 - t0), c1 - c0);
        s->dipinta.Aggiungi(Ms(t2 - t0), c2 - c0);
    }
}

// Answers the current question wrong, then right. Timings go to `t` when given.
void Rispondi(FormEsercizio& w, Tempi* t);

// Presses "avanti" (enabled after the right answer) and so makes the next question.
void Avanti(FormEsercizio& w, Tempi* t);

// Rispondi, then Avanti.
inline void Ciclo(FormEsercizio& w, Tempi* t)
{
    Rispondi(w, t);
    Avanti(w, t);
}

} // namespace Giri
