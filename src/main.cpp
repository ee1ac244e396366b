#include "app/Modulo1.h"
#include "app/Piattaforma.h"
#include "ui/Figure.h"
#include "ui/Finestre.h"
#include "ui/Tocco.h"

#include <QApplication>

#include <csignal>
#include <cstdio>
#include <cstdlib>

namespace {
QtMessageHandler gestoreQt = nullptr;

// Without a screen to show the windows on (no display, no usable platform plugin) Qt
// ends the start with a fatal message and abort(), which leaves a core dump behind.
// Until the application exists, such a message ends the program with status 1 instead.
void AvvioFallito(QtMsgType tipo, const QMessageLogContext& contesto, const QString& testo)
{
    gestoreQt(tipo, contesto, testo);
    if (tipo == QtFatalMsg) {
        std::fflush(stderr);
        std::_Exit(1);
    }
}

// When the display goes away in the middle of a run (the session ends, the X server dies)
// Qt's X11 support says so and calls exit(1): static destructors then run while the sound
// system's threads may still be calling into what they destroy, which can crash the
// program on its way out. Nothing is left to save then: the program ends right after Qt's
// message, with the same status, and runs no destructor at all.
void DisplayPerso(QtMsgType tipo, const QMessageLogContext& contesto, const QString& testo)
{
    gestoreQt(tipo, contesto, testo);
    if (tipo == QtWarningMsg && testo.startsWith(QLatin1String("The X11 connection broke"))) {
        std::fflush(stderr);
        std::_Exit(1);
    }
}
} // namespace

int main(int argc, char* argv[])
{
#ifdef SIGPIPE
    // Output into a pipe whose reader has gone (a launcher's log reader that ended,
    // "tivoro | head -1") must not end the program: a line that cannot be written is lost.
    std::signal(SIGPIPE, SIG_IGN);
#endif
    gestoreQt = qInstallMessageHandler(AvvioFallito);
    QApplication app(argc, argv);
    qInstallMessageHandler(DisplayPerso);
    QApplication::setApplicationName(QStringLiteral("Tivoro"));
    QApplication::setApplicationVersion(QStringLiteral(TIVORO_VERSIONE));
    // From the first touch of a finger on, the counting windows show their pad of digits.
    SensoreTocco tocco;
    Modulo1::Main();
    const int esito = QApplication::exec();
    // Windows, sounds and pictures go while Qt is still there to release them.
    Finestre::ScaricaTutte();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    Piattaforma::Ripristina();
    Figure::Dimentica();
    return esito;
}
