#include "windows/FormAvvio.h"

#include "app/ModuloColoriSuoni.h"
#include "app/Piattaforma.h"
#include "ui/Controlli.h"
#include "ui/Finestre.h"
#include "windows/FormMenu.h"

#include <QLabel>

using Controlli::Carattere;

FormAvvio::FormAvvio() : Finestra("FormAvvio", QSize(10020, 7770))
{
    setWindowIcon(Controlli::Icona(QStringLiteral("animale")));
    QWidget* c = Client();
    Label2[0] = Controlli::Etichetta(c, Controlli::NomeElemento("Label2", 0), QRect(2520, 1560, 4815, 1575),
                                     QStringLiteral("Tivoro"), Carattere(QStringLiteral("Arial"), 72));
    Label2[1] = Controlli::Etichetta(c, Controlli::NomeElemento("Label2", 1), QRect(2640, 360, 4935, 855),
                                     QStringLiteral("Esercitazioni matematiche"), Carattere(QStringLiteral("Arial"), 18));
    Command1 = new PulsanteGrafico(c, QStringLiteral("Command1"), QRect(3240, 4800, 3375, 1215), QStringLiteral("Avvio"),
                                   Controlli::Icona(QStringLiteral("animale")), Carattere(QStringLiteral("Arial"), 14.25));
    Command1->setAccessibleDescription(QStringLiteral("apre il menù degli esercizi"));
    connect(Command1, &QAbstractButton::clicked, this, [this] { Command1_Click(); });
    // "Avvio" is the only control that takes the focus.
    Command1->setFocus();
    // The close control ends the program, without a question.
    connect(this, &Finestra::Chiusa, this, [] { Piattaforma::TerminaProgramma(); });
    Form_Load();
}

void FormAvvio::CaricaColori() { ModuloColoriSuoni::CaricaColori(*this, TabellaColori::AvvioMenu); }

void FormAvvio::Form_Load() { CaricaColori(); }

void FormAvvio::Command1_Click()
{
    // The menu opens before the title window goes, so a window is always open.
    Finestre::Mostra<FormMenu>();
    Finestre::Scarica(this);
}
