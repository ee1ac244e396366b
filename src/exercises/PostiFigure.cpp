#include "exercises/PostiFigure.h"

#include "app/Casuale.h"
#include "app/Piattaforma.h"
#include "ui/Controlli.h"

#include <iterator>

namespace PostiFigure {

Posti Crea(QWidget* padre, const char* nome, const std::array<QPoint, 9>& posizioni, QSize dimensione)
{
    Posti p{};
    for (int i = 0; i < 9; ++i) {
        const QPoint& o = posizioni[std::size_t(i)];
        p[std::size_t(i)] = new ControlloImmagine(padre, Controlli::NomeElemento(nome, i),
                                                  QRect(o.x(), o.y(), dimensione.width(), dimensione.height()));
    }
    return p;
}

void SvuotaTutti(std::initializer_list<Posti*> schiere)
{
    for (std::size_t i = 0; i < 9; ++i) {
        for (Posti* s : schiere)
            (*s)[i]->Svuota();
        for (Posti* s : schiere)
            (*s)[i]->Tag.clear();
    }
}

void Riempi(Posti& posti, int quanti, const QString& file, const QString& nome)
{
    if (quanti > 9)
        quanti = 9; // nine places at most; the loop below would never end otherwise
    int messi = 0;
    while (messi < quanti) {
        ControlloImmagine* posto = posti[std::size_t(Casuale::Indice(9))];
        if (posto->Tag.isEmpty()) {
            posto->Tag = Pieno;
            posto->ImpostaFigura(file, nome);
            ++messi;
        }
    }
}

QString FileFigura(int n) { return Piattaforma::CartellaProgramma() + QStringLiteral("/gif/%1.gif").arg(n); }

QString NomeFigura(int n)
{
    // The shipped pictures, as assets/README.md lists them.
    static const char* const nomi[] = {"mela",     "pera",   "arancia",  "limone",  "melanzana",
                                       "carota",   "fungo",  "pesce",    "coccinella", "farfalla",
                                       "tartaruga", "lumaca", "pulcino", "stella",  "pallone",
                                       "automobile", "tulipano", "casa", "albero",  "ombrello"};
    if (n < 1 || n > int(std::size(nomi)))
        return QStringLiteral("figura");
    return QString::fromLatin1(nomi[n - 1]);
}

} // namespace PostiFigure
