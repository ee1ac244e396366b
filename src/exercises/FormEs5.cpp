#include "exercises/FormEs5.h"

#include "app/Casuale.h"
#include "app/Modulo1.h"
#include "app/Piattaforma.h"
#include "ui/CasellaRisposta.h"
#include "ui/ControlloImmagine.h"

FormEs5::FormEs5() : FormConta(DatiCornice::ColonnaBassa("FormEs5"), QRect(3240, 4920, 1095, 915),
                                 QRect(90, 600, 1500, 4740), 2)
{
    Image1 = new ControlloImmagine(Client(), QStringLiteral("Image1"), QRect(1680, 600, 4335, 3735));
}

QString FormEs5::FileGruppo(int n)
{
    return Piattaforma::CartellaProgramma() + QStringLiteral("/gif/m%1.gif").arg(n);
}

namespace {
// What the group picture of n things shows, without how many: the count is the answer.
QString NomeGruppo(int n)
{
    static const char* const cose[] = {"mele",        "pulcini", "stelle", "fiori", "palloni",
                                       "coccinelle", "fragole", "funghi", "arance"};
    const char* cosa = n >= 1 && n <= 9 ? cose[n - 1] : "figure";
    return QStringLiteral("%1 da contare").arg(QLatin1String(cosa));
}
} // namespace

void FormEs5::NuovaDomanda()
{
    CaricaColori();
    Text1->setText(QString());
    // The count is the question's only draw, and it chooses the picture.
    Modulo1::NumeroGiusto = static_cast<std::int16_t>(Casuale::DaUnoA(9));
    FileFigura = FileGruppo(Modulo1::NumeroGiusto);
    Image1->ImpostaFigura(FileFigura, NomeGruppo(Modulo1::NumeroGiusto));
    Text1->setFocus();
}
