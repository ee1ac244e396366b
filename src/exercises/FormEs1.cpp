#include "exercises/FormEs1.h"

#include "app/Casuale.h"
#include "app/Modulo1.h"
#include "ui/CasellaRisposta.h"

namespace {
constexpr QSize Cella(1095, 1095);

constexpr std::array<QPoint, 9> Griglia = {QPoint(840, 240),  QPoint(2280, 240),  QPoint(3720, 240),
                                           QPoint(840, 1680), QPoint(2280, 1680), QPoint(3720, 1680),
                                           QPoint(840, 3120), QPoint(2280, 3120), QPoint(3720, 3120)};
constexpr std::array<QPoint, 9> Sparsi = {QPoint(240, 960),   QPoint(2160, 120),  QPoint(4080, 1080),
                                          QPoint(120, 2520),  QPoint(2040, 1440), QPoint(3600, 2280),
                                          QPoint(1800, 2760), QPoint(600, 3840),  QPoint(3360, 3720)};
constexpr std::array<QPoint, 9> DueRighe = {QPoint(240, 960),  QPoint(1440, 960), QPoint(2760, 960),
                                            QPoint(4080, 960), QPoint(5400, 960), QPoint(720, 2400),
                                            QPoint(1920, 2400), QPoint(3240, 2400), QPoint(4560, 2400)};
} // namespace

FormEs1::FormEs1() : FormConta(DatiCornice::ColonnaBassa("FormEs1"), QRect(7200, 3720, 1095, 915),
                                 QRect(240, 5040, 5280, 1680), 6)
{
    Image1 = PostiFigure::Crea(Client(), "Image1", Griglia, Cella);
    Image2 = PostiFigure::Crea(Client(), "Image2", Sparsi, Cella);
    Image3 = PostiFigure::Crea(Client(), "Image3", DueRighe, Cella);
}

void FormEs1::NuovaDomanda()
{
    CaricaColori();
    Text1->setText(QString());
    PostiFigure::SvuotaTutti({&Image1, &Image2, &Image3});

    // Drawn in this order: the picture, the count, the arrangement, then the cells.
    const int figura = Casuale::DaUnoA(20);
    FileFigura = PostiFigure::FileFigura(figura);
    Modulo1::NumeroGiusto = static_cast<std::int16_t>(Casuale::DaUnoA(9));
    PostiFigure::Posti* schiere[] = {&Image1, &Image2, &Image3};
    PostiFigure::Posti& scelta = *schiere[Casuale::DaUnoA(3) - 1];
    PostiFigure::Riempi(scelta, Modulo1::NumeroGiusto, FileFigura, PostiFigure::NomeFigura(figura));

    Text1->setFocus();
}
