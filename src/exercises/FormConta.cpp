#include "exercises/FormConta.h"

#include "app/Modulo1.h"
#include "ui/CasellaRisposta.h"
#include "ui/Controlli.h"
#include "ui/Tastierino.h"
#include "ui/Tocco.h"

#include <QAbstractButton>
#include <QLabel>

FormConta::FormConta(const DatiCornice& dati, const QRect& text1, const QRect& tastierino, int colonne)
    : FormEsercizio(dati)
{
    Text1 = new CasellaRisposta(Client(), QStringLiteral("Text1"), text1,
                                Controlli::Carattere(QStringLiteral("Arial"), 36));
    Text1->setAccessibleName(QStringLiteral("risposta"));
    Text1->setAccessibleDescription(QStringLiteral("scrivi quanti sono e premi Invio"));
    connect(Text1, &CasellaRisposta::TastoGiu, this, [this](int codice) { Text1_KeyDown(codice); });
    connect(Text1, &CasellaRisposta::TastoSu, this, [this](int codice) { Text1_KeyUp(codice); });

    // Of these only the buttons and the answer box take the focus.
    Tastierino1 = new Tastierino(Client(), QStringLiteral("Tastierino1"), tastierino, colonne,
                                 Controlli::Carattere(QStringLiteral("Arial"), 24), Controlli::Icona(QStringLiteral("spunta")));
    Tastierino1->hide();
    for (int cifra = 0; cifra <= 9; ++cifra)
        Tastierino1->TastoCifra(cifra)->setAccessibleName(QStringLiteral("cifra %1").arg(cifra));
    Tastierino1->TastoConferma()->setAccessibleName(QStringLiteral("conferma"));
    connect(Tastierino1, &Tastierino::Cifra, this, &FormConta::TastoCifra);
    connect(Tastierino1, &Tastierino::Conferma, this, &FormConta::TastoConferma);

    // Of these only the buttons, the answer box and the keys of the pad take the focus.
    QList<QWidget*> ordine = {ComandoIconaNo,  ComandoIconaSi, EtichettaErrati, EtichettaEsatti,
                              Label2,          Label1,         BottoneAvanti,   Text1};
    for (QAbstractButton* tasto : Tastierino1->Tasti())
        ordine.append(tasto);
    for (qsizetype i = 1; i < ordine.size(); ++i)
        setTabOrder(ordine[i - 1], ordine[i]);

    if (SensoreTocco* tocco = SensoreTocco::Attivo()) {
        if (tocco->Toccato())
            MostraTastierino();
        else
            connect(tocco, &SensoreTocco::PrimoTocco, this, &FormConta::MostraTastierino);
    }
}

QList<QWidget*> FormConta::ControlliRisposta() const { return {Text1, Tastierino1}; }

void FormConta::MostraTastierino()
{
    Tastierino1->show();
    // The pad is the keyboard now: the system's own, which a tap on the box would bring
    // up on a tablet, would cover half the window and offer letters to a child.
    Text1->setAttribute(Qt::WA_InputMethodEnabled, false);
}

void FormConta::TastoCifra(int cifra)
{
    const int tasto = Qt::Key_0 + cifra;
    Text1_KeyDown(tasto);
    Text1->insert(QString::number(cifra));
    Text1_KeyUp(tasto);
}

void FormConta::TastoConferma()
{
    Text1_KeyDown(CasellaRisposta::Invio);
    Text1_KeyUp(CasellaRisposta::Invio);
}

void FormConta::Text1_KeyDown(int keyCode)
{
    if (keyCode != CasellaRisposta::Invio && !Text1->text().isEmpty())
        Text1->setText(QString());
}

void FormConta::Text1_KeyUp(int keyCode)
{
    if (keyCode != CasellaRisposta::Invio || Text1->text().isEmpty())
        return;
    if (ValoreNumerico(Text1->text()) == double(Modulo1::NumeroGiusto))
        Esatto();
    else
        Errato();
}
