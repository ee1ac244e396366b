// Resident memory of the program on a real X display: the program's own start (as in
// main.cpp), then the title window, then every exercise window opened once from the
// menu and left by "Esci" with the real question box answered "Sì", as a child would
// go round the program. Each window is waited for until it is shown and painted.
// Prints VmRSS and VmHWM at the first window and after the round (with BENCH_PASSI=1 in
// the environment, also after each exercise window).
#include "Misure.h"

#include "app/Modulo1.h"
#include "app/Piattaforma.h"
#include "frame/FormEsercizio.h"
#include "ui/Controlli.h"
#include "ui/Figure.h"
#include "ui/Finestre.h"
#include "windows/FormAvvio.h"
#include "windows/FormMenu.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QWindow>
#include <cstdio>

namespace {

// Lets the window come up on the screen and be painted.
void Aspetta(QWidget* w)
{
    QElapsedTimer t;
    t.start();
    while (!(w->windowHandle() && w->windowHandle()->isExposed()) && t.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    if (!w->windowHandle() || !w->windowHandle()->isExposed()) {
        std::fprintf(stderr, "bench_giro: %s was never shown\n", qPrintable(w->objectName()));
        std::exit(1);
    }
    t.restart();
    while (t.elapsed() < 150)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The menu once it has come back after "Esci": the question box does not hold up the
// program, so the menu comes when the box has been answered.
FormMenu* MenuTornato()
{
    QElapsedTimer t;
    t.start();
    while (!Caricata<FormMenu>() && t.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    auto* menu = Caricata<FormMenu>();
    if (!menu) {
        std::fprintf(stderr, "bench_giro: the menu did not come back after Esci\n");
        std::exit(1);
    }
    return menu;
}

// Answers "Sì" to the question box once it is on the screen.
void RispondiSiQuandoAppare()
{
    auto* controllo = new QTimer(qApp);
    QObject::connect(controllo, &QTimer::timeout, controllo, [controllo] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->windowHandle() || !box->windowHandle()->isExposed())
            return;
        controllo->deleteLater();
        box->button(QMessageBox::Yes)->click();
    });
    controllo->start(50);
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tivoro"));
    QApplication::setApplicationVersion(QStringLiteral(TIVORO_VERSIONE));
    Piattaforma::ImpostaCartellaProgramma(Misure::Risorse());
    Modulo1::Main();

    auto* avvio = Caricata<FormAvvio>();
    Aspetta(avvio);
    const Misure::Memoria primo = Misure::Leggi();

    avvio->Command1->click();
    Aspetta(Caricata<FormMenu>());
    const char* nomi[] = {"Command7", "Command4", "Command2", "Command5", "Command3", "Command1"};
    for (const char* nome : nomi) {
        auto* bottone = Caricata<FormMenu>()->findChild<QAbstractButton*>(QString::fromLatin1(nome));
        bottone->click();
        auto* w = qobject_cast<FormEsercizio*>(FinestreVisibili().value(0));
        if (!w) {
            std::fprintf(stderr, "bench_giro: %s opened no exercise window\n", nome);
            return 1;
        }
        Aspetta(w);
        RispondiSiQuandoAppare();
        w->mnuEsci->trigger(); // the real box, answered "Sì" once shown
        Aspetta(MenuTornato());
        if (qEnvironmentVariableIsSet("BENCH_PASSI")) {
            const Misure::Memoria m = Misure::Leggi();
            std::printf("passo %s rss_kib=%ld hwm_kib=%ld\n", nome, m.rss, m.hwm);
        }
    }
    const Misure::Memoria dopo = Misure::Leggi();
    std::printf("memoria primo_rss_kib=%ld primo_hwm_kib=%ld dopo_rss_kib=%ld dopo_hwm_kib=%ld\n", primo.rss, primo.hwm,
                dopo.rss, dopo.hwm);

    Finestre::ScaricaTutte();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    Piattaforma::Ripristina();
    Figure::Dimentica();
    return 0;
}
