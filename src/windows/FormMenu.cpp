#include "windows/FormMenu.h"

#include "app/ModuloColoriSuoni.h"
#include "app/Modulo1.h"
#include "app/Piattaforma.h"
#include "exercises/FormEs1.h"
#include "exercises/FormEs2.h"
#include "exercises/FormEs3.h"
#include "exercises/FormEs4.h"
#include "exercises/FormEs5.h"
#include "exercises/FormOrd.h"
#include "ui/Controlli.h"
#include "ui/Finestre.h"

using Controlli::Carattere;

FormMenu::FormMenu() : Finestra("FormMenu", QSize(9600, 7200))
{
    QWidget* c = Client();
    const QFont testo = Carattere(QStringLiteral("Arial"), 18);
    const QFont segni = Carattere(QStringLiteral("Arial"), 36);
    // The two pairs of like captions are told apart by name for screen readers; every
    // button says what the child does there.
    auto bottone = [&](const char* nome, int top, const QString& caption, const QFont& f, void (FormMenu::*azione)(),
                       const QString& nomeAccessibile, const QString& descrizione) {
        auto* b = new Pulsante(c, QString::fromLatin1(nome), QRect(240, top, 4095, 615), caption, f);
        b->setAccessibleName(nomeAccessibile);
        b->setAccessibleDescription(descrizione);
        connect(b, &QAbstractButton::clicked, this, [this, azione] { (this->*azione)(); });
        return b;
    };
    Command7 = bottone("Command7", 240, QStringLiteral("Conta fino a 9"), testo, &FormMenu::Command7_Click,
                       QStringLiteral("Conta fino a 9, figure ripetute"),
                       QStringLiteral("conta le figure uguali e scrivi il numero"));
    Command4 = bottone("Command4", 960, QStringLiteral("Conta fino a 9"), testo, &FormMenu::Command4_Click,
                       QStringLiteral("Conta fino a 9, una figura di gruppo"),
                       QStringLiteral("conta le cose di una figura sola e scrivi il numero"));
    Command2 = bottone("Command2", 1680, QStringLiteral("Corrispondenza 1 a 1"), testo, &FormMenu::Command2_Click,
                       QStringLiteral("Corrispondenza 1 a 1"),
                       QStringLiteral("metti tante figure quante sono quelle date"));
    Command5 = bottone("Command5", 2400, QStringLiteral("Ordina i numeri"), testo, &FormMenu::Command5_Click,
                       QStringLiteral("Ordina i numeri"),
                       QStringLiteral("metti i numeri da 1 a 9 nelle caselle, in ordine"));
    Command3 = bottone("Command3", 3120, QStringLiteral("<  >  ="), segni, &FormMenu::Command3_Click,
                       QStringLiteral("minore, maggiore, uguale: gruppi affiancati"),
                       QStringLiteral("confronta il gruppo a sinistra con quello a destra"));
    Command1 = bottone("Command1", 3840, QStringLiteral("<  >  ="), segni, &FormMenu::Command1_Click,
                       QStringLiteral("minore, maggiore, uguale: gruppi mescolati"),
                       QStringLiteral("confronta due gruppi mescolati insieme"));

    QFont esci = Carattere(QStringLiteral("MS Sans Serif"), 13.5, false);
    esci.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    BottoneEsci = new PulsanteGrafico(c, QStringLiteral("BottoneEsci"), QRect(4320, 4800, 3975, 855),
                                      QStringLiteral("Esci"), Controlli::Icona(QStringLiteral("stop")), esci);
    BottoneEsci->setAccessibleDescription(QStringLiteral("esci dal programma"));
    connect(BottoneEsci, &QAbstractButton::clicked, this, [this] { BottoneEsci_Click(); });
    // The close control ends the program, without a question.
    connect(this, &Finestra::Chiusa, this, [] { Piattaforma::TerminaProgramma(); });

    setTabOrder(Command7, Command1);
    setTabOrder(Command1, Command2);
    setTabOrder(Command2, BottoneEsci);
    setTabOrder(BottoneEsci, Command3);
    setTabOrder(Command3, Command4);
    setTabOrder(Command4, Command5);
    Command7->setFocus();
    Form_Load();
}

void FormMenu::CaricaColori() { ModuloColoriSuoni::CaricaColori(*this, TabellaColori::AvvioMenu); }

void FormMenu::Form_Load() { CaricaColori(); }

template <class T>
void FormMenu::Apri()
{
    // The exercise opens before the menu goes, so a window is always open.
    Finestre::Mostra<T>();
    Finestre::Scarica(this);
}

void FormMenu::Command7_Click() { Apri<FormEs1>(); }
void FormMenu::Command4_Click() { Apri<FormEs5>(); }
void FormMenu::Command2_Click() { Apri<FormEs4>(); }
void FormMenu::Command5_Click() { Apri<FormOrd>(); }
void FormMenu::Command3_Click() { Apri<FormEs2>(); }
void FormMenu::Command1_Click() { Apri<FormEs3>(); }

void FormMenu::BottoneEsci_Click() { Modulo1::ChiediUscita(); }
