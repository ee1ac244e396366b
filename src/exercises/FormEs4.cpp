#include "exercises/FormEs4.h"

#include "app/Casuale.h"
#include "ui/Controlli.h"

namespace {
// The answer grid, filled row by row from the top left.
constexpr std::array<QPoint, 9> Griglia = {
    QPoint(4200, 840),  QPoint(5160, 840),  QPoint(6120, 840),  QPoint(4200, 1800), QPoint(5160, 1800),
    QPoint(6120, 1800), QPoint(4200, 2760), QPoint(5160, 2760), QPoint(6120, 2760)};
} // namespace

FormEs4::FormEs4() : FormEsercizio(DatiCornice::ColonnaAlta("FormEs4"))
{
    QWidget* c = Client();
    const QSize lato(615, 615);
    Image1 = PostiFigure::Crea(c, "Image1", PostiFigure::BloccoSinistro, lato);
    Image2 = PostiFigure::Crea(c, "Image2", PostiFigure::ColonneSinistre, lato);
    Image3 = PostiFigure::Crea(c, "Image3", Griglia, lato);

    auto bottone = [c](const char* nome, int left, const QString& figura, const QColor& sfondo,
                       const QCursor& puntatore) {
        auto* b = new PulsanteGrafico(c, QString::fromLatin1(nome), QRect(left, 4680, 1575, 975), QString(),
                                      Controlli::Icona(figura));
        b->ImpostaColoreSfondo(sfondo);
        b->setCursor(puntatore);
        return b;
    };
    Command1 = bottone("Command1", 720, QStringLiteral("freccia"), QColor(0, 0, 255),
                       Controlli::Cursore(QStringLiteral("freccia"), QPoint(1, 1)));
    Command2 = bottone("Command2", 2760, QStringLiteral("spunta"), QColor(0, 192, 0),
                       Controlli::Cursore(QStringLiteral("spunta"), QPoint(16, 16)));
    Command3 = bottone("Command3", 4800, QStringLiteral("cestino"), QColor(255, 0, 0),
                       Controlli::Cursore(QStringLiteral("cestino_colorato"), QPoint(16, 16)));
    Command1->setAccessibleName(QStringLiteral("aggiungi una figura"));
    Command2->setAccessibleName(QStringLiteral("controlla"));
    Command3->setAccessibleName(QStringLiteral("svuota"));
    connect(Command1, &QAbstractButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QAbstractButton::clicked, this, [this] { Command2_Click(); });
    connect(Command3, &QAbstractButton::clicked, this, [this] { Command3_Click(); });

    // The keyboard goes from "one more" to "check" to "empty"; the window opens on
    // "one more".
    setTabOrder(Command1, Command2);
    setTabOrder(Command2, Command3);
    Command1->setFocus();
}

QList<QWidget*> FormEs4::ControlliRisposta() const { return {Command1, Command2, Command3}; }

void FormEs4::NuovaDomanda()
{
    CaricaColori();
    PostiFigure::SvuotaTutti({&Image1, &Image2, &Image3});

    const int a = Casuale::DaUnoA(20);
    FileFigura1 = PostiFigure::FileFigura(a);
    int b = Casuale::DaUnoA(20);
    while (b == a)
        b = Casuale::DaUnoA(20);
    FileFigura2 = PostiFigure::FileFigura(b);
    NomeFigura2 = PostiFigure::NomeFigura(b);

    Quanti = std::int16_t(Casuale::DaUnoA(9));
    messi_ = 0;

    const int g = Casuale::DaUnoA(2);
    PostiFigure::Riempi(g == 1 ? Image1 : Image2, Quanti, FileFigura1, PostiFigure::NomeFigura(a));
    // The child's picture is read now too, so that the first press shows it at once
    // and a file that cannot be read is reported with the question.
    Image3[0]->Prepara(FileFigura2);
}

void FormEs4::Command1_Click()
{
    if (messi_ >= 9)
        return;
    Image3[std::size_t(messi_)]->ImpostaFigura(FileFigura2, NomeFigura2);
    ++messi_;
}

void FormEs4::Command2_Click()
{
    if (messi_ == Quanti)
        Esatto();
    else
        Errato();
}

void FormEs4::Command3_Click()
{
    messi_ = 0;
    for (ControlloImmagine* posto : Image3)
        posto->Svuota();
}
