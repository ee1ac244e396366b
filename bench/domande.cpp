// Question and answer times of the six exercise windows, offscreen, with the shipped
// pictures. Sounds go to a player that only counts them (no audio device is involved);
// the real player's Suona() is timed apart at the end.
//
//   bench_domande [--caldi N] [--freddi N] [--aperture N] [--solo FormEsN]
//
// For each window: its first opening in a fresh process (a child process per sample:
// construction, first question, first paint), its opening in a warm process, the cold
// question (picture cache emptied with Figure::Dimentica() just before "avanti"), the
// warm questions and the reactions to a wrong and to a right answer. Every figure is
// given up to the return of the handler ("chiamata") and up to the end of the repaint
// that follows ("dipinta"): median and 99th percentile of the wall-clock time, and the
// 99th percentile of the processor time the thread used (what is left of the figure
// when the machine is busy with other programs).
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
#include "app/LettoreQt.h"

#include <QApplication>
#include <QProcess>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>

using Giri::Serie;

namespace {

struct Esercizio {
    const char* nome;
    std::function<FormEsercizio*()> apri;
};

const Esercizio Esercizi[] = {
    {"FormEs1", [] { return static_cast<FormEsercizio*>(Finestre::Mostra<FormEs1>()); }},
    {"FormEs5", [] { return static_cast<FormEsercizio*>(Finestre::Mostra<FormEs5>()); }},
    {"FormEs2", [] { return static_cast<FormEsercizio*>(Finestre::Mostra<FormEs2>()); }},
    {"FormEs3", [] { return static_cast<FormEsercizio*>(Finestre::Mostra<FormEs3>()); }},
    {"FormEs4", [] { return static_cast<FormEsercizio*>(Finestre::Mostra<FormEs4>()); }},
    {"FormOrd", [] { return static_cast<FormEsercizio*>(Finestre::Mostra<FormOrd>()); }},
};

const Esercizio* Cerca(const char* nome)
{
    for (const Esercizio& e : Esercizi)
        if (std::strcmp(e.nome, nome) == 0)
            return &e;
    return nullptr;
}

void Riga(const char* chi, const char* cosa, const char* misura, const Misure::Campioni& c)
{
    std::printf("%-9s %-27s %-8s n=%-6zu mediana_ms=%.3f p99_ms=%.3f max_ms=%.3f p99_cpu_ms=%.3f\n", chi, cosa,
                misura, c.Quanti(), c.Mediana(), c.P99(), c.Massimo(), c.P99Cpu());
}

void Righe(const char* chi, const char* cosa, const Serie& s)
{
    if (s.chiamata.Quanti() == 0)
        return;
    Riga(chi, cosa, "chiamata", s.chiamata);
    Riga(chi, cosa, "dipinta", s.dipinta);
}

// Runs this program again for one sample in a fresh process; the child prints
// "chiamata_ms dipinta_ms".
void InProcessoNuovo(Serie& s, const QStringList& argomenti)
{
    QProcess p;
    p.start(QCoreApplication::applicationFilePath(), argomenti);
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        std::fprintf(stderr, "bench_domande: the child %s failed\n", qPrintable(argomenti.join(u' ')));
        std::exit(1);
    }
    const QList<QByteArray> v = p.readAllStandardOutput().trimmed().split(' ');
    if (v.size() != 2) {
        std::fprintf(stderr, "bench_domande: the child %s printed no timing\n", qPrintable(argomenti.join(u' ')));
        std::exit(1);
    }
    s.chiamata.Aggiungi(v[0].toDouble());
    s.dipinta.Aggiungi(v[1].toDouble());
}

void Stampa(const Serie& s)
{
    std::printf("%.3f %.3f\n", s.chiamata.Mediana(), s.dipinta.Mediana());
}

void MisuraEsercizio(const Esercizio& e, int caldi, int freddi, int aperture)
{
    Serie nuovo;
    for (int i = 0; i < aperture; ++i)
        InProcessoNuovo(nuovo, {QStringLiteral("--apertura-fresca"), QString::fromLatin1(e.nome)});
    Righe(e.nome, "apertura (processo nuovo)", nuovo);

    // Openings in a warm process: pictures decoded already.
    Serie apertura;
    for (int i = 0; i < 20; ++i) {
        FormEsercizio* w = nullptr;
        Giri::Cronometra(&apertura, [&] { w = e.apri(); });
        Finestre::Scarica(w);
        Giri::Dipingi();
    }
    Righe(e.nome, "apertura (calda)", apertura);

    FormEsercizio* w = e.apri();
    Giri::Dipingi();

    // Cold questions: the picture cache is emptied just before "avanti".
    Serie fredda;
    for (int i = 0; i < freddi; ++i) {
        Giri::Rispondi(*w, nullptr);
        Figure::Dimentica();
        Giri::Cronometra(&fredda, [&] { w->BottoneAvanti->click(); });
    }
    Righe(e.nome, "NuovaDomanda fredda", fredda);

    for (int i = 0; i < 200; ++i) // warm-up: every picture of the window decoded and scaled
        Giri::Ciclo(*w, nullptr);
    Giri::Tempi t;
    for (int i = 0; i < caldi; ++i)
        Giri::Ciclo(*w, &t);
    Righe(e.nome, "NuovaDomanda calda", t.domanda);
    Righe(e.nome, "risposta sbagliata", t.sbagliata);
    Righe(e.nome, "risposta giusta", t.giusta);
    Righe(e.nome, "Command1 (una figura)", t.extra);

    Finestre::Scarica(w);
    Giri::Dipingi();
    std::fflush(stdout);
}

const QStringList FileSuoni = {QStringLiteral("si1.wav"), QStringLiteral("si2.wav"), QStringLiteral("si3.wav"),
                               QStringLiteral("si4.wav"), QStringLiteral("no.wav")};

QString Suono(const QString& nome) { return Misure::Risorse() + QStringLiteral("/suoni/") + nome; }

// The real player: Suona() must return at once, the sound plays on by itself. The
// first sound of a run also loads the sound module with Qt Multimedia: timed in fresh processes.
void MisuraLettore(int primi)
{
    Serie primo;
    for (int i = 0; i < primi; ++i)
        InProcessoNuovo(primo, {QStringLiteral("--primo-suono")});
    Righe("LettoreQt", "Suona (primo del programma)", primo);

    LettoreQt lettore([] {}, QStringLiteral(TIVORO_MODULE_DIR));
    lettore.Suona(Suono(FileSuoni[0]));
    Giri::Dipingi();
    Serie primoPerFile;
    for (qsizetype i = 1; i < FileSuoni.size(); ++i)
        Giri::Cronometra(&primoPerFile, [&] { lettore.Suona(Suono(FileSuoni[i])); });
    Serie poi;
    for (int i = 0; i < 500; ++i)
        Giri::Cronometra(&poi, [&] { lettore.Suona(Suono(FileSuoni[i % FileSuoni.size()])); });
    Riga("LettoreQt", "Suona (primo per file)", "chiamata", primoPerFile.chiamata);
    Riga("LettoreQt", "Suona (poi)", "chiamata", poi.chiamata);
}

// Child modes: one sample in a fresh process.
int AperturaFresca(const Esercizio& e)
{
    Serie s;
    Giri::Cronometra(&s, [&] { e.apri(); });
    Stampa(s);
    return 0;
}

int PrimoSuono()
{
    LettoreQt lettore([] {}, QStringLiteral(TIVORO_MODULE_DIR));
    Serie s;
    Giri::Cronometra(&s, [&] { lettore.Suona(Suono(FileSuoni[0])); });
    Stampa(s);
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tivoro"));
    const auto [suoni, messaggi] = Misure::PreparaProgramma();
    Casuale::Semina(20240607);

    int caldi = 2000;
    int freddi = 50;
    int aperture = 10;
    const char* solo = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--apertura-fresca") && i + 1 < argc) {
            const Esercizio* e = Cerca(argv[i + 1]);
            return e ? AperturaFresca(*e) : 2;
        }
        if (!std::strcmp(argv[i], "--primo-suono"))
            return PrimoSuono();
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

    for (const Esercizio& e : Esercizi)
        if (!solo || !std::strcmp(solo, e.nome))
            MisuraEsercizio(e, caldi, freddi, aperture);
    std::printf("suoni chiesti=%ld avvisi=%ld\n", suoni->quanti, messaggi->avvisi);
    MisuraLettore(aperture);

    Finestre::ScaricaTutte();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    Piattaforma::Ripristina();
    Figure::Dimentica();
    return messaggi->avvisi == 0 ? 0 : 1;
}
