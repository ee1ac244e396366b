#include "app/Piattaforma.h"

#include "app/LettoreQt.h"
#include "app/MessaggiQt.h"
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
    std::unique_ptr<::Messaggi> messaggi;
    std::function<void()> termina;
    QString cartella;
};
Stato& Attuali()
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
} // namespace

LettoreSuoni& Suoni()
{
    if (!Attuali().suoni)
        Attuali().suoni = new LettoreQt();
    return *Attuali().suoni;
}

void ImpostaSuoni(std::unique_ptr<LettoreSuoni> lettore) { delete std::exchange(Attuali().suoni, lettore.release()); }

::Messaggi& Messaggi()
{
    if (!Attuali().messaggi)
        Attuali().messaggi = std::make_unique<MessaggiQt>();
    return *Attuali().messaggi;
}

void ImpostaMessaggi(std::unique_ptr<::Messaggi> messaggi) { Attuali().messaggi = std::move(messaggi); }

void TerminaProgramma()
{
    if (Attuali().termina)
        Attuali().termina();
    else
        TerminaDavvero();
}

void ImpostaTermina(std::function<void()> termina) { Attuali().termina = std::move(termina); }

QString CartellaProgramma()
{
    if (!Attuali().cartella.isEmpty())
        return Attuali().cartella;
    return QDir::fromNativeSeparators(QCoreApplication::applicationDirPath());
}

void ImpostaCartellaProgramma(const QString& cartella)
{
    QString c = QDir::fromNativeSeparators(cartella);
    while (c.size() > 1 && c.endsWith(u'/'))
        c.chop(1);
    Attuali().cartella = c;
}

void Ripristina()
{
    delete std::exchange(Attuali().suoni, nullptr);
    Attuali().messaggi.reset();
    Attuali().termina = nullptr;
    Attuali().cartella.clear();
}

} // namespace Piattaforma
