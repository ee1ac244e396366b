// The monkey: a long run of random events over every window of the program, from Main
// and the title window on, with the program's own random generator seeded from the run's
// seed. The events are real mouse clicks on any visible control (enabled or not) and on
// any point of the window, keys into the answer boxes and into the window, drops of any
// tile on any box and synthetic drops on any widget, the three menu items with random
// answers, the menu's "Esci", "avanti" and the window's close control. A program end
// (the close control, "Esci" answered Yes) starts the program again.
//
// After every event the test checks that the program is sound: exactly one window of the
// program, the counts in range and shown as they are, the answer controls and "avanti" in
// one of the frame's two states, the pictures where the "pieno" marks say, the number
// tiles and boxes consistent, and the effect of the event itself where it is known.
//
// TIVORO_MONKEY_SEED and TIVORO_MONKEY_EVENTS choose the seed and the number of events.
// A failure names the seed, the event number and the last events, so that it can be
// replayed; a crash prints the same before it goes.
#include "Supporto.h"

#include "app/Casuale.h"
#include "app/Modulo1.h"
#include "app/ModuloColoriSuoni.h"
#include "exercises/FormEs1.h"
#include "exercises/FormEs2.h"
#include "exercises/FormEs3.h"
#include "exercises/FormEs4.h"
#include "exercises/FormEs5.h"
#include "exercises/FormOrd.h"
#include "frame/FormEsercizio.h"
#include "ui/Casella.h"
#include "ui/CasellaRisposta.h"
#include "ui/ControlloImmagine.h"
#include "ui/Controlli.h"
#include "ui/Figure.h"
#include "ui/Finestre.h"
#include "ui/Tessera.h"
#include "ui/Twips.h"
#include "windows/FormAvvio.h"
#include "windows/FormMenu.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QMenuBar>
#include <QMimeData>
#include <QPointer>
#include <QSet>
#include <QtTest>

#include <array>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <random>
#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/common_interface_defs.h>
#endif

namespace {

// ---------------------------------------------------------------------------------------
// What to print if the run dies: the seed, the event number and the event.

char g_traccia[2048] = "monkey: no event yet\n";
struct sigaction g_precedenti[NSIG];
const int g_segnali[] = {SIGSEGV, SIGABRT, SIGBUS, SIGFPE, SIGILL};

void ScriviTraccia()
{
    const ssize_t scritti = write(STDERR_FILENO, g_traccia, std::strlen(g_traccia));
    (void)scritti;
}

void AllaCaduta(int segnale, siginfo_t* info, void* contesto)
{
    ScriviTraccia();
    const struct sigaction& prima = g_precedenti[segnale];
    sigaction(segnale, &prima, nullptr);
    if ((prima.sa_flags & SA_SIGINFO) && prima.sa_sigaction)
        prima.sa_sigaction(segnale, info, contesto);
    else if (prima.sa_handler != SIG_DFL && prima.sa_handler != SIG_IGN)
        prima.sa_handler(segnale);
    else
        raise(segnale);
}

// Installs the handlers for the length of a run, after Qt Test's own, and hands every
// signal on to the handler that was there before.
class GuardiaCadute {
public:
    GuardiaCadute()
    {
        struct sigaction sa {};
        sa.sa_sigaction = AllaCaduta;
        sa.sa_flags = SA_SIGINFO;
        sigemptyset(&sa.sa_mask);
        for (int s : g_segnali)
            sigaction(s, &sa, &g_precedenti[s]);
#if defined(__SANITIZE_ADDRESS__)
        __sanitizer_set_death_callback(ScriviTraccia);
#endif
    }
    ~GuardiaCadute()
    {
        for (int s : g_segnali)
            sigaction(s, &g_precedenti[s], nullptr);
#if defined(__SANITIZE_ADDRESS__)
        __sanitizer_set_death_callback(nullptr);
#endif
    }
};

// ---------------------------------------------------------------------------------------
// Qt Test's own complaints about events that a widget did not accept (a click on a
// label, a key to a disabled box) are what a monkey does all the time; any other
// message of Qt or of the program is kept and fails the run.

QtMessageHandler g_gestorePrecedente = nullptr;
QStringList* g_messaggiInattesi = nullptr;

void FiltraMessaggi(QtMsgType tipo, const QMessageLogContext& contesto, const QString& testo)
{
    if (tipo == QtWarningMsg && (testo.startsWith(QLatin1String("Mouse event \"")) ||
                                 testo == QLatin1String("Keyboard event not accepted by receiving widget")))
        return;
    if (g_messaggiInattesi && tipo != QtDebugMsg && tipo != QtInfoMsg)
        g_messaggiInattesi->append(testo);
    if (g_gestorePrecedente)
        g_gestorePrecedente(tipo, contesto, testo);
}

// ---------------------------------------------------------------------------------------

enum class Tipo { Nessuna, Avvio, Menu, Es1, Es5, Es2, Es3, Es4, Ord };

const char* NomeTipo(Tipo t)
{
    switch (t) {
    case Tipo::Avvio: return "FormAvvio";
    case Tipo::Menu: return "FormMenu";
    case Tipo::Es1: return "FormEs1";
    case Tipo::Es5: return "FormEs5";
    case Tipo::Es2: return "FormEs2";
    case Tipo::Es3: return "FormEs3";
    case Tipo::Es4: return "FormEs4";
    case Tipo::Ord: return "FormOrd";
    case Tipo::Nessuna: break;
    }
    return "(none)";
}

Tipo TipoDi(const Finestra* f)
{
    if (!f) return Tipo::Nessuna;
    if (qobject_cast<const FormAvvio*>(f)) return Tipo::Avvio;
    if (qobject_cast<const FormMenu*>(f)) return Tipo::Menu;
    if (qobject_cast<const FormEs1*>(f)) return Tipo::Es1;
    if (qobject_cast<const FormEs5*>(f)) return Tipo::Es5;
    if (qobject_cast<const FormEs2*>(f)) return Tipo::Es2;
    if (qobject_cast<const FormEs3*>(f)) return Tipo::Es3;
    if (qobject_cast<const FormEs4*>(f)) return Tipo::Es4;
    if (qobject_cast<const FormOrd*>(f)) return Tipo::Ord;
    return Tipo::Nessuna;
}

bool Esercizio(Tipo t) { return t != Tipo::Nessuna && t != Tipo::Avvio && t != Tipo::Menu; }
bool Conta(Tipo t) { return t == Tipo::Es1 || t == Tipo::Es5; }
bool Confronto(Tipo t) { return t == Tipo::Es2 || t == Tipo::Es3; }

// The text a count label must show for a counter: "0" at opening and after a reset,
// the blank-prefixed number after an answer. A counter is 0 exactly when its label was
// last set by the opening or by "Azzera conteggio", so the text follows from the value.
QString TestoAtteso(std::int16_t n) { return n == 0 ? QStringLiteral("0") : u' ' + QString::number(n); }

std::int16_t Piu1(std::int16_t n) { return n < 32767 ? std::int16_t(n + 1) : n; }

// The controls that a right answer disables and "avanti" enables again.
QList<QWidget*> ControlliRisposta(Finestra* f, Tipo t)
{
    if (Conta(t))
        return {static_cast<FormConta*>(f)->Text1};
    if (Confronto(t)) {
        auto* c = static_cast<FormConfronto*>(f);
        return {c->Command1, c->Command2, c->Command3};
    }
    if (t == Tipo::Es4) {
        auto* c = static_cast<FormEs4*>(f);
        return {c->Command1, c->Command2, c->Command3};
    }
    return {};
}

// Whether the question of an exercise window is solved: "avanti" enabled.
bool Risolto(Finestra* f, Tipo t)
{
    return Esercizio(t) && static_cast<FormEsercizio*>(f)->BottoneAvanti->isEnabled();
}

QString Segno(int a, int b) { return a < b ? QStringLiteral("<") : a > b ? QStringLiteral(">") : QStringLiteral("="); }

// A state of the window in one string, to tell whether an event changed anything.
QString Firma(Finestra* f, Tipo t, bool conConteggi = true, bool conRisposta = true)
{
    QString s = QString::number(f->ColoreSfondo(), 16);
    if (conConteggi)
        s += QStringLiteral("|%1|%2").arg(Modulo1::NumeroEsatti).arg(Modulo1::NumeroErrati);
    if (!Esercizio(t))
        return s;
    auto* e = static_cast<FormEsercizio*>(f);
    if (conConteggi)
        s += u'|' + e->EtichettaEsatti->text() + u'|' + e->EtichettaErrati->text();
    s += QStringLiteral("|%1%2%3").arg(e->BottoneAvanti->isEnabled()).arg(e->ComandoIconaSi->isHidden()).arg(
        e->ComandoIconaNo->isHidden());
    for (QWidget* w : ControlliRisposta(f, t))
        s += w->isEnabled() ? u'1' : u'0';
    auto posti = [&s](const PostiFigure::Posti& p) {
        for (ControlloImmagine* c : p)
            s += u'|' + c->Tag + u':' + c->Figura();
    };
    switch (t) {
    case Tipo::Es1: {
        auto* c = static_cast<FormEs1*>(f);
        s += u'|' + (conRisposta ? c->Text1->text() : QString()) + u'|' + c->FileFigura +
             QString::number(Modulo1::NumeroGiusto);
        posti(c->Image1);
        posti(c->Image2);
        posti(c->Image3);
        break;
    }
    case Tipo::Es5: {
        auto* c = static_cast<FormEs5*>(f);
        s += u'|' + (conRisposta ? c->Text1->text() : QString()) + u'|' + c->Image1->Figura() +
             QString::number(Modulo1::NumeroGiusto);
        break;
    }
    case Tipo::Es2:
    case Tipo::Es3: {
        auto* c = static_cast<FormConfronto*>(f);
        s += QStringLiteral("|%1|%2|%3|").arg(c->Label4->text()).arg(c->Quanti1).arg(c->Quanti2);
        s += c->Image5->Figura() + c->Image6->Figura();
        posti(c->Image1);
        posti(c->Image2);
        posti(c->Image3);
        posti(c->Image4);
        break;
    }
    case Tipo::Es4: {
        auto* c = static_cast<FormEs4*>(f);
        s += QStringLiteral("|%1|%2|").arg(c->Quanti).arg(c->Messi()) + c->FileFigura1 + c->FileFigura2;
        posti(c->Image1);
        posti(c->Image2);
        posti(c->Image3);
        break;
    }
    case Tipo::Ord: {
        auto* c = static_cast<FormOrd*>(f);
        s += QStringLiteral("|%1").arg(c->Sistemati());
        for (Casella* k : c->Label4)
            s += u'|' + k->text();
        for (Tessera* k : c->Label3)
            s += QStringLiteral("|%1%2@%3").arg(k->text()).arg(k->isEnabled()).arg(k->x());
        break;
    }
    default:
        break;
    }
    return s;
}

// What a window looked like just before an event.
struct Foto {
    QPointer<Finestra> guardia;
    Finestra* finestra = nullptr;
    Tipo tipo = Tipo::Nessuna;
    std::int16_t esatti = 0;
    std::int16_t errati = 0;
    qsizetype suoni = 0;
    qsizetype domande = 0;
    qsizetype informazioni = 0;
    int terminazioni = 0;
    bool risolto = false;
    bool siNascosto = false;
    bool noNascosto = false;
};

#define CONTROLLA(condizione, messaggio)                                                                              \
    do {                                                                                                               \
        if (!(condizione))                                                                                             \
            return QString(messaggio);                                                                                 \
    } while (0)

// ---------------------------------------------------------------------------------------

class Scimmia {
public:
    Scimmia(Ambiente& amb, std::uint64_t seme) : amb_(amb), seme_(seme), rng_(seme)
    {
        for (int n = 1; n <= 20; ++n)
            figure_.insert(PostiFigure::FileFigura(n));
        for (int k = 1; k <= 4; ++k)
            lodiValide_.insert(ModuloColoriSuoni::FileSuono(QStringLiteral("si%1.wav").arg(k)));
        for (auto t : {TabellaColori::AvvioMenu, TabellaColori::Esercizi, TabellaColori::Ordina})
            for (int n = 1; n <= 18; ++n)
                colori_[int(t)].insert(ModuloColoriSuoni::Colori(t)[std::size_t(n)]);
    }

    // Runs `quanti` events; returns the first fault found, or an empty string.
    QString Corri(qint64 quanti);

    QString Statistiche() const;
    // The coverage a long run must reach, or a description of what it missed.
    QString CoperturaMancante() const;

private:
    // Random choices of the monkey, from its own generator.
    int Tra(int a, int b) { return std::uniform_int_distribution<int>(a, b)(rng_); }
    bool Moneta(double p) { return std::uniform_real_distribution<double>(0.0, 1.0)(rng_) < p; }
    int Pesata(std::initializer_list<int> pesi);
    template <class T>
    T Uno(const QList<T>& l) { return l.at(Tra(0, int(l.size()) - 1)); }

    void Avvia();
    void Riavvia();
    Foto Fotografa() const;
    void Annota(const QString& descrizione);
    void Registra(const char* tipo) { ++eventi_[QLatin1String(tipo)]; }

    // The events.
    void UnEvento(const Foto& p);
    void ClicControllo(Finestra* f);
    void ClicFinestra(Finestra* f);
    void TastoFinestra(Finestra* f);
    void Chiudi(Finestra* f);
    void Riduci(FormEsercizio* f, Tipo t);
    void VoceMenu(FormEsercizio* f, Tipo t);
    void ClicBarraMenu(FormEsercizio* f);
    void Avanti(FormEsercizio* f, Tipo t);
    void TastiRisposta(FormConta* f, Tipo t);
    void BottoneConfronto(FormConfronto* f, Tipo t);
    void BottoneEs4(FormEs4* f, Tipo t);
    void DropDiretto(FormOrd* f);
    void DropSintetico(Finestra* f, Tipo t);

    // Clicks and keys.
    void Clic(QWidget* w, QPoint punto, Qt::MouseButton b, bool doppio);
    void ClicSuFinestra(QWindow* w, QPoint punto, Qt::MouseButton b, bool doppio);
    void Tenuto(QWidget* w, Qt::Key tasto, const QString& testo, int ripetizioni);
    void TenutoSuFinestra(QWindow* w, Qt::Key tasto, const QString& testo, int ripetizioni);
    Qt::MouseButton Bottone();
    QPoint PuntoIn(const QSize& s) { return QPoint(Tra(0, s.width() - 1), Tra(0, s.height() - 1)); }

    // The checks.
    QString DopoEvento(const Foto& p);
    QString ControllaTransizione(const Foto& p, Finestra* f, Tipo t);
    QString NuovaOrd(FormOrd* f);
    // Whether a question of this text asked during the event was answered Yes.
    bool SiA(const Foto& p, const QString& domanda) const;
    QString ControllaApertura(Finestra* f, Tipo t);
    QString ControllaStato(Finestra* f, Tipo t);
    QString ControllaEsercizio(FormEsercizio* f, Tipo t);
    QString ControllaEs1(FormEs1* f);
    QString ControllaEs5(FormEs5* f);
    QString ControllaConfronto(FormConfronto* f, Tipo t);
    QString ControllaEs4(FormEs4* f);
    QString ControllaOrd(FormOrd* f);
    // Each array of places: the number of "pieno" places, and the one picture they show.
    QString ControllaPosti(const PostiFigure::Posti& p, const char* nome, int& pieni, QString& figura) const;

    Ambiente& amb_;
    std::uint64_t seme_;
    std::mt19937_64 rng_;
    qint64 n_ = 0;
    QString descrizione_;
    std::deque<QString> ultimi_;
    // A check of the event's own effect, run after the common ones.
    std::function<QString()> atteso_;
    bool chiude_ = false;
    // How many clicks the event made: a double click may give two answers.
    int clic_ = 1;
    // Text dropped on the answer box can make it hold more than one character, until
    // the next key or question empties it.
    bool testoLungoAmmesso_ = false;
    // The answers ready for the questions the event may ask.
    std::array<bool, 2> risposte_{};

    QSet<QString> figure_;
    QSet<QString> lodiValide_; // the four praise sounds
    QSet<ColoreBGR> colori_[3];
    // Drag data kept from earlier drags: their tiles may be gone since, with their window.
    struct DatiVecchi {
        QByteArray dati;
        QPointer<Tessera> tessera;
        int indice;
    };
    QList<DatiVecchi> firmeVecchie_;
    // The number-ordering window: whether a drop has been judged since it opened.
    QPointer<FormOrd> ordCorrente_;
    bool ordGiudicato_ = false;
    int ordSistematiPrima_ = 0;
    // What a drag of each of its tiles brings to a box, seen once from outside as the
    // window comes, for the synthetic drops.
    std::array<QByteArray, 9> ordDati_;

    // Statistics.
    std::map<QString, qint64> eventi_;
    std::map<QString, qint64> aperture_;
    std::map<QString, qint64> giusti_;
    std::map<QString, qint64> sbagliati_;
    qint64 partiteOrd_ = 0;
    qint64 avvii_ = 0;
    qint64 si_ = 0;
    qint64 no_ = 0;
    qint64 informazioni_ = 0;
    qint64 azzeramenti_ = 0;
    qint64 tessereTrascinate_ = 0;
};

int Scimmia::Pesata(std::initializer_list<int> pesi)
{
    int totale = 0;
    for (int p : pesi)
        totale += p;
    int x = Tra(0, totale - 1);
    int i = 0;
    for (int p : pesi) {
        if (x < p)
            return i;
        x -= p;
        ++i;
    }
    return i - 1;
}

void Scimmia::Annota(const QString& descrizione)
{
    descrizione_ = descrizione;
    std::snprintf(g_traccia, sizeof g_traccia,
                  "\nmonkey: died at event %lld of seed %llu: %s\n"
                  "monkey: replay with TIVORO_MONKEY_SEED=%llu TIVORO_MONKEY_EVENTS=%lld\n",
                  static_cast<long long>(n_), static_cast<unsigned long long>(seme_), qPrintable(descrizione),
                  static_cast<unsigned long long>(seme_), static_cast<long long>(n_));
}

// A run of the program starts as main() starts it: Main seeds the generator from the
// clock and shows the title window; the generator is then seeded again from the run's
// seed, so that everything after the title window's colour can be replayed.
void Scimmia::Avvia()
{
    Modulo1::Main();
    Casuale::Semina(rng_());
    QCoreApplication::processEvents();
    ++avvii_;
}

// The program ended: a new run starts, as a new process would, with no window, no
// picture decoded and both counters at 0.
void Scimmia::Riavvia()
{
    ScaricaFinestre();
    Figure::Dimentica();
    Modulo1::NumeroEsatti = 0;
    Modulo1::NumeroErrati = 0;
    Modulo1::NumeroGiusto = 0;
    Avvia();
}

Foto Scimmia::Fotografa() const
{
    Foto p;
    const auto vis = FinestreVisibili();
    p.finestra = vis.isEmpty() ? nullptr : vis.front();
    p.guardia = p.finestra;
    p.tipo = TipoDi(p.finestra);
    p.esatti = Modulo1::NumeroEsatti;
    p.errati = Modulo1::NumeroErrati;
    p.suoni = amb_.suoni.percorsi.size();
    p.domande = amb_.messaggi.domande.size();
    p.informazioni = amb_.messaggi.informazioni.size();
    p.terminazioni = amb_.terminazioni;
    p.risolto = Risolto(p.finestra, p.tipo);
    if (Esercizio(p.tipo)) {
        auto* e = static_cast<FormEsercizio*>(p.finestra);
        p.siNascosto = e->ComandoIconaSi->isHidden();
        p.noNascosto = e->ComandoIconaNo->isHidden();
    }
    return p;
}

QString Scimmia::Corri(qint64 quanti)
{
    Avvia();
    if (QString e = ControllaStato(FinestreVisibili().value(0), TipoDi(FinestreVisibili().value(0))); !e.isEmpty())
        return QStringLiteral("after the start: ") + e;
    for (n_ = 1; n_ <= quanti; ++n_) {
        // What the seams recorded is looked at event by event, so it need not pile up.
        amb_.suoni.percorsi.clear();
        amb_.messaggi.domande.clear();
        amb_.messaggi.informazioni.clear();
        const Foto p = Fotografa();
        atteso_ = nullptr;
        chiude_ = false;
        clic_ = 1;
        // The answers to the questions the event may ask: mostly No, so that the monkey
        // stays a while where it is. A double click may ask twice, as the boxes here do
        // not block the window the way a real modal box would.
        const double si = p.tipo == Tipo::Menu ? 0.12 : 0.3;
        risposte_ = {Moneta(si), Moneta(si)};
        amb_.messaggi.risposte.assign(risposte_.begin(), risposte_.end());

        UnEvento(p);
        QCoreApplication::processEvents();
        Consegna();

        ultimi_.push_back(QStringLiteral("%1: %2").arg(n_).arg(descrizione_));
        if (ultimi_.size() > 25)
            ultimi_.pop_front();
        if (QString e = DopoEvento(p); !e.isEmpty()) {
            QString s = QStringLiteral("monkey: seed %1, event %2 (%3): %4\nmonkey: the last events:\n")
                            .arg(seme_).arg(n_).arg(descrizione_, e);
            for (const QString& u : ultimi_)
                s += QStringLiteral("  ") + u + u'\n';
            s += QStringLiteral("monkey: replay with TIVORO_MONKEY_SEED=%1 TIVORO_MONKEY_EVENTS=%2").arg(seme_).arg(n_);
            return s;
        }
    }
    return {};
}

// ---------------------------------------------------------------------------------------
// The events.

void Scimmia::UnEvento(const Foto& p)
{
    Finestra* f = p.finestra;
    switch (p.tipo) {
    case Tipo::Avvio:
        switch (Pesata({35, 20, 30, 10, 1})) {
        case 0: return ClicControllo(f);
        case 1: return ClicFinestra(f);
        case 2: return TastoFinestra(f);
        case 3:
            Annota(QStringLiteral("click on \"Avvio\""));
            Registra("Avvio");
            QTest::mouseClick(static_cast<FormAvvio*>(f)->Command1, Qt::LeftButton);
            return;
        default: return Chiudi(f);
        }
    case Tipo::Menu: {
        auto* m = static_cast<FormMenu*>(f);
        switch (Pesata({30, 20, 20, 6, 20, 1, 3})) {
        case 0: return ClicControllo(f);
        case 1: return ClicFinestra(f);
        case 2: return TastoFinestra(f);
        case 3:
            Annota(QStringLiteral("click on the menu's \"Esci\""));
            Registra("menu Esci");
            QTest::mouseClick(m->BottoneEsci, Qt::LeftButton);
            return;
        case 4: {
            const QList<QAbstractButton*> b = {m->Command7, m->Command4, m->Command2,
                                                m->Command5, m->Command3, m->Command1};
            QAbstractButton* scelto = Uno(b);
            Annota(QStringLiteral("click on the menu's %1").arg(scelto->objectName()));
            Registra("menu exercise button");
            QTest::mouseClick(scelto, Qt::LeftButton);
            return;
        }
        case 5: return Chiudi(f);
        default: return DropSintetico(f, p.tipo);
        }
    }
    default:
        break;
    }

    auto* e = static_cast<FormEsercizio*>(f);
    // Common to the exercise windows: clicks, keys, the menu, "avanti", the close
    // control; then what each window offers for answers.
    switch (Pesata({14, 10, 8, 4, 2, 8, 1, 53})) {
    case 0: return ClicControllo(f);
    case 1: return ClicFinestra(f);
    case 2: return TastoFinestra(f);
    case 3: return VoceMenu(e, p.tipo);
    case 4: return ClicBarraMenu(e);
    case 5: return Avanti(e, p.tipo);
    case 6:
        if (Moneta(0.15))
            return Chiudi(f);
        if (Moneta(0.2))
            return Riduci(e, p.tipo);
        return DropSintetico(f, p.tipo);
    default:
        break;
    }
    switch (p.tipo) {
    case Tipo::Es1:
    case Tipo::Es5: return TastiRisposta(static_cast<FormConta*>(f), p.tipo);
    case Tipo::Es2:
    case Tipo::Es3: return BottoneConfronto(static_cast<FormConfronto*>(f), p.tipo);
    case Tipo::Es4: return BottoneEs4(static_cast<FormEs4*>(f), p.tipo);
    case Tipo::Ord:
        if (Moneta(0.75))
            return DropDiretto(static_cast<FormOrd*>(f));
        return DropSintetico(f, p.tipo);
    default: return;
    }
}

Qt::MouseButton Scimmia::Bottone()
{
    switch (Pesata({85, 10, 5})) {
    case 0: return Qt::LeftButton;
    case 1: return Qt::RightButton;
    default: return Qt::MiddleButton;
    }
}

const char* NomeBottone(Qt::MouseButton b)
{
    return b == Qt::LeftButton ? "left" : b == Qt::RightButton ? "right" : "middle";
}

void Scimmia::Clic(QWidget* w, QPoint punto, Qt::MouseButton b, bool doppio)
{
    if (!doppio) {
        QTest::mouseClick(w, b, Qt::NoModifier, punto);
        return;
    }
    // Press, release, double click (which a widget takes as a press), release.
    clic_ = 2;
    QTest::mousePress(w, b, Qt::NoModifier, punto);
    QTest::mouseRelease(w, b, Qt::NoModifier, punto);
    QTest::mouseDClick(w, b, Qt::NoModifier, punto);
    QTest::mouseRelease(w, b, Qt::NoModifier, punto);
}

// Through the platform a double click is two presses and releases close together; Qt
// makes the second press a double click.
void Scimmia::ClicSuFinestra(QWindow* w, QPoint punto, Qt::MouseButton b, bool doppio)
{
    if (doppio) {
        clic_ = 2;
        QTest::mouseDClick(w, b, Qt::NoModifier, punto);
    } else {
        QTest::mouseClick(w, b, Qt::NoModifier, punto);
    }
}

// A click, with the mouse, on any visible control of the window, enabled or not.
void Scimmia::ClicControllo(Finestra* f)
{
    QList<QWidget*> candidati{f};
    for (QWidget* w : f->findChildren<QWidget*>())
        if (w->isVisible())
            candidati.append(w);
    QWidget* w = Uno(candidati);
    const Qt::MouseButton b = Bottone();
    const bool doppio = Moneta(0.05);
    const QPoint punto = PuntoIn(w->size());
    Annota(QStringLiteral("%1%2 click on %3 \"%4\" (%5) at %6,%7")
               .arg(QLatin1String(doppio ? "double " : ""), QLatin1String(NomeBottone(b)),
                    QLatin1String(w->metaObject()->className()), w->objectName(),
                    QLatin1String(w->isEnabled() ? "enabled" : "disabled"))
               .arg(punto.x())
               .arg(punto.y()));
    Registra("click on a control");
    if (auto* t = qobject_cast<Tessera*>(w); t && t->isEnabled() && b == Qt::LeftButton)
        ++tessereTrascinate_;
    Clic(w, punto, b, doppio);
}

// A click at any point of the window, delivered as the platform delivers it: to the
// control under the mouse, the menu bar included.
void Scimmia::ClicFinestra(Finestra* f)
{
    QWindow* w = f->windowHandle();
    const Qt::MouseButton b = Bottone();
    const bool doppio = Moneta(0.05);
    const QPoint punto = PuntoIn(w->size());
    QWidget* sotto = f->childAt(punto);
    Annota(QStringLiteral("%1%2 click on the window at %3,%4 (over %5)")
               .arg(QLatin1String(doppio ? "double " : ""), QLatin1String(NomeBottone(b)))
               .arg(punto.x())
               .arg(punto.y())
               .arg(sotto ? sotto->objectName() : QStringLiteral("nothing")));
    Registra("click on the window");
    ClicSuFinestra(w, punto, b, doppio);
}

struct Tasto {
    Qt::Key tasto;
    Qt::KeyboardModifiers mod;
};

Tasto TastoCasuale(int i, bool lettera)
{
    static const Qt::Key altri[] = {Qt::Key_Return, Qt::Key_Enter,  Qt::Key_Backspace, Qt::Key_Left,
                                    Qt::Key_Right,  Qt::Key_Up,     Qt::Key_Down,      Qt::Key_Home,
                                    Qt::Key_End,    Qt::Key_Delete, Qt::Key_Shift,     Qt::Key_Tab,
                                    Qt::Key_Backtab, Qt::Key_Space, Qt::Key_Escape,    Qt::Key_Alt};
    if (lettera)
        return {Qt::Key(Qt::Key_A + i % 26), Qt::NoModifier};
    const Qt::Key k = altri[i % std::size(altri)];
    return {k, k == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier};
}

QString TestoTasto(Qt::Key k)
{
    if (k == Qt::Key_Return || k == Qt::Key_Enter)
        return QStringLiteral("\r");
    if (k >= Qt::Key_0 && k <= Qt::Key_9)
        return QString(QChar(u'0' + (k - Qt::Key_0)));
    if (k >= Qt::Key_A && k <= Qt::Key_Z)
        return QString(QChar(u'a' + (k - Qt::Key_A)));
    if (k == Qt::Key_Space)
        return QStringLiteral(" ");
    return {};
}

QString NomeTasto(Qt::Key k, Qt::KeyboardModifiers m = {})
{
    QString s = QKeySequence(int(k)).toString();
    if (m & Qt::ShiftModifier)
        s = QStringLiteral("Shift+") + s;
    if (m & Qt::KeypadModifier)
        s += QStringLiteral(" (keypad)");
    return s;
}

// A key held down: the press, `ripetizioni` auto-repeated releases and presses, then the
// real release.
void Scimmia::Tenuto(QWidget* w, Qt::Key tasto, const QString& testo, int ripetizioni)
{
    const Qt::KeyboardModifiers m = tasto == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier;
    auto manda = [&](QEvent::Type tipo, bool ripetuto) {
        QKeyEvent e(tipo, tasto, m, testo, ripetuto);
        QApplication::sendEvent(w, &e);
    };
    manda(QEvent::KeyPress, false);
    for (int i = 0; i < ripetizioni; ++i) {
        manda(QEvent::KeyRelease, true);
        manda(QEvent::KeyPress, true);
    }
    manda(QEvent::KeyRelease, false);
}

void Scimmia::TenutoSuFinestra(QWindow* w, Qt::Key tasto, const QString& testo, int ripetizioni)
{
    const Qt::KeyboardModifiers m = tasto == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier;
    qt_handleKeyEvent(w, QEvent::KeyPress, tasto, m, testo, false);
    for (int i = 0; i < ripetizioni; ++i) {
        qt_handleKeyEvent(w, QEvent::KeyRelease, tasto, m, testo, true);
        qt_handleKeyEvent(w, QEvent::KeyPress, tasto, m, testo, true);
    }
    qt_handleKeyEvent(w, QEvent::KeyRelease, tasto, m, testo, false);
}

// A key to the window, delivered as the platform delivers it: to the control that has
// the focus (a button, the answer box, the menu bar after Alt).
void Scimmia::TastoFinestra(Finestra* f)
{
    QWindow* w = f->windowHandle();
    const int tipo = Pesata({25, 15, 45, 10, 5});
    Tasto k;
    if (tipo == 0)
        k = {Qt::Key(Qt::Key_0 + Tra(0, 9)), Qt::NoModifier};
    else
        k = TastoCasuale(Tra(0, 99), tipo == 1);
    if (tipo == 1 && Moneta(0.2))
        k.mod = Qt::ShiftModifier;
    QWidget* fuoco = f->focusWidget();
    const QString dove = fuoco ? fuoco->objectName() : QStringLiteral("nothing");
    Registra("key to the window");
    switch (tipo) {
    case 3: {
        const int r = Tra(1, 6);
        Annota(QStringLiteral("%1 held down (%2 repeats) on the window (focus on %3)")
                   .arg(NomeTasto(k.tasto)).arg(r).arg(dove));
        TenutoSuFinestra(w, k.tasto, TestoTasto(k.tasto), r);
        return;
    }
    case 4:
    {
        const bool premi = Moneta(0.5);
        Annota(QStringLiteral("%1 %2 on the window (focus on %3)")
                   .arg(NomeTasto(k.tasto, k.mod), QLatin1String(premi ? "press" : "release"), dove));
        if (premi)
            QTest::keyPress(w, k.tasto, k.mod);
        else
            QTest::keyRelease(w, k.tasto, k.mod);
        return;
    }
    default:
        Annota(QStringLiteral("%1 on the window (focus on %2)").arg(NomeTasto(k.tasto, k.mod), dove));
        QTest::keyClick(w, k.tasto, k.mod);
        return;
    }
}

// The window manager's close control: the program ends, without a question.
void Scimmia::Chiudi(Finestra* f)
{
    Annota(QStringLiteral("close control of %1").arg(f->objectName()));
    Registra("close control");
    chiude_ = true;
    f->close();
}

// The window minimised and brought back, as when the child switches to another program
// and back: it deals no new question.
void Scimmia::Riduci(FormEsercizio* f, Tipo t)
{
    Annota(QStringLiteral("%1 minimised and restored").arg(f->objectName()));
    Registra("minimise and restore");
    const QString prima = Firma(f, t);
    atteso_ = [f, t, prima]() -> QString {
        CONTROLLA(Firma(f, t) == prima, "minimising and restoring the window changed it");
        return {};
    };
    f->showMinimized();
    QCoreApplication::processEvents();
    f->showNormal();
    f->activateWindow();
}

void Scimmia::VoceMenu(FormEsercizio* f, Tipo t)
{
    const int i = Tra(0, 2);
    QAction* a = i == 0 ? f->MenuAzzera : i == 1 ? f->MenuInformazioni : f->mnuEsci;
    Annota(QStringLiteral("menu item %1 (the answer, if asked: %2)")
               .arg(a->objectName(), QLatin1String(amb_.messaggi.risposte.front() ? "Yes" : "No")));
    Registra("menu item");
    if (a == f->MenuAzzera) {
        const QString prima = Firma(f, t, false);
        atteso_ = [this, f, t, prima]() -> QString {
            CONTROLLA(Modulo1::NumeroEsatti == 0 && Modulo1::NumeroErrati == 0, "Azzera conteggio left a count");
            CONTROLLA(f->EtichettaEsatti->text() == QLatin1String("0") && f->EtichettaErrati->text() == QLatin1String("0"),
                      "Azzera conteggio left a label other than \"0\"");
            CONTROLLA(Firma(f, t, false) == prima, "Azzera conteggio changed more than the counts");
            return {};
        };
        ++azzeramenti_;
    } else if (a == f->MenuInformazioni) {
        const QString prima = Firma(f, t);
        const qsizetype info = amb_.messaggi.informazioni.size();
        atteso_ = [this, f, t, prima, info]() -> QString {
            CONTROLLA(amb_.messaggi.informazioni.size() == info + 1, "Informazioni showed no information box");
            CONTROLLA(Firma(f, t) == prima, "Informazioni changed the window");
            return {};
        };
        ++informazioni_;
    } else if (!amb_.messaggi.risposte.front()) {
        const QString prima = Firma(f, t);
        atteso_ = [f, t, prima]() -> QString {
            CONTROLLA(FinestreVisibili().value(0) == f, "Esci answered No left the window");
            CONTROLLA(Firma(f, t) == prima, "Esci answered No changed the window");
            return {};
        };
    } else {
        atteso_ = []() -> QString {
            CONTROLLA(TipoDi(FinestreVisibili().value(0)) == Tipo::Menu, "Esci answered Yes did not bring the menu");
            return {};
        };
    }
    a->trigger();
}

// A real click on an item of the menu bar.
void Scimmia::ClicBarraMenu(FormEsercizio* f)
{
    QMenuBar* barra = f->menuBar();
    const QList<QAction*> voci = {f->MenuAzzera, f->MenuInformazioni, f->mnuEsci};
    QAction* a = Uno(voci);
    const QRect r = barra->actionGeometry(a);
    Annota(QStringLiteral("click on the menu bar's %1 (the answer, if asked: %2)")
               .arg(a->objectName(), QLatin1String(amb_.messaggi.risposte.front() ? "Yes" : "No")));
    Registra("click on the menu bar");
    if (a == f->MenuInformazioni) {
        const qsizetype info = amb_.messaggi.informazioni.size();
        atteso_ = [this, info]() -> QString {
            CONTROLLA(amb_.messaggi.informazioni.size() == info + 1, "a click on Informazioni showed no information box");
            return {};
        };
    }
    QTest::mouseClick(barra, Qt::LeftButton, Qt::NoModifier, r.center());
}

void Scimmia::Avanti(FormEsercizio* f, Tipo t)
{
    const bool abilitato = f->BottoneAvanti->isEnabled();
    Annota(QStringLiteral("click on \"avanti\" (%1)").arg(QLatin1String(abilitato ? "enabled" : "disabled")));
    Registra("avanti");
    if (abilitato) {
        const bool si = f->ComandoIconaSi->isHidden();
        const bool no = f->ComandoIconaNo->isHidden();
        const std::int16_t esatti = Modulo1::NumeroEsatti;
        const std::int16_t errati = Modulo1::NumeroErrati;
        atteso_ = [f, t, si, no, esatti, errati]() -> QString {
            CONTROLLA(!f->BottoneAvanti->isEnabled(), "avanti stayed enabled");
            for (QWidget* w : ControlliRisposta(f, t))
                CONTROLLA(w->isEnabled(), QStringLiteral("avanti left %1 disabled").arg(w->objectName()));
            CONTROLLA(Modulo1::NumeroEsatti == esatti && Modulo1::NumeroErrati == errati, "avanti changed a count");
            CONTROLLA(f->ComandoIconaSi->isHidden() == si && f->ComandoIconaNo->isHidden() == no,
                      "avanti changed the feedback picture");
            if (Conta(t)) {
                auto* box = static_cast<FormConta*>(f)->Text1;
                CONTROLLA(box->text().isEmpty(), "the new question's answer box is not empty");
                CONTROLLA(f->focusWidget() == box, "the new question's answer box has not the focus");
            }
            if (Confronto(t))
                CONTROLLA(static_cast<FormConfronto*>(f)->Label4->text().isEmpty(), "the new question shows a sign");
            if (t == Tipo::Es4)
                CONTROLLA(static_cast<FormEs4*>(f)->Messi() == 0, "the new question's answer grid is not empty");
            if (t == Tipo::Ord)
                CONTROLLA(static_cast<FormOrd*>(f)->Sistemati() == 0, "the new game has tiles in place");
            return {};
        };
    } else {
        const QString prima = Firma(f, t);
        atteso_ = [f, t, prima]() -> QString {
            CONTROLLA(Firma(f, t) == prima, "a click on the disabled avanti changed the window");
            return {};
        };
    }
    QTest::mouseClick(f->BottoneAvanti, Qt::LeftButton, Qt::NoModifier, f->BottoneAvanti->rect().center());
}

// Keys into the answer box of a counting window: straight to the box, whether it has
// the focus or not, as a child's typing reaches it.
void Scimmia::TastiRisposta(FormConta* f, Tipo t)
{
    CasellaRisposta* box = f->Text1;
    const bool abilitato = box->isEnabled();
    const QString stato = QLatin1String(abilitato ? "enabled" : "disabled");
    Registra("key into the answer box");
    switch (Pesata({30, 8, 14, 5, 5, 8, 4, 6, 20})) {
    case 0: {
        // A digit and Enter: the answer is judged at once. Often the right one, so
        // that questions get solved.
        const int giusto = Modulo1::NumeroGiusto;
        const int d = Moneta(0.4) ? giusto : Tra(0, 9);
        const bool invioTastierino = Moneta(0.3);
        Annota(QStringLiteral("%1 then %2 into Text1 (%3; the answer is %4)")
                   .arg(d)
                   .arg(QLatin1String(invioTastierino ? "keypad Enter" : "Enter"), stato)
                   .arg(giusto));
        const std::int16_t esatti = Modulo1::NumeroEsatti;
        const std::int16_t errati = Modulo1::NumeroErrati;
        atteso_ = [this, abilitato, d, giusto, esatti, errati, t]() -> QString {
            if (!abilitato) {
                CONTROLLA(Modulo1::NumeroEsatti == esatti && Modulo1::NumeroErrati == errati,
                          "keys into a disabled answer box were judged");
                return {};
            }
            if (d == giusto) {
                CONTROLLA(Modulo1::NumeroEsatti == Piu1(esatti) && Modulo1::NumeroErrati == errati,
                          "the right number was not judged right");
                ++giusti_[QLatin1String(NomeTipo(t))];
            } else {
                CONTROLLA(Modulo1::NumeroErrati == Piu1(errati) && Modulo1::NumeroEsatti == esatti,
                          "a wrong number was not judged wrong");
                ++sbagliati_[QLatin1String(NomeTipo(t))];
            }
            return {};
        };
        QTest::keyClick(box, Qt::Key(Qt::Key_0 + d));
        if (invioTastierino)
            QTest::keyClick(box, Qt::Key_Enter, Qt::KeypadModifier);
        else
            QTest::keyClick(box, Qt::Key_Return);
        return;
    }
    case 1: {
        const Tasto k = TastoCasuale(Tra(0, 25), true);
        const Qt::KeyboardModifiers m = Moneta(0.3) ? Qt::ShiftModifier : Qt::NoModifier;
        Annota(QStringLiteral("%1 into Text1 (%2)").arg(NomeTasto(k.tasto, m), stato));
        QTest::keyClick(box, k.tasto, m);
        return;
    }
    case 2: {
        const bool tastierino = Moneta(0.3);
        Annota(QStringLiteral("%1 into Text1 (%2, holding \"%3\")")
                   .arg(QLatin1String(tastierino ? "keypad Enter" : "Enter"), stato, box->text()));
        if (tastierino)
            QTest::keyClick(box, Qt::Key_Enter, Qt::KeypadModifier);
        else
            QTest::keyClick(box, Qt::Key_Return);
        return;
    }
    case 3:
        Annota(QStringLiteral("Enter pressed (not released) in Text1 (%1)").arg(stato));
        QTest::keyPress(box, Qt::Key_Return);
        return;
    case 4:
        Annota(QStringLiteral("Enter released in Text1 (%1, holding \"%2\")").arg(stato, box->text()));
        QTest::keyRelease(box, Qt::Key_Return);
        return;
    case 5: {
        const int r = Tra(1, 8);
        const bool tastierino = Moneta(0.3);
        Annota(QStringLiteral("%1 held down with %2 repeats in Text1 (%3, holding \"%4\")")
                   .arg(QLatin1String(tastierino ? "keypad Enter" : "Enter"))
                   .arg(r)
                   .arg(stato, box->text()));
        const std::int16_t esatti = Modulo1::NumeroEsatti;
        const std::int16_t errati = Modulo1::NumeroErrati;
        const bool giudicabile = abilitato && !box->text().isEmpty();
        atteso_ = [esatti, errati, giudicabile]() -> QString {
            const int giudizi = (Modulo1::NumeroEsatti - esatti) + (Modulo1::NumeroErrati - errati);
            CONTROLLA(giudizi == (giudicabile ? 1 : 0),
                      QStringLiteral("Enter held down was judged %1 times").arg(giudizi));
            return {};
        };
        Tenuto(box, tastierino ? Qt::Key_Enter : Qt::Key_Return, QStringLiteral("\r"), r);
        return;
    }
    case 6: {
        const int d = Tra(0, 9);
        const int r = Tra(1, 5);
        Annota(QStringLiteral("%1 held down with %2 repeats in Text1 (%3)").arg(d).arg(r).arg(stato));
        Tenuto(box, Qt::Key(Qt::Key_0 + d), QString(QChar(u'0' + d)), r);
        return;
    }
    case 7: {
        const int d = Tra(0, 9);
        Annota(QStringLiteral("%1 into Text1 (%2)").arg(d).arg(stato));
        QTest::keyClick(box, Qt::Key(Qt::Key_0 + d));
        return;
    }
    default: {
        const Tasto k = TastoCasuale(Tra(0, 99), false);
        Annota(QStringLiteral("%1 into Text1 (%2, holding \"%3\")").arg(NomeTasto(k.tasto, k.mod), stato, box->text()));
        QTest::keyClick(box, k.tasto, k.mod);
        return;
    }
    }
}

void Scimmia::BottoneConfronto(FormConfronto* f, Tipo t)
{
    const int i = Tra(0, 2);
    Pulsante* b = i == 0 ? f->Command1 : i == 1 ? f->Command2 : f->Command3;
    const bool abilitato = b->isEnabled();
    const QString segno = b->text();
    const bool giusta = segno == Segno(f->Quanti1, f->Quanti2);
    Annota(QStringLiteral("click on \"%1\" (%2; %3 against %4)")
               .arg(segno, QLatin1String(abilitato ? "enabled" : "disabled"))
               .arg(f->Quanti1)
               .arg(f->Quanti2));
    Registra("answer button");
    const std::int16_t esatti = Modulo1::NumeroEsatti;
    const std::int16_t errati = Modulo1::NumeroErrati;
    const QString prima = Firma(f, t);
    atteso_ = [this, f, t, abilitato, giusta, segno, esatti, errati, prima]() -> QString {
        if (!abilitato) {
            CONTROLLA(Firma(f, t) == prima, "a click on a disabled answer button changed the window");
            return {};
        }
        if (giusta) {
            CONTROLLA(Modulo1::NumeroEsatti == Piu1(esatti) && Modulo1::NumeroErrati == errati,
                      "the right sign was not judged right");
            CONTROLLA(f->Label4->text() == segno, "the right sign is not written in the answer row");
            ++giusti_[QLatin1String(NomeTipo(t))];
        } else {
            CONTROLLA(Modulo1::NumeroErrati == Piu1(errati) && Modulo1::NumeroEsatti == esatti,
                      "a wrong sign was not judged wrong");
            CONTROLLA(f->Label4->text().isEmpty(), "a wrong sign is written in the answer row");
            ++sbagliati_[QLatin1String(NomeTipo(t))];
        }
        return {};
    };
    QTest::mouseClick(b, Qt::LeftButton, Qt::NoModifier, b->rect().center());
}

void Scimmia::BottoneEs4(FormEs4* f, Tipo t)
{
    // More pictures while the grid holds fewer than the given set, so that checks are
    // right now and then.
    const int i = f->Messi() < f->Quanti ? Pesata({60, 28, 12}) : Pesata({15, 70, 15});
    PulsanteGrafico* b = i == 0 ? f->Command1 : i == 1 ? f->Command2 : f->Command3;
    const bool abilitato = b->isEnabled();
    const int messi = f->Messi();
    const int quanti = f->Quanti;
    Annota(QStringLiteral("click on %1 (%2; %3 placed, %4 given)")
               .arg(b->objectName(), QLatin1String(abilitato ? "enabled" : "disabled"))
               .arg(messi)
               .arg(quanti));
    Registra("answer button");
    const std::int16_t esatti = Modulo1::NumeroEsatti;
    const std::int16_t errati = Modulo1::NumeroErrati;
    const QString prima = Firma(f, t);
    atteso_ = [this, f, t, i, abilitato, messi, quanti, esatti, errati, prima]() -> QString {
        if (!abilitato) {
            CONTROLLA(Firma(f, t) == prima, "a click on a disabled answer button changed the window");
            return {};
        }
        switch (i) {
        case 0:
            CONTROLLA(f->Messi() == std::min(messi + 1, 9), "one more picture did not give one more");
            CONTROLLA(Modulo1::NumeroEsatti == esatti && Modulo1::NumeroErrati == errati, "one more picture was judged");
            break;
        case 1:
            if (messi == quanti) {
                CONTROLLA(Modulo1::NumeroEsatti == Piu1(esatti) && Modulo1::NumeroErrati == errati,
                          "as many pictures as given were not judged right");
                ++giusti_[QLatin1String(NomeTipo(t))];
            } else {
                CONTROLLA(Modulo1::NumeroErrati == Piu1(errati) && Modulo1::NumeroEsatti == esatti,
                          "a different number of pictures was not judged wrong");
                ++sbagliati_[QLatin1String(NomeTipo(t))];
            }
            CONTROLLA(f->Messi() == messi, "the check changed the answer grid");
            break;
        default:
            CONTROLLA(f->Messi() == 0, "the bin did not empty the answer grid");
            CONTROLLA(Modulo1::NumeroEsatti == esatti && Modulo1::NumeroErrati == errati, "the bin was judged");
            break;
        }
        return {};
    };
    QTest::mouseClick(b, Qt::LeftButton, Qt::NoModifier, b->rect().center());
}

// A drop as a box reports it: any tile, placed or not, on any box, sometimes on an
// index that no box has.
void Scimmia::DropDiretto(FormOrd* f)
{
    const int tessera = Tra(0, 8);
    int indice = Moneta(0.45) ? tessera : Tra(0, 8);
    if (Moneta(0.01))
        indice = Uno(QList<int>{-1, 9, 100, -32768, 32767});
    Tessera* t = f->Label3[std::size_t(tessera)];
    const bool inGioco = t->isEnabled();
    Annota(QStringLiteral("Label4_DragDrop(%1, Label3(%2)) (%3)")
               .arg(indice)
               .arg(tessera)
               .arg(QLatin1String(inGioco ? "in play" : "placed")));
    Registra("drop of a tile on a box");
    const std::int16_t esatti = Modulo1::NumeroEsatti;
    const std::int16_t errati = Modulo1::NumeroErrati;
    const QString prima = Firma(f, Tipo::Ord);
    const bool valido = inGioco && indice >= 0 && indice <= 8;
    atteso_ = [this, f, t, tessera, indice, valido, esatti, errati, prima]() -> QString {
        if (!valido) {
            CONTROLLA(Firma(f, Tipo::Ord) == prima, "a drop that no box can take changed the window");
            return {};
        }
        if (tessera == indice) {
            CONTROLLA(Modulo1::NumeroEsatti == Piu1(esatti) && Modulo1::NumeroErrati == errati,
                      "a tile on its own box was not judged right");
            CONTROLLA(f->Label4[std::size_t(indice)]->text() == QString::number(indice + 1),
                      "the box does not show its number");
            CONTROLLA(!t->isEnabled() && t->text().isEmpty(), "the placed tile is still in play");
            ++giusti_[QStringLiteral("FormOrd")];
        } else {
            CONTROLLA(Modulo1::NumeroErrati == Piu1(errati) && Modulo1::NumeroEsatti == esatti,
                      "a tile on another box was not judged wrong");
            CONTROLLA(f->ColoreSfondo() == 0, "a wrong drop did not turn the window black");
            CONTROLLA(t->isEnabled() && t->text() == QString::number(tessera + 1), "a wrong drop moved the tile");
            ++sbagliati_[QStringLiteral("FormOrd")];
        }
        return {};
    };
    f->Label4_DragDrop(std::int16_t(indice), t);
}

// Drag and drop events as Qt delivers them to a widget: on any widget of any window,
// carrying a tile of this window, a tile that is gone, broken tile data or plain text.
void Scimmia::DropSintetico(Finestra* f, Tipo t)
{
    auto* ord = t == Tipo::Ord ? static_cast<FormOrd*>(f) : nullptr;
    QList<QWidget*> candidati{f->centralWidget()};
    for (QWidget* w : f->findChildren<QWidget*>())
        if (w->isVisible())
            candidati.append(w);
    QWidget* bersaglio = nullptr;
    // Half of the drops go to the box under a point, as Qt routes a drop to the widget
    // under the mouse that accepts drops.
    if (ord && Moneta(0.5))
        bersaglio = ord->Label4[std::size_t(Tra(0, 8))];
    else
        bersaglio = Uno(candidati);

    QMimeData dati;
    int tessera = -1;
    QString cosa;
    switch (Pesata({ord ? 60 : 0, 15, 10, 10, 5})) {
    case 0: {
        tessera = Tra(0, 8);
        const QByteArray vera = ordDati_[std::size_t(tessera)];
        dati.setData(Tessera::TipoMime, vera);
        if (firmeVecchie_.size() < 64 && Moneta(0.05))
            firmeVecchie_.append({vera, ord->Label3[std::size_t(tessera)], tessera});
        cosa = QStringLiteral("Label3(%1)").arg(tessera);
        break;
    }
    case 1:
        if (!firmeVecchie_.isEmpty()) {
            const DatiVecchi vecchia = Uno(firmeVecchie_);
            dati.setData(Tessera::TipoMime, vecchia.dati);
            if (vecchia.tessera) {
                tessera = vecchia.indice;
                cosa = QStringLiteral("Label3(%1), from earlier drag data").arg(tessera);
            } else {
                cosa = QStringLiteral("a tile of an earlier window");
            }
            break;
        }
        [[fallthrough]];
    case 2: {
        static const QByteArray rotti[] = {"", "tessera", "1 2 3", "-1 -1", " ", "99999999999999999999 1", "0 0"};
        dati.setData(Tessera::TipoMime, rotti[Tra(0, int(std::size(rotti)) - 1)]);
        cosa = QStringLiteral("broken tile data");
        break;
    }
    case 3:
        dati.setText(QString::number(Tra(1, 9)));
        cosa = QStringLiteral("text");
        break;
    default:
        cosa = QStringLiteral("nothing");
        break;
    }
    // Qt hands a drop to the widget that took the drag as it entered: a drop with no
    // drag before it, or one that leaves instead, reaches nobody.
    const int modo = Pesata({70, 20, 10});
    const QPoint punto = PuntoIn(bersaglio->size());
    static const char* const modi[] = {"entered and dropped on", "dropped straight on", "entered and left"};
    Annota(QStringLiteral("drag of %1 %2 %3 \"%4\"")
               .arg(cosa, QLatin1String(modi[modo]), QLatin1String(bersaglio->metaObject()->className()),
                    bersaglio->objectName()));
    Registra("synthetic drop");

    auto* casella = qobject_cast<Casella*>(bersaglio);
    const bool giudicabile =
        modo == 0 && ord && casella && tessera >= 0 && ord->Label3[std::size_t(tessera)]->isEnabled();
    // Text dropped on an answer box goes into it, as into any text box, past the
    // key-down that empties it.
    const bool testo = modo == 0 && dati.hasText() && qobject_cast<CasellaRisposta*>(bersaglio);
    if (testo)
        testoLungoAmmesso_ = true;
    const std::int16_t esatti = Modulo1::NumeroEsatti;
    const std::int16_t errati = Modulo1::NumeroErrati;
    const QString prima = Firma(f, t, true, !testo);
    atteso_ = [this, f, t, giudicabile, testo, casella, tessera, esatti, errati, prima]() -> QString {
        if (!giudicabile) {
            CONTROLLA(Firma(f, t, true, !testo) == prima, "a drop that no box takes changed the window");
            return {};
        }
        if (casella->Indice() == tessera) {
            CONTROLLA(Modulo1::NumeroEsatti == Piu1(esatti) && Modulo1::NumeroErrati == errati,
                      "a tile dropped on its own box was not judged right");
            ++giusti_[QStringLiteral("FormOrd")];
        } else {
            CONTROLLA(Modulo1::NumeroErrati == Piu1(errati) && Modulo1::NumeroEsatti == esatti,
                      "a tile dropped on another box was not judged wrong");
            ++sbagliati_[QStringLiteral("FormOrd")];
        }
        return {};
    };

    if (modo != 1) {
        QDragEnterEvent entra(punto, Qt::MoveAction, &dati, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(bersaglio, &entra);
        QDragMoveEvent muove(punto, Qt::MoveAction, &dati, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(bersaglio, &muove);
    }
    if (modo == 2) {
        QDragLeaveEvent esce;
        QApplication::sendEvent(bersaglio, &esce);
        return;
    }
    QDropEvent lascia(QPointF(punto), Qt::MoveAction, &dati, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(bersaglio, &lascia);
}

// ---------------------------------------------------------------------------------------
// The checks.

bool Scimmia::SiA(const Foto& p, const QString& domanda) const
{
    const qsizetype nuove = amb_.messaggi.domande.size() - p.domande;
    for (qsizetype i = 0; i < nuove && i < qsizetype(risposte_.size()); ++i)
        if (risposte_[std::size_t(i)] && amb_.messaggi.domande[p.domande + i] == domanda)
            return true;
    return false;
}

QString Scimmia::DopoEvento(const Foto& p)
{
    // A program end: only the close control or "Esci" answered Yes end the program.
    const qsizetype nuoveDomande = amb_.messaggi.domande.size() - p.domande;
    const bool uscitaSi = SiA(p, QStringLiteral("Vuoi uscire dal programma?"));
    for (qsizetype i = 0; i < nuoveDomande && i < qsizetype(risposte_.size()); ++i)
        ++(risposte_[std::size_t(i)] ? si_ : no_);
    if (amb_.terminazioni != p.terminazioni) {
        // The end is only recorded here, so the second click of a double click on "Esci"
        // asks and ends again.
        CONTROLLA(amb_.terminazioni - p.terminazioni <= clic_, "the program was ended more than once");
        CONTROLLA(chiude_ || uscitaSi, "the program ended without the close control or Esci answered Yes");
        Riavvia();
        Finestra* f = FinestreVisibili().value(0);
        CONTROLLA(TipoDi(f) == Tipo::Avvio, "a new run did not start with the title window");
        return ControllaStato(f, Tipo::Avvio);
    }
    CONTROLLA(!chiude_, "the close control did not end the program");
    CONTROLLA(!uscitaSi, "Esci answered Yes did not end the program");

    // Exactly one window of the program, and nothing else on the screen.
    const QList<Finestra*> visibili = FinestreVisibili();
    CONTROLLA(visibili.size() == 1, QStringLiteral("%1 windows are visible").arg(visibili.size()));
    int vive = 0;
    int inVista = 0;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (qobject_cast<Finestra*>(w))
            ++vive;
        if (w->isVisible())
            ++inVista;
    }
    CONTROLLA(vive == 1, QStringLiteral("%1 windows are alive after the deferred deletes").arg(vive));
    CONTROLLA(inVista == 1, QStringLiteral("%1 top-level widgets are visible").arg(inVista));
    Finestra* f = visibili.front();
    const Tipo t = TipoDi(f);
    CONTROLLA(t != Tipo::Nessuna, QStringLiteral("unknown window %1").arg(f->objectName()));
    if (f != p.finestra)
        CONTROLLA(p.guardia.isNull(), QStringLiteral("%1 was left but not deleted").arg(NomeTipo(p.tipo)));

    if (QString e = ControllaTransizione(p, f, t); !e.isEmpty())
        return e;
    if (atteso_)
        if (QString e = atteso_(); !e.isEmpty())
            return e;
    return ControllaStato(f, t);
}

QString Scimmia::ControllaTransizione(const Foto& p, Finestra* f, Tipo t)
{
    using Modulo1::NumeroErrati;
    using Modulo1::NumeroEsatti;
    // Questions and boxes.
    const qsizetype nuoveDomande = amb_.messaggi.domande.size() - p.domande;
    CONTROLLA(nuoveDomande <= clic_, QStringLiteral("one event asked %1 questions").arg(nuoveDomande));
    CONTROLLA(amb_.messaggi.domandeSenzaRisposta == 0, "more questions than clicks in one event");
    for (qsizetype i = p.domande; i < amb_.messaggi.domande.size(); ++i) {
        const QString& d = amb_.messaggi.domande[i];
        if (p.tipo == Tipo::Menu)
            CONTROLLA(d == QLatin1String("Vuoi uscire dal programma?"), QStringLiteral("the menu asked \"%1\"").arg(d));
        else
            CONTROLLA(Esercizio(p.tipo) && d == QStringLiteral("Vuoi tornare al menù?"),
                      QStringLiteral("%1 asked \"%2\"").arg(QLatin1String(NomeTipo(p.tipo)), d));
    }
    const qsizetype nuoveInfo = amb_.messaggi.informazioni.size() - p.informazioni;
    CONTROLLA(nuoveInfo == 0 || (nuoveInfo <= clic_ && Esercizio(p.tipo) &&
                                 amb_.messaggi.informazioni.back() == Modulo1::TestoInformazioni()),
              "an unexpected information box");
    CONTROLLA(amb_.messaggi.avvisi.isEmpty(), QStringLiteral("a warning: %1").arg(amb_.messaggi.avvisi.value(0)));

    // The sounds of the event: every judged answer of FormEs1 to FormEs5 plays one, a
    // praise sound when right, the error sound when wrong; in FormOrd only a wrong drop
    // plays one.
    const QString errore = ModuloColoriSuoni::FileSuono(QStringLiteral("no.wav"));
    int lodi = 0;
    int errori = 0;
    for (qsizetype i = p.suoni; i < amb_.suoni.percorsi.size(); ++i) {
        const QString& suono = amb_.suoni.percorsi[i];
        if (suono == errore)
            ++errori;
        else if (lodiValide_.contains(suono))
            ++lodi;
        else
            return QStringLiteral("the sound %1").arg(suono);
    }
    CONTROLLA(NumeroEsatti >= 0 && NumeroErrati >= 0, "a negative count");
    if (f != p.finestra || !Esercizio(t)) {
        CONTROLLA(lodi + errori == 0, "a sound outside the answers");
    } else {
        // The counts move by the answers, or go back to 0 and count the answers after
        // that (Enter pressed on "Azzera conteggio" in the menu bar resets them, and its
        // release in the answer box judges the answer there).
        const bool ord = t == Tipo::Ord;
        int giusti = lodi;
        if (ord)
            giusti = NumeroErrati >= p.errati && NumeroEsatti >= p.esatti ? NumeroEsatti - p.esatti : NumeroEsatti;
        const bool senzaAzzerare = NumeroEsatti == p.esatti + giusti && NumeroErrati == p.errati + errori;
        const bool dopoAzzerare = NumeroEsatti == giusti && NumeroErrati == errori;
        CONTROLLA(senzaAzzerare || dopoAzzerare,
                  QStringLiteral("counts %1 and %2 went to %3 and %4 with %5 right and %6 wrong answers")
                      .arg(p.esatti).arg(p.errati).arg(NumeroEsatti).arg(NumeroErrati).arg(giusti).arg(errori));
        // A right answer closes the question: one at most, never with a wrong one; a
        // double click can give two wrong ones.
        CONTROLLA(giusti <= 1 && errori <= clic_ && !(giusti && errori),
                  QStringLiteral("one event gave %1 right and %2 wrong answers").arg(giusti).arg(errori));
        auto* e = static_cast<FormEsercizio*>(f);
        if (giusti || errori)
            CONTROLLA(!p.risolto, "an answer was judged while the question was solved");
        if (ord && (giusti || errori))
            ordGiudicato_ = true;
        if (giusti) {
            CONTROLLA(!e->ComandoIconaSi->isHidden() && e->ComandoIconaNo->isHidden(),
                      "a right answer did not show the laughing face alone");
            if (ord)
                CONTROLLA(f->ColoreSfondo() != 0, "the window stayed black after a right drop");
        } else if (errori) {
            CONTROLLA(e->ComandoIconaSi->isHidden() && !e->ComandoIconaNo->isHidden(),
                      "a wrong answer did not show the sad face alone");
            CONTROLLA(!Risolto(f, t), "a wrong answer solved the question");
            if (ord)
                CONTROLLA(f->ColoreSfondo() == 0, "a wrong drop did not turn the window black");
        } else {
            // "avanti" may have dealt a new question, which changes no face either.
            CONTROLLA(e->ComandoIconaSi->isHidden() == p.siNascosto && e->ComandoIconaNo->isHidden() == p.noNascosto,
                      "the feedback picture changed without an answer");
        }
        if (t == Tipo::Ord) {
            const int sistemati = static_cast<FormOrd*>(f)->Sistemati();
            if (sistemati == 9 && ordSistematiPrima_ != 9)
                ++partiteOrd_;
            ordSistematiPrima_ = sistemati;
        }
        return {};
    }
    if (f == p.finestra)
        return {};

    // Another window: the ways from one window to the next.
    CONTROLLA(NumeroEsatti == 0 && NumeroErrati == 0,
              QStringLiteral("counts %1 and %2 after going from %3 to %4")
                  .arg(NumeroEsatti).arg(NumeroErrati).arg(QLatin1String(NomeTipo(p.tipo)), QLatin1String(NomeTipo(t))));
    if (p.tipo == Tipo::Avvio) {
        CONTROLLA(t == Tipo::Menu, QStringLiteral("the title window led to %1").arg(QLatin1String(NomeTipo(t))));
    } else if (p.tipo == Tipo::Menu) {
        CONTROLLA(Esercizio(t), QStringLiteral("the menu led to %1").arg(QLatin1String(NomeTipo(t))));
        ++aperture_[QLatin1String(NomeTipo(t))];
        if (t == Tipo::Ord) {
            if (QString e = NuovaOrd(static_cast<FormOrd*>(f)); !e.isEmpty())
                return e;
            ordSistematiPrima_ = 0;
        }
        return ControllaApertura(f, t);
    } else {
        CONTROLLA(Esercizio(p.tipo) && t == Tipo::Menu,
                  QStringLiteral("%1 led to %2").arg(QLatin1String(NomeTipo(p.tipo)), QLatin1String(NomeTipo(t))));
        CONTROLLA(SiA(p, QStringLiteral("Vuoi tornare al menù?")),
                  "an exercise window went back to the menu without Esci answered Yes");
    }
    return {};
}

// A number-ordering window seen for the first time, all its tiles in play: the data a
// drag of each of them brings to its box.
QString Scimmia::NuovaOrd(FormOrd* f)
{
    ordCorrente_ = f;
    ordGiudicato_ = false;
    for (std::size_t i = 0; i < 9; ++i) {
        const std::unique_ptr<QMimeData> dati = DatiTrascinati(f->Label3[i], f->Label4[i]);
        CONTROLLA(dati && dati->hasFormat(Tessera::TipoMime),
                  QStringLiteral("a drag of Label3(%1) brings no tile to Label4(%1)").arg(i));
        ordDati_[i] = dati->data(Tessera::TipoMime);
    }
    return {};
}

// A newly opened exercise window: counts "0", the first question asked, "avanti"
// disabled, the answer controls enabled, the faces as laid out.
QString Scimmia::ControllaApertura(Finestra* f, Tipo t)
{
    auto* e = static_cast<FormEsercizio*>(f);
    CONTROLLA(e->EtichettaEsatti->text() == QLatin1String("0") && e->EtichettaErrati->text() == QLatin1String("0"),
              "a new exercise window does not show counts of \"0\"");
    CONTROLLA(!e->BottoneAvanti->isEnabled(), "a new exercise window has avanti enabled");
    for (QWidget* w : ControlliRisposta(f, t))
        CONTROLLA(w->isEnabled(), QStringLiteral("a new exercise window has %1 disabled").arg(w->objectName()));
    if (t == Tipo::Ord) {
        CONTROLLA(!e->ComandoIconaSi->isHidden() && !e->ComandoIconaNo->isHidden(),
                  "a new FormOrd does not show both faces");
        CONTROLLA(static_cast<FormOrd*>(f)->Sistemati() == 0, "a new FormOrd has tiles in place");
    } else {
        CONTROLLA(e->ComandoIconaSi->isHidden() && !e->ComandoIconaNo->isHidden(),
                  "a new exercise window does not show the sad face alone");
    }
    if (Conta(t)) {
        auto* box = static_cast<FormConta*>(f)->Text1;
        CONTROLLA(box->text().isEmpty(), "a new counting window has an answer typed");
        CONTROLLA(f->focusWidget() == box, "a new counting window's answer box has not the focus");
    }
    if (t == Tipo::Es4)
        CONTROLLA(static_cast<FormEs4*>(f)->Messi() == 0, "a new FormEs4 has pictures in its answer grid");
    return {};
}

QString Scimmia::ControllaStato(Finestra* f, Tipo t)
{
    CONTROLLA(f, "no window");
    CONTROLLA(Modulo1::NumeroEsatti >= 0 && Modulo1::NumeroErrati >= 0, "a negative count");
    const ColoreBGR colore = f->ColoreSfondo();
    switch (t) {
    case Tipo::Avvio:
    case Tipo::Menu:
        CONTROLLA(colori_[int(TabellaColori::AvvioMenu)].contains(colore),
                  QStringLiteral("colour %1 is not in the table").arg(colore, 6, 16, QChar(u'0')));
        CONTROLLA(Modulo1::NumeroEsatti == 0 && Modulo1::NumeroErrati == 0,
                  QStringLiteral("counts %1 and %2 outside the exercises").arg(Modulo1::NumeroEsatti).arg(Modulo1::NumeroErrati));
        return {};
    case Tipo::Ord:
        CONTROLLA(colore == 0 || colori_[int(TabellaColori::Ordina)].contains(colore),
                  QStringLiteral("colour %1 is not in the table").arg(colore, 6, 16, QChar(u'0')));
        break;
    case Tipo::Nessuna:
        return QStringLiteral("unknown window");
    default:
        CONTROLLA(colori_[int(TabellaColori::Esercizi)].contains(colore),
                  QStringLiteral("colour %1 is not in the table").arg(colore, 6, 16, QChar(u'0')));
        break;
    }
    return ControllaEsercizio(static_cast<FormEsercizio*>(f), t);
}

QString Scimmia::ControllaEsercizio(FormEsercizio* f, Tipo t)
{
    // The labels show the counters, in the one text form the value allows.
    CONTROLLA(f->EtichettaEsatti->text() == TestoAtteso(Modulo1::NumeroEsatti),
              QStringLiteral("EtichettaEsatti reads \"%1\" for a count of %2")
                  .arg(f->EtichettaEsatti->text()).arg(Modulo1::NumeroEsatti));
    CONTROLLA(f->EtichettaErrati->text() == TestoAtteso(Modulo1::NumeroErrati),
              QStringLiteral("EtichettaErrati reads \"%1\" for a count of %2")
                  .arg(f->EtichettaErrati->text()).arg(Modulo1::NumeroErrati));
    for (QAction* a : {f->MenuAzzera, f->MenuInformazioni, f->mnuEsci})
        CONTROLLA(a->isEnabled() && a->isVisible(), QStringLiteral("menu item %1 is not available").arg(a->objectName()));

    const bool avanti = f->BottoneAvanti->isEnabled();
    const bool si = !f->ComandoIconaSi->isHidden();
    const bool no = !f->ComandoIconaNo->isHidden();
    if (t == Tipo::Ord) {
        if (ordCorrente_ != f) {
            if (QString e = NuovaOrd(static_cast<FormOrd*>(f)); !e.isEmpty())
                return e;
        }
        // Both faces until the first judged drop, then the face of the last one.
        if (ordGiudicato_)
            CONTROLLA(si != no, "FormOrd shows both faces or none after a drop");
        else
            CONTROLLA(si && no, "FormOrd lost a face before any drop");
        if (f->ColoreSfondo() == 0)
            CONTROLLA(no && !si, "FormOrd is black without a wrong drop last");
        if (avanti)
            CONTROLLA(ordGiudicato_ && si && !no, "a finished game does not show the laughing face alone");
        return ControllaOrd(static_cast<FormOrd*>(f));
    }

    // One of the frame's two states: asking or solved.
    bool tutteAbilitate = true;
    bool tutteDisabilitate = true;
    for (QWidget* w : ControlliRisposta(f, t)) {
        tutteAbilitate = tutteAbilitate && w->isEnabled();
        tutteDisabilitate = tutteDisabilitate && !w->isEnabled();
    }
    CONTROLLA((tutteAbilitate && !avanti) || (tutteDisabilitate && avanti),
              QStringLiteral("answer controls %1 with avanti %2")
                  .arg(QLatin1String(tutteAbilitate ? "enabled" : tutteDisabilitate ? "disabled" : "mixed"),
                       QLatin1String(avanti ? "enabled" : "disabled")));
    CONTROLLA(si != no, "the window shows both faces or none");
    if (avanti)
        CONTROLLA(si, "a solved question does not show the laughing face");

    switch (t) {
    case Tipo::Es1: return ControllaEs1(static_cast<FormEs1*>(f));
    case Tipo::Es5: return ControllaEs5(static_cast<FormEs5*>(f));
    case Tipo::Es2:
    case Tipo::Es3: return ControllaConfronto(static_cast<FormConfronto*>(f), t);
    case Tipo::Es4: return ControllaEs4(static_cast<FormEs4*>(f));
    default: return {};
    }
}

QString Scimmia::ControllaPosti(const PostiFigure::Posti& p, const char* nome, int& pieni, QString& figura) const
{
    pieni = 0;
    figura.clear();
    for (std::size_t i = 0; i < p.size(); ++i) {
        const ControlloImmagine* c = p[i];
        const bool pieno = c->Tag == PostiFigure::Pieno;
        CONTROLLA(pieno || c->Tag.isEmpty(), QStringLiteral("%1(%2) has the tag \"%3\"").arg(QLatin1String(nome)).arg(i).arg(c->Tag));
        CONTROLLA(pieno != c->Vuoto(),
                  QStringLiteral("%1(%2) is %3 but %4").arg(QLatin1String(nome)).arg(i)
                      .arg(QLatin1String(pieno ? "\"pieno\"" : "free"), QLatin1String(c->Vuoto() ? "empty" : "shows a picture")));
        if (!pieno)
            continue;
        ++pieni;
        if (figura.isEmpty())
            figura = c->Figura();
        CONTROLLA(c->Figura() == figura, QStringLiteral("%1 shows two pictures").arg(QLatin1String(nome)));
    }
    return {};
}

QString Scimmia::ControllaEs1(FormEs1* f)
{
    const int giusto = Modulo1::NumeroGiusto;
    CONTROLLA(giusto >= 1 && giusto <= 9, QStringLiteral("NumeroGiusto is %1").arg(giusto));
    if (f->Text1->text().size() <= 1)
        testoLungoAmmesso_ = false;
    CONTROLLA(testoLungoAmmesso_ || f->Text1->text().size() <= 1,
              QStringLiteral("the answer box holds \"%1\"").arg(f->Text1->text()));
    CONTROLLA(figure_.contains(f->FileFigura), QStringLiteral("FileFigura is \"%1\"").arg(f->FileFigura));
    int usate = 0;
    const std::pair<const PostiFigure::Posti*, const char*> schiere[] = {
        {&f->Image1, "Image1"}, {&f->Image2, "Image2"}, {&f->Image3, "Image3"}};
    for (const auto& [s, nome] : schiere) {
        int pieni = 0;
        QString figura;
        if (QString e = ControllaPosti(*s, nome, pieni, figura); !e.isEmpty())
            return e;
        if (pieni == 0)
            continue;
        ++usate;
        CONTROLLA(pieni == giusto, QStringLiteral("%1 shows %2 pictures for an answer of %3").arg(QLatin1String(nome)).arg(pieni).arg(giusto));
        CONTROLLA(figura == f->FileFigura, "the cells do not show FileFigura");
    }
    CONTROLLA(usate == 1, QStringLiteral("%1 arrangements hold pictures").arg(usate));
    return {};
}

QString Scimmia::ControllaEs5(FormEs5* f)
{
    const int giusto = Modulo1::NumeroGiusto;
    CONTROLLA(giusto >= 1 && giusto <= 9, QStringLiteral("NumeroGiusto is %1").arg(giusto));
    if (f->Text1->text().size() <= 1)
        testoLungoAmmesso_ = false;
    CONTROLLA(testoLungoAmmesso_ || f->Text1->text().size() <= 1,
              QStringLiteral("the answer box holds \"%1\"").arg(f->Text1->text()));
    CONTROLLA(f->Image1->Figura() == FormEs5::FileGruppo(giusto) && f->FileFigura == f->Image1->Figura(),
              QStringLiteral("the group picture is \"%1\" for an answer of %2").arg(f->Image1->Figura()).arg(giusto));
    return {};
}

QString Scimmia::ControllaConfronto(FormConfronto* f, Tipo t)
{
    const QString figura1 = f->Image5->Figura();
    const QString figura2 = f->Image6->Figura();
    CONTROLLA(figure_.contains(figura1) && figure_.contains(figura2) && figura1 != figura2,
              QStringLiteral("the answer row shows \"%1\" and \"%2\"").arg(figura1, figura2));
    CONTROLLA(f->Quanti1 >= 1 && f->Quanti1 <= 9 && f->Quanti2 >= 1 && f->Quanti2 <= 9,
              QStringLiteral("Quanti1 %1, Quanti2 %2").arg(f->Quanti1).arg(f->Quanti2));
    const std::pair<const PostiFigure::Posti*, const char*> schiere[] = {
        {&f->Image1, "Image1"}, {&f->Image2, "Image2"}, {&f->Image3, "Image3"}, {&f->Image4, "Image4"}};
    int schiera1 = -1;
    int schiera2 = -1;
    for (int i = 0; i < 4; ++i) {
        const auto& [s, nome] = schiere[i];
        int pieni = 0;
        QString figura;
        if (QString e = ControllaPosti(*s, nome, pieni, figura); !e.isEmpty())
            return e;
        if (pieni == 0)
            continue;
        if (figura == figura1 && schiera1 < 0) {
            schiera1 = i;
            CONTROLLA(pieni == f->Quanti1, QStringLiteral("%1 pictures of the first kind for Quanti1 %2").arg(pieni).arg(f->Quanti1));
        } else if (figura == figura2 && schiera2 < 0) {
            schiera2 = i;
            CONTROLLA(pieni == f->Quanti2, QStringLiteral("%1 pictures of the second kind for Quanti2 %2").arg(pieni).arg(f->Quanti2));
        } else {
            return QStringLiteral("%1 holds pictures of no group").arg(QLatin1String(nome));
        }
    }
    CONTROLLA(schiera1 >= 0 && schiera2 >= 0, "a group is missing");
    if (t == Tipo::Es2)
        CONTROLLA(schiera1 <= 1 && schiera2 >= 2, "the groups are not in their halves");
    const QString segno = f->Label4->text();
    if (f->BottoneAvanti->isEnabled())
        CONTROLLA(segno == Segno(f->Quanti1, f->Quanti2),
                  QStringLiteral("the answer row reads \"%1\" for %2 against %3").arg(segno).arg(f->Quanti1).arg(f->Quanti2));
    else
        CONTROLLA(segno.isEmpty(), QStringLiteral("an open question shows the sign \"%1\"").arg(segno));
    return {};
}

QString Scimmia::ControllaEs4(FormEs4* f)
{
    CONTROLLA(f->Quanti >= 1 && f->Quanti <= 9, QStringLiteral("Quanti is %1").arg(f->Quanti));
    CONTROLLA(f->Messi() >= 0 && f->Messi() <= 9, QStringLiteral("Messi is %1").arg(f->Messi()));
    CONTROLLA(figure_.contains(f->FileFigura1) && figure_.contains(f->FileFigura2) && f->FileFigura1 != f->FileFigura2,
              QStringLiteral("the pictures are \"%1\" and \"%2\"").arg(f->FileFigura1, f->FileFigura2));
    int usate = 0;
    const std::pair<const PostiFigure::Posti*, const char*> schiere[] = {{&f->Image1, "Image1"}, {&f->Image2, "Image2"}};
    for (const auto& [s, nome] : schiere) {
        int pieni = 0;
        QString figura;
        if (QString e = ControllaPosti(*s, nome, pieni, figura); !e.isEmpty())
            return e;
        if (pieni == 0)
            continue;
        ++usate;
        CONTROLLA(pieni == f->Quanti, QStringLiteral("%1 pictures given for Quanti %2").arg(pieni).arg(f->Quanti));
        CONTROLLA(figura == f->FileFigura1, "the given set does not show FileFigura1");
    }
    CONTROLLA(usate == 1, QStringLiteral("%1 arrays hold the given set").arg(usate));
    for (int i = 0; i < 9; ++i) {
        const ControlloImmagine* c = f->Image3[std::size_t(i)];
        CONTROLLA(c->Tag.isEmpty(), QStringLiteral("Image3(%1) has a tag").arg(i));
        if (i < f->Messi())
            CONTROLLA(c->Figura() == f->FileFigura2, QStringLiteral("Image3(%1) does not show FileFigura2").arg(i));
        else
            CONTROLLA(c->Vuoto(), QStringLiteral("Image3(%1) shows a picture beyond Messi %2").arg(i).arg(f->Messi()));
    }
    return {};
}

QString Scimmia::ControllaOrd(FormOrd* f)
{
    int piene = 0;
    int ritirate = 0;
    QSet<int> posti;
    for (int i = 0; i < 9; ++i) {
        Casella* c = f->Label4[std::size_t(i)];
        Tessera* k = f->Label3[std::size_t(i)];
        const QString numero = QString::number(i + 1);
        CONTROLLA(c->text().isEmpty() || c->text() == numero, QStringLiteral("Label4(%1) shows \"%2\"").arg(i).arg(c->text()));
        if (k->isEnabled())
            CONTROLLA(k->text() == numero, QStringLiteral("Label3(%1) is in play showing \"%2\"").arg(i).arg(k->text()));
        else
            CONTROLLA(k->text().isEmpty(), QStringLiteral("Label3(%1) is placed but shows \"%2\"").arg(i).arg(k->text()));
        CONTROLLA(c->text().isEmpty() == k->isEnabled(),
                  QStringLiteral("Label4(%1) and its tile disagree").arg(i));
        piene += c->text().isEmpty() ? 0 : 1;
        ritirate += k->isEnabled() ? 0 : 1;
        posti.insert(k->x());
        CONTROLLA(k->y() == Twips::Px(3480), QStringLiteral("Label3(%1) left its row").arg(i));
    }
    CONTROLLA(piene == ritirate, "filled boxes and placed tiles differ in number");
    CONTROLLA(f->Sistemati() == piene, QStringLiteral("Sistemati is %1 with %2 boxes filled").arg(f->Sistemati()).arg(piene));
    CONTROLLA(posti.size() == 9, "two tiles share a place");
    for (int j = 0; j < 9; ++j)
        CONTROLLA(posti.contains(Twips::Px(FormOrd::SinistraPosto(j))), QStringLiteral("no tile at place %1").arg(j));
    CONTROLLA(f->BottoneAvanti->isEnabled() == (ritirate == 9),
              QStringLiteral("avanti %1 with %2 tiles placed")
                  .arg(QLatin1String(f->BottoneAvanti->isEnabled() ? "enabled" : "disabled")).arg(ritirate));
    return {};
}

QString Scimmia::Statistiche() const
{
    QString s = QStringLiteral("monkey: %1 events, %2 runs of the program, %3 Yes and %4 No to questions, "
                               "%5 information boxes, %6 resets, %7 tiles pressed, %8 games of FormOrd finished\n")
                    .arg(n_ - 1).arg(avvii_).arg(si_).arg(no_).arg(informazioni_).arg(azzeramenti_)
                    .arg(tessereTrascinate_).arg(partiteOrd_);
    s += QStringLiteral("monkey: events:");
    for (const auto& [k, v] : eventi_)
        s += QStringLiteral(" %1 %2,").arg(k).arg(v);
    s += QStringLiteral("\nmonkey: windows opened / right / wrong:");
    for (Tipo t : {Tipo::Es1, Tipo::Es5, Tipo::Es2, Tipo::Es3, Tipo::Es4, Tipo::Ord}) {
        const QString n = QLatin1String(NomeTipo(t));
        auto val = [&n](const std::map<QString, qint64>& m) { auto it = m.find(n); return it == m.end() ? 0 : it->second; };
        s += QStringLiteral(" %1 %2/%3/%4,").arg(n).arg(val(aperture_)).arg(val(giusti_)).arg(val(sbagliati_));
    }
    return s;
}

QString Scimmia::CoperturaMancante() const
{
    for (Tipo t : {Tipo::Es1, Tipo::Es5, Tipo::Es2, Tipo::Es3, Tipo::Es4, Tipo::Ord}) {
        const QString n = QLatin1String(NomeTipo(t));
        for (const auto* m : {&aperture_, &giusti_, &sbagliati_})
            if (auto it = m->find(n); it == m->end() || it->second < 5)
                return QStringLiteral("%1 was hardly exercised").arg(n);
    }
    if (partiteOrd_ < 3)
        return QStringLiteral("hardly a game of FormOrd was finished");
    if (avvii_ < 5 || si_ < 20 || no_ < 20 || informazioni_ < 20 || azzeramenti_ < 20)
        return QStringLiteral("the program was hardly restarted or asked");
    return {};
}

std::uint64_t Ambientale(const char* nome, std::uint64_t predefinito)
{
    const QByteArray v = qgetenv(nome);
    if (v.isEmpty())
        return predefinito;
    bool ok = false;
    const std::uint64_t n = v.trimmed().toULongLong(&ok, 0);
    if (!ok)
        qFatal("%s=%s is not a number", nome, v.constData());
    return n;
}

} // namespace

class TestMonkey : public QObject {
    Q_OBJECT
private slots:
    void scimmia();
};

void TestMonkey::scimmia()
{
    const std::uint64_t seme = Ambientale("TIVORO_MONKEY_SEED", 20240611);
    const qint64 quanti = qint64(Ambientale("TIVORO_MONKEY_EVENTS", 100000));
    qInfo("monkey: seed %llu, %lld events (TIVORO_MONKEY_SEED, TIVORO_MONKEY_EVENTS)",
          static_cast<unsigned long long>(seme), static_cast<long long>(quanti));

    Ambiente amb;
    // The end of the program as the program does it, windows unloaded from inside the
    // handler that ends it, but recorded rather than leaving the event loop.
    Piattaforma::ImpostaTermina([&amb] {
        ++amb.terminazioni;
        Finestre::ScaricaTutte();
    });
    QStringList inattesi;
    g_messaggiInattesi = &inattesi;
    g_gestorePrecedente = qInstallMessageHandler(FiltraMessaggi);
    GuardiaCadute guardia;

    Scimmia scimmia(amb, seme);
    QElapsedTimer orologio;
    orologio.start();
    const QString errore = scimmia.Corri(quanti);
    const qint64 ms = orologio.elapsed();

    qInstallMessageHandler(g_gestorePrecedente);
    g_messaggiInattesi = nullptr;
    qInfo("%s", qPrintable(scimmia.Statistiche()));
    qInfo("monkey: %lld ms", static_cast<long long>(ms));
    if (!errore.isEmpty())
        QFAIL(qPrintable(errore));
    QVERIFY2(inattesi.isEmpty(), qPrintable(QStringLiteral("Qt said: ") + inattesi.join(QStringLiteral(" | "))));
    if (quanti >= 20000) {
        const QString manca = scimmia.CoperturaMancante();
        QVERIFY2(manca.isEmpty(), qPrintable(manca));
    }
}

QTEST_MAIN(TestMonkey)
#include "test_monkey.moc"
