#include "exercises/FormEs5.h"

#include "app/Casuale.h"
#include "app/Modulo1.h"
#include "app/Piattaforma.h"
#include "ui/CasellaRisposta.h"
#include "ui/ControlloImmagine.h"

FormEs5::FormEs5() : FormConta(DatiCornice::ColonnaBassa("FormEs5"), QRect(3240, 4920, 1095, 915))
{
    Image1 = new ControlloImmagine(Client(), QStringLiteral("Image1"), QRect(1680, 600, 4335, 3735));
}

QString FormEs5::FileGruppo(int n)
{
    return Piattaforma::CartellaProgramma() + QStringLiteral("/gif/m%1.gif").arg(n);
}

void FormEs5::NuovaDomanda()
{
    CaricaColori();
    Text1->setText(QString());
    // The count is the question's only draw, and it chooses the picture.
    Modulo1::NumeroGiusto = static_cast<std::int16_t>(Casuale::DaUnoA(9));
    FileFigura = FileGruppo(Modulo1::NumeroGiusto);
    Image1->ImpostaFigura(FileFigura);
    Text1->setFocus();
}
