// A long run, offscreen: the program's own flow from the title window through the menu
// into the six exercise windows in turn and back by "Esci", with ten questions per
// visit (each answered wrong, then right), and the resident memory along the way.
// Sounds go to a player that only counts them; the exit questions are answered Yes
// without a box.
//
//   bench_soak [--aperture N] [--riscaldamento N] [--domande-per-apertura N]
//
// N openings of exercise windows (and as many closings, and as many menus) after the
// warm-up; N x 10 questions by default (100 000 for 10 000 openings).
#include "Giri.h"
#include "Misure.h"

#include "app/Casuale.h"
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
#include <cstdio>
#include <cstring>
#include <memory>

using Misure::Ms;
using Misure::Orologio;

namespace {

long domande = 0;

// One visit: a menu button, ten questions, "Esci" and Yes back to the menu.
void Visita(long n, int domandePerApertura)
{
    FormMenu* menu = Caricata<FormMenu>();
    QAbstractButton* bottoni[] = {menu->Command7, menu->Command4, menu->Command3,
                                  menu->Command1, menu->Command2, menu->Command5};
    bottoni[n % 6]->click();
    Giri::Dipingi();
    auto* w = qobject_cast<FormEsercizio*>(FinestreVisibili().value(0));
    if (!w || FinestreVisibili().size() != 1) {
        std::fprintf(stderr, "bench_soak: the exercise window did not open alone\n");
        std::exit(1);
    }
    ++domande; // the opening makes the first question
    for (int q = 1; q < domandePerApertura; ++q) {
        Giri::Ciclo(*w, nullptr);
        ++domande;
    }
    Giri::Rispondi(*w, nullptr);
    w->mnuEsci->trigger();
    Giri::Dipingi();
    if (!Caricata<FormMenu>() || FinestreVisibili().size() != 1) {
        std::fprintf(stderr, "bench_soak: \"Esci\" did not bring the menu back\n");
        std::exit(1);
    }
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    long aperture = 10000;
    long riscaldamento = 300;
    int perApertura = 10;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--aperture") && i + 1 < argc)
            aperture = std::atol(argv[++i]);
        else if (!std::strcmp(argv[i], "--riscaldamento") && i + 1 < argc)
            riscaldamento = std::atol(argv[++i]);
        else if (!std::strcmp(argv[i], "--domande-per-apertura") && i + 1 < argc)
            perApertura = std::atoi(argv[++i]);
        else {
            std::fprintf(stderr, "usage: bench_soak [--aperture N] [--riscaldamento N] [--domande-per-apertura N]\n");
            return 2;
        }
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tivoro"));
    const auto [suoni, messaggi] = Misure::PreparaProgramma();
    Piattaforma::ImpostaTermina([] {});

    Modulo1::Main();
    Casuale::Semina(20240607);
    Giri::Dipingi();
    Caricata<FormAvvio>()->Command1->click();
    Giri::Dipingi();

    for (long n = 0; n < riscaldamento; ++n)
        Visita(n, perApertura);
    const Misure::Memoria inizio = Misure::Leggi();
    const long domandeInizio = domande;
    std::printf("soak inizio aperture=%ld domande=%ld rss_kib=%ld hwm_kib=%ld\n", riscaldamento, domande, inizio.rss,
                inizio.hwm);
    std::fflush(stdout);

    const auto t0 = Orologio::now();
    long massimo = inizio.rss;
    for (long n = 0; n < aperture; ++n) {
        Visita(riscaldamento + n, perApertura);
        if ((n + 1) % 1000 == 0) {
            const Misure::Memoria m = Misure::Leggi();
            massimo = std::max(massimo, m.rss);
            std::printf("soak dopo aperture=%ld domande=%ld rss_kib=%ld\n", n + 1, domande - domandeInizio, m.rss);
            std::fflush(stdout);
        }
    }
    const Misure::Memoria fine = Misure::Leggi();
    std::printf("soak fine aperture=%ld domande=%ld rss_kib=%ld hwm_kib=%ld crescita_kib=%ld secondi=%.1f "
                "suoni=%ld domande_uscita=%ld avvisi=%ld\n",
                aperture, domande - domandeInizio, fine.rss, fine.hwm, fine.rss - inizio.rss,
                Ms(Orologio::now() - t0) / 1000.0, suoni->quanti, messaggi->domande, messaggi->avvisi);

    Finestre::ScaricaTutte();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    Piattaforma::Ripristina();
    Figure::Dimentica();
    return 0;
}
