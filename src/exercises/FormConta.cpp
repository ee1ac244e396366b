#include "exercises/FormConta.h"

#include "app/Modulo1.h"
#include "ui/CasellaRisposta.h"
#include "ui/Controlli.h"

#include <QLabel>

FormConta::FormConta(const DatiCornice& dati, const QRect& text1) : FormEsercizio(dati)
{
    Text1 = new CasellaRisposta(Client(), QStringLiteral("Text1"), text1,
                                Controlli::Carattere(QStringLiteral("Arial"), 36));
    Text1->setAccessibleName(QStringLiteral("risposta"));
    Text1->setAccessibleDescription(QStringLiteral("scrivi quanti sono e premi Invio"));
    connect(Text1, &CasellaRisposta::TastoGiu, this, [this](int codice) { Text1_KeyDown(codice); });
    connect(Text1, &CasellaRisposta::TastoSu, this, [this](int codice) { Text1_KeyUp(codice); });

    // Of these only the buttons and the answer box take the focus.
    const QList<QWidget*> ordine = {ComandoIconaNo,  ComandoIconaSi, EtichettaErrati, EtichettaEsatti,
                                    Label2,          Label1,         BottoneAvanti,   Text1};
    for (qsizetype i = 1; i < ordine.size(); ++i)
        setTabOrder(ordine[i - 1], ordine[i]);
}

QList<QWidget*> FormConta::ControlliRisposta() const { return {Text1}; }

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
