#include "app/Piattaforma.h"

#include "app/LettoreQt.h"
#include "app/MessaggiQt.h"
#include "ui/Figure.h"
#include "ui/Finestre.h"

#include <QCoreApplication>
#include <QDir>

#include <utility>

#ifdef __EMSCRIPTEN__
#include <emscripten.h>
#endif

namespace Piattaforma {
namespace {
struct Stato {
    // The sound player is deleted by ImpostaSuoni and Ripristina (main calls it after the
    // event loop), never by a static destructor: when Qt ends the process with exit() (the
    // X server gone), static destructors run after Qt Multimedia's own globals have gone,
    // and deleting a sound effect then corrupts the heap. In that case it is left to the
    // system, still reachable through this pointer.
    LettoreSuoni* suoni = nullptr;
    std::unique_ptr<Messaggi> messaggi;
    std::function<void()> termina;
    QString cartella;
};
Stato& S()
{
    static Stato s;
    return s;
}

void TerminaDavvero()
{
    // No handler of the program runs after this: the windows go at once and the
    // event loop returns as soon as the current handler does.
    Finestre::ScaricaTutte();
#ifdef __EMSCRIPTEN__
    // In the browser the page stays: it says that the program has ended and offers to
    // start again (tivoroFinito, in the page's own script).
    EM_ASM({
        if (typeof tivoroFinito === 'function')
            tivoroFinito();
    });
#endif
    QCoreApplication::exit(0);
}

// A picture that cannot be shown is told through the program's message boxes, whichever
// is in place; set before main(), so before any picture is read.
const bool avvisiFigure = [] {
    Figure::ImpostaAvviso([](const QString& testo) { Finestrelle().Avviso(testo); });
    return true;
}();
} // namespace

LettoreSuoni& Suoni()
{
    if (!S().suoni)
        S().suoni = new LettoreQt();
    return *S().suoni;
}

void ImpostaSuoni(std::unique_ptr<LettoreSuoni> lettore) { delete std::exchange(S().suoni, lettore.release()); }

Messaggi& Finestrelle()
{
    if (!S().messaggi)
        S().messaggi = std::make_unique<MessaggiQt>();
    return *S().messaggi;
}

void ImpostaFinestrelle(std::unique_ptr<Messaggi> messaggi) { S().messaggi = std::move(messaggi); }

void TerminaProgramma()
{
    if (S().termina)
        S().termina();
    else
        TerminaDavvero();
}

void ImpostaTermina(std::function<void()> termina) { S().termina = std::move(termina); }

QString CartellaProgramma()
{
    if (!S().cartella.isEmpty())
        return S().cartella;
    return QDir::fromNativeSeparators(QCoreApplication::applicationDirPath());
}

void ImpostaCartellaProgramma(const QString& cartella)
{
    QString c = QDir::fromNativeSeparators(cartella);
    while (c.size() > 1 && c.endsWith(u'/'))
        c.chop(1);
    S().cartella = c;
}

void Ripristina()
{
    delete std::exchange(S().suoni, nullptr);
    S().messaggi.reset();
    S().termina = nullptr;
    S().cartella.clear();
}

} // namespace Piattaforma
