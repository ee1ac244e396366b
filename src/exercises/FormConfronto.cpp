#include "exercises/FormConfronto.h"

#include "app/Casuale.h"
#include "ui/Controlli.h"
#include "ui/ControlloImmagine.h"
#include "ui/Twips.h"

#include <QApplication>
#include <QLabel>

using Controlli::Carattere;

namespace {
// A horizontal line five pixels thick from (x1, y) to (x2, y), in twips, drawn in the
// window-text colour.
QWidget* Linea(QWidget* padre, const QString& nome, int x1, int x2, int y)
{
    constexpr int spessore = 5;
    auto* l = new QWidget(padre);
    l->setObjectName(nome);
    const int sinistra = Twips::Px(x1);
    l->setGeometry(sinistra, Twips::Px(y) - spessore / 2, Twips::Px(x2) - sinistra, spessore);
    QPalette p = l->palette();
    p.setColor(QPalette::Window, QApplication::palette().color(QPalette::WindowText));
    l->setPalette(p);
    l->setAutoFillBackground(true);
    l->setAttribute(Qt::WA_TransparentForMouseEvents);
    l->setFocusPolicy(Qt::NoFocus);
    return l;
}
} // namespace

FormConfronto::FormConfronto(const char* nome, const PosizioniPosti& posizioni)
    : FormEsercizio(DatiCornice::ColonnaAlta(nome))
{
    QWidget* c = Client();
    const QSize posto(615, 615);
    Image1 = PostiFigure::Crea(c, "Image1", posizioni[0], posto);
    Image2 = PostiFigure::Crea(c, "Image2", posizioni[1], posto);
    Image3 = PostiFigure::Crea(c, "Image3", posizioni[2], posto);
    Image4 = PostiFigure::Crea(c, "Image4", posizioni[3], posto);

    Line1 = Linea(c, QStringLiteral("Line1"), 120, 8280, 4560);

    // The answer row reads as a sentence on a white panel: first kind, sign, second kind.
    Label3 = Controlli::Etichetta(c, QStringLiteral("Label3"), QRect(1920, 4800, 2655, 855), QString(), QFont());
    Label3->setFrameStyle(QFrame::Box | QFrame::Plain);
    Label3->setLineWidth(1);
    QPalette bianco = Label3->palette();
    bianco.setColor(QPalette::Window, Qt::white);
    Label3->setPalette(bianco);
    Label3->setAutoFillBackground(true);

    Image5 = new ControlloImmagine(c, QStringLiteral("Image5"), QRect(1920, 4800, 855, 855));
    Label4 = Controlli::Etichetta(c, QStringLiteral("Label4"), QRect(2880, 4920, 735, 615), QString(),
                                  Carattere(QStringLiteral("Arial"), 36));
    Label4->setAlignment(Qt::AlignCenter);
    Image6 = new ControlloImmagine(c, QStringLiteral("Image6"), QRect(3720, 4800, 855, 855));

    const QFont segni = Carattere(QStringLiteral("Arial"), 48);
    Command1 = new Pulsante(c, QStringLiteral("Command1"), QRect(1680, 5760, 975, 615), QStringLiteral("<"), segni);
    Command3 = new Pulsante(c, QStringLiteral("Command3"), QRect(2760, 5760, 975, 615), QStringLiteral("="), segni);
    Command2 = new Pulsante(c, QStringLiteral("Command2"), QRect(3840, 5760, 975, 615), QStringLiteral(">"), segni);
    // Read by name: a screen reader may pass over a lone sign.
    Command1->setAccessibleName(QStringLiteral("minore"));
    Command1->setAccessibleDescription(QStringLiteral("le prime figure sono meno delle seconde"));
    Command3->setAccessibleName(QStringLiteral("uguale"));
    Command3->setAccessibleDescription(QStringLiteral("le prime figure sono tante quante le seconde"));
    Command2->setAccessibleName(QStringLiteral("maggiore"));
    Command2->setAccessibleDescription(QStringLiteral("le prime figure sono più delle seconde"));
    connect(Command1, &QAbstractButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QAbstractButton::clicked, this, [this] { Command2_Click(); });
    connect(Command3, &QAbstractButton::clicked, this, [this] { Command3_Click(); });

    setTabOrder(ComandoIconaNo, ComandoIconaSi);
    setTabOrder(ComandoIconaSi, BottoneAvanti);
    setTabOrder(BottoneAvanti, Command1);
    setTabOrder(Command1, Command2);
    setTabOrder(Command2, Command3);
}

QList<QWidget*> FormConfronto::ControlliRisposta() const { return {Command1, Command2, Command3}; }

PostiFigure::Posti& FormConfronto::Schiera(int numero)
{
    switch (numero) {
    case 2:
        return Image2;
    case 3:
        return Image3;
    case 4:
        return Image4;
    default:
        return Image1;
    }
}

void FormConfronto::NuovaDomanda()
{
    CaricaColori();
    PostiFigure::SvuotaTutti({&Image1, &Image2, &Image3, &Image4});
    Label4->setText(QString());

    const int figura1 = Casuale::DaUnoA(20);
    const QString FileFigura1 = PostiFigure::FileFigura(figura1);
    int figura2 = Casuale::DaUnoA(20);
    while (figura2 == figura1)
        figura2 = Casuale::DaUnoA(20);
    const QString FileFigura2 = PostiFigure::FileFigura(figura2);

    Quanti1 = std::int16_t(Casuale::DaUnoA(9));
    Quanti2 = std::int16_t(Casuale::DaUnoA(9));

    const auto [A1, A2] = ScegliSchiere();
    const QString nome1 = PostiFigure::NomeFigura(figura1);
    const QString nome2 = PostiFigure::NomeFigura(figura2);
    PostiFigure::Riempi(Schiera(A1), Quanti1, FileFigura1, nome1);
    PostiFigure::Riempi(Schiera(A2), Quanti2, FileFigura2, nome2);

    Image5->ImpostaFigura(FileFigura1, nome1);
    Image6->ImpostaFigura(FileFigura2, nome2);
}

void FormConfronto::Risposta(bool giusta, const QString& segno)
{
    if (!giusta) {
        Errato();
        return;
    }
    Label4->setText(segno);
    Esatto();
}

void FormConfronto::Command1_Click() { Risposta(Quanti1 < Quanti2, QStringLiteral("<")); }

void FormConfronto::Command2_Click() { Risposta(Quanti1 > Quanti2, QStringLiteral(">")); }

void FormConfronto::Command3_Click() { Risposta(Quanti1 == Quanti2, QStringLiteral("=")); }
