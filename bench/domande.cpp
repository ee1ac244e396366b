// Question and answer times of the six exercise windows, offscreen, with the shipped
// pictures. Sounds go to a player that only counts them (no audio device is involved);
// the real player's Suona() is timed apart at the end.
//
//   bench_domande [--caldi N] [--freddi N] [--aperture N]
//
// For each window: the first opening in a fresh process (a child process per sample:
// construction, first question, first paint), the cold question (picture cache emptied
// with Figure::Dimentica() just before), the warm questions and the reactions to a wrong
// and to a right answer. Every figure is given up to the return of the handler and up
// to the end of the repaint that follows, as median and 99th percentile in ms.
#include "Giri.h"
#include "Misure.h"

#include "app/Casuale.h"
#include "app/Piattaforma.h"
#include "exercises/FormEs1.h"
#include "exercises/FormEs2.h"
#include "exercises/FormEs3.h"
#include "exercises/FormEs4.h"
#include "exercises/FormEs5.h"
#include "exercises/FormOrd.h"
#include "ui/Controlli.h"
#include "ui/Figure.h"
#include "ui/Finestre.h"
#include "ui/LettoreQt.h"

#include <QApplication>
#include <QProcess>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>

using Giri::Serie;
using Misure::Ms;
using Misure::Orologio;

namespace {

struct Esercizio {
    const char* nome;
    std::function<FormEsercizio*()> apri;
};

const Esercizio Finestre6[] = {
    {"FormEs1", [] { return static_cast<FormEsercizio*>(Finestre::Mostra<FormEs1>()); }},
    {"FormEs5", [] { return static_cast<FormEsercizio*>(Finestre::Mostra<FormEs5>()); }},
    {"FormEs2", [] { return static_cast<FormEsercizio*>(Finestre::Mostra<FormEs2>()); }},
    {"FormEs3", [] { return static_cast<FormEsercizio*>(Finestre::Mostra<FormEs3>()); }},
    {"FormEs4", [] { return static_cast<FormEsercizio*>(Finestre::Mostra<FormEs4>()); }},
    {"FormOrd", [] { return static_cast<FormEsercizio*>(Finestre::Mostra<FormOrd>()); }},
};

const Esercizio* Cerca(const char* nome)
{
    for (const Esercizio& f : Finestre6)
        if (std::strcmp(f.nome, nome) == 0)
            return &f;
    return nullptr;
}

void Riga(const char* finestra, const char* cosa, const Misure::Campioni& c, const char* misura)
{
    std::printf("%-8s %-22s %-8s n=%-6zu mediana_ms=%.3f p99_ms=%.3f max_ms=%.3f\n", finestra, cosa, misura,
                c.Quanti(), c.Mediana(), c.P99(), c.Massimo());
}

void Righe(const char* finestra, const char* cosa, const Serie& s)
{
    if (s.chiamata.Quanti() == 0)
        return;
    Riga(finestra, cosa, s.chiamata, "chiamata");
    Riga(finestra, cosa, s.dipinta, "dipinta");
}

// In a child process: opens one window in a fresh process and prints the time.
int AperturaFresca(const Esercizio& f)
{
    const auto t0 = Orologio::now();
    f.apri();
    const auto t1 = Orologio::now();
    Giri::Dipingi();
    const auto t2 = Orologio::now();
    std::printf("%.3f %.3f\n", Ms(t1 - t0), Ms(t2 - t0));
    return 0;
}

Serie AperturePrime(const Esercizio& f, int quante)
{
    Serie s;
    for (int i = 0; i < quante; ++i) {
        QProcess p;
        p.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--apertura-fresca"), QString::fromLatin1(f.nome)});
        if (!p.waitForFinished(60000) || p.exitCode() != 0) {
            std::fprintf(stderr, "bench_domande: the child for %s failed\n", f.nome);
            std::exit(1);
        }
        const QList<QByteArray> v = p.readAllStandardOutput().trimmed().split(' ');
        if (v.size() == 2) {
            s.chiamata.Aggiungi(v[0].toDouble());
            s.dipinta.Aggiungi(v[1].toDouble());
        }
    }
    return s;
}

void MisuraFinestra(const Esercizio& f, int caldi, int freddi, int aperture)
{
    Righe(f.nome, "apertura (processo nuovo)", AperturePrime(f, aperture));

    // Openings in a warm process (pictures decoded already).
    Serie apertura;
    for (int i = 0; i < 20; ++i) {
        const auto t0 = Orologio::now();
        FormEsercizio* w = f.apri();
        const auto t1 = Orologio::now();
        Giri::Dipingi();
        const auto t2 = Orologio::now();
        apertura.chiamata.Aggiungi(Ms(t1 - t0));
        apertura.dipinta.Aggiungi(Ms(t2 - t0));
        Finestre::Scarica(w);
        Giri::Dipingi();
    }
    Righe(f.nome, "apertura (calda)", apertura);

    FormEsercizio* w = f.apri();
    Giri::Dipingi();

    // Cold questions: the picture cache is emptied just before "avanti".
    Serie fredda;
    for (int i = 0; i < freddi; ++i) {
        Giri::Rispondi(*w, nullptr);
        Figure::Dimentica();
        const auto t0 = Orologio::now();
        w->BottoneAvanti->click();
        const auto t1 = Orologio::now();
        Giri::Dipingi();
        const auto t2 = Orologio::now();
        fredda.chiamata.Aggiungi(Ms(t1 - t0));
        fredda.dipinta.Aggiungi(Ms(t2 - t0));
    }
    Righe(f.nome, "NuovaDomanda fredda", fredda);

    for (int i = 0; i < 200; ++i) // warm-up: every picture of the window decoded and scaled
        Giri::Ciclo(*w, nullptr);
    Giri::Tempi t;
    for (int i = 0; i < caldi; ++i)
        Giri::Ciclo(*w, &t);
    Righe(f.nome, "NuovaDomanda calda", t.domanda);
    Righe(f.nome, "risposta sbagliata", t.sbagliata);
    Righe(f.nome, "risposta giusta", t.giusta);
    Righe(f.nome, "Command1 (una figura)", t.extra);

    Finestre::Scarica(w);
    Giri::Dipingi();
    std::fflush(stdout);
}

// The real player: Suona() must return at once, the sound plays on by itself.
void MisuraLettore()
{
    const auto c0 = Orologio::now();
    auto lettore = std::make_unique<LettoreQt>([] {});
    std::printf("LettoreQt costruzione_ms=%.3f\n", Ms(Orologio::now() - c0));
    const QString cartella = Misure::Risorse() + QStringLiteral("/suoni/");
    const QStringList file = {QStringLiteral("si1.wav"), QStringLiteral("si2.wav"), QStringLiteral("si3.wav"),
                              QStringLiteral("si4.wav"), QStringLiteral("no.wav")};
    Misure::Campioni primo;
    Misure::Campioni poi;
    for (const QString& nome : file) {
        const auto t0 = Orologio::now();
        lettore->Suona(cartella + nome);
        primo.Aggiungi(Ms(Orologio::now() - t0));
        Giri::Dipingi();
    }
    for (int i = 0; i < 500; ++i) {
        const auto t0 = Orologio::now();
        lettore->Suona(cartella + file[i % file.size()]);
        poi.Aggiungi(Ms(Orologio::now() - t0));
        Giri::Dipingi();
    }
    Riga("LettoreQt", "Suona (primo per file)", primo, "chiamata");
    Riga("LettoreQt", "Suona (poi)", poi, "chiamata");
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tivoro"));
    Piattaforma::ImpostaCartellaProgramma(Misure::Risorse());
    auto* suoni = new Misure::SuoniContati;
    Piattaforma::ImpostaSuoni(std::unique_ptr<LettoreSuoni>(suoni));
    auto* messaggi = new Misure::MessaggiSi;
    Piattaforma::ImpostaFinestrelle(std::unique_ptr<Messaggi>(messaggi));
    Casuale::Semina(20240607);

    int caldi = 2000;
    int freddi = 50;
    int aperture = 10;
    const char* solo = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--apertura-fresca") && i + 1 < argc) {
            const Esercizio* f = Cerca(argv[i + 1]);
            return f ? AperturaFresca(*f) : 2;
        }
        if (!std::strcmp(argv[i], "--caldi") && i + 1 < argc)
            caldi = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "--freddi") && i + 1 < argc)
            freddi = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "--aperture") && i + 1 < argc)
            aperture = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "--solo") && i + 1 < argc)
            solo = argv[++i];
        else {
            std::fprintf(stderr, "usage: bench_domande [--caldi N] [--freddi N] [--aperture N] [--solo FormEsN]\n");
            return 2;
        }
    }

    for (const Esercizio& f : Finestre6)
        if (!solo || !std::strcmp(solo, f.nome))
            MisuraFinestra(f, caldi, freddi, aperture);
    std::printf("suoni chiesti=%ld avvisi=%ld\n", suoni->quanti, messaggi->avvisi);
    MisuraLettore();

    Finestre::ScaricaTutte();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    Piattaforma::Ripristina();
    Figure::Dimentica();
    return messaggi->avvisi == 0 ? 0 : 1;
}
