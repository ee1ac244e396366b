#include "frame/FormEsercizio.h"

#include "app/Modulo1.h"
#include "app/Piattaforma.h"
#include "frame/BarraMenu.h"
#include "ui/ControlloImmagine.h"
#include "ui/Controlli.h"
#include "ui/Finestre.h"
#include "windows/FormMenu.h"

#include <QAction>
#include <QLabel>
#include <QPointer>

using Controlli::Carattere;

DatiCornice DatiCornice::ColonnaAlta(const char* nome)
{
    return {nome,
            QSize(9570, 6885),
            QRect(7200, 240, 855, 750),
            QRect(6960, 1680, 735, 375),
            QRect(6960, 2280, 735, 495),
            QRect(7800, 1560, 975, 615),
            QRect(7800, 2160, 855, 615),
            QRect(6840, 4920, 1905, 855),
            false,
            true,
            false,
            8,
            10,
            TabellaColori::Esercizi};
}

DatiCornice DatiCornice::ColonnaBassa(const char* nome)
{
    DatiCornice d = ColonnaAlta(nome);
    d.facce = QRect(7200, 720, 855, 750);
    d.label1 = QRect(6960, 2160, 735, 375);
    d.label2 = QRect(6960, 2760, 735, 495);
    d.esatti = QRect(7800, 2040, 975, 615);
    d.errati = QRect(7800, 2640, 855, 615);
    d.avanti = QRect(6840, 5280, 1905, 855);
    return d;
}

DatiCornice DatiCornice::RigaInAlto(const char* nome)
{
    return {nome,
            QSize(10305, 7695),
            QRect(2280, 120, 975, 855),
            QRect(3480, 480, 735, 375),
            QRect(5520, 480, 735, 495),
            QRect(4320, 360, 975, 615),
            QRect(6360, 360, 855, 615),
            QRect(6600, 5160, 1905, 855),
            true,
            false,
            true,
            10,
            11,
            TabellaColori::Ordina};
}

FormEsercizio::FormEsercizio(const DatiCornice& dati) : Finestra(dati.nome, dati.client), dati_(dati)
{
    setWindowIcon(Controlli::Icona(QStringLiteral("faccina")));
    QWidget* c = Client();

    Label1 = Controlli::Etichetta(c, QStringLiteral("Label1"), dati.label1, QStringLiteral("Esatti"),
                                  Carattere(QStringLiteral("Arial"), 12));
    Label2 = Controlli::Etichetta(c, QStringLiteral("Label2"), dati.label2, QStringLiteral("Errati"),
                                  Carattere(QStringLiteral("Arial"), 12));
    EtichettaEsatti = Controlli::Etichetta(c, QStringLiteral("EtichettaEsatti"), dati.esatti,
                                           QStringLiteral("quantiesatti"), Carattere(QStringLiteral("Arial"), 18));
    EtichettaErrati = Controlli::Etichetta(c, QStringLiteral("EtichettaErrati"), dati.errati,
                                           QStringLiteral("quantierrati"), Carattere(QStringLiteral("Arial"), 18));

    if (dati.facceImmagini) {
        // Both visible, the laughing face on top until the first answer.
        auto* no = new ControlloImmagine(c, QStringLiteral("ComandoIconaNo"), dati.facce);
        no->ImpostaFigura(Controlli::Figurina(QStringLiteral("no")).toImage());
        auto* si = new ControlloImmagine(c, QStringLiteral("ComandoIconaSi"), dati.facce);
        si->ImpostaFigura(Controlli::Figurina(QStringLiteral("si")).toImage());
        ComandoIconaNo = no;
        ComandoIconaSi = si;
    } else {
        ComandoIconaSi = new PulsanteGrafico(c, QStringLiteral("ComandoIconaSi"), dati.facce, QString(),
                                             Controlli::Icona(QStringLiteral("si")));
        ComandoIconaNo = new PulsanteGrafico(c, QStringLiteral("ComandoIconaNo"), dati.facce, QString(),
                                             Controlli::Icona(QStringLiteral("no")));
        ComandoIconaSi->hide();
    }
    ComandoIconaSi->setAccessibleName(QStringLiteral("risposta giusta"));
    ComandoIconaNo->setAccessibleName(QStringLiteral("risposta sbagliata"));
    MostraConteggio(EtichettaEsatti, EtichettaEsatti->text());
    MostraConteggio(EtichettaErrati, EtichettaErrati->text());

    BottoneAvanti = new PulsanteGrafico(c, QStringLiteral("BottoneAvanti"), dati.avanti, QStringLiteral("avanti"),
                                        Controlli::Icona(QStringLiteral("avanti")),
                                        Carattere(QStringLiteral("Arial"), 14.25));
    BottoneAvanti->setEnabled(false);
    if (dati.cursoreAvanti)
        BottoneAvanti->setCursor(Controlli::Cursore(QStringLiteral("freccia"), QPoint(1, 1)));
    connect(BottoneAvanti, &QAbstractButton::clicked, this, [this] { BottoneAvanti_Click(); });

    auto* barra = new BarraMenu(this);
    MenuAzzera = barra->Voce(QStringLiteral("Azzera conteggio") + QString(dati.spaziAzzera, u' '),
                             QStringLiteral("MenuAzzera"));
    MenuInformazioni = barra->Voce(QStringLiteral("Informazioni") + QString(dati.spaziInformazioni, u' '),
                                   QStringLiteral("MenuInformazioni"));
    mnuEsci = barra->Voce(QStringLiteral("Esci"), QStringLiteral("mnuEsci"));
    setMenuBar(barra);
    connect(MenuAzzera, &QAction::triggered, this, [this] { MenuAzzera_Click(); });
    connect(MenuInformazioni, &QAction::triggered, this, [this] { MenuInformazioni_Click(); });
    connect(mnuEsci, &QAction::triggered, this, [this] { mnuEsci_Click(); });

    FissaDimensioni();
    // The close control ends the program, without a question.
    connect(this, &Finestra::Chiusa, this, [] { Piattaforma::TerminaProgramma(); });
}

QString FormEsercizio::TestoConteggio(std::int16_t n) { return u' ' + QString::number(n); }

void FormEsercizio::MostraConteggio(QLabel* etichetta, const QString& testo)
{
    etichetta->setText(testo);
    // One name says what is counted and how many ("Esatti: 3"); changing it tells a
    // screen reader that the count changed.
    const QString parola = etichetta == EtichettaEsatti ? QStringLiteral("Esatti") : QStringLiteral("Errati");
    etichetta->setAccessibleName(parola + QStringLiteral(": ") + testo.trimmed());
}

void FormEsercizio::CaricaColori() { ModuloColoriSuoni::CaricaColori(*this, dati_.tabella); }

void FormEsercizio::Esatto()
{
    ComandoIconaSi->show();
    ComandoIconaNo->hide();
    ModuloColoriSuoni::SuonoEsatto();
    Modulo1::Aggiungi(Modulo1::NumeroEsatti);
    MostraConteggio(EtichettaEsatti, TestoConteggio(Modulo1::NumeroEsatti));
    BottoneAvanti->setEnabled(true);
    for (QWidget* w : ControlliRisposta())
        w->setEnabled(false);
}

void FormEsercizio::Errato()
{
    ComandoIconaSi->hide();
    ComandoIconaNo->show();
    ModuloColoriSuoni::SuonoErrato();
    Modulo1::Aggiungi(Modulo1::NumeroErrati);
    MostraConteggio(EtichettaErrati, TestoConteggio(Modulo1::NumeroErrati));
}

void FormEsercizio::BottoneAvanti_Click()
{
    BottoneAvanti->setEnabled(false);
    for (QWidget* w : ControlliRisposta())
        w->setEnabled(true);
    NuovaDomanda();
}

void FormEsercizio::Apertura()
{
    MostraConteggio(EtichettaEsatti, QStringLiteral("0"));
    MostraConteggio(EtichettaErrati, QStringLiteral("0"));
    NuovaDomanda();
}

void FormEsercizio::Form_Activate()
{
    if (!dati_.aperturaAlCaricamento)
        Apertura();
}

void FormEsercizio::MenuAzzera_Click()
{
    MostraConteggio(EtichettaEsatti, QStringLiteral("0"));
    MostraConteggio(EtichettaErrati, QStringLiteral("0"));
    Modulo1::NumeroEsatti = 0;
    Modulo1::NumeroErrati = 0;
}

void FormEsercizio::MenuInformazioni_Click() { Modulo1::MostraInformazioni(); }

void FormEsercizio::mnuEsci_Click()
{
    Piattaforma::Messaggi().Domanda(QStringLiteral("Vuoi tornare al menù?"), [io = QPointer(this)](bool si) {
        // A window gone meanwhile (the program ended) has nothing left to do.
        if (!si || !io)
            return;
        Finestre::Mostra<FormMenu>();
        Finestre::Scarica(io);
        Modulo1::NumeroEsatti = 0;
        Modulo1::NumeroErrati = 0;
    });
}
