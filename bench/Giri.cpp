#include "Giri.h"

#include "app/Modulo1.h"
#include "exercises/FormConfronto.h"
#include "exercises/FormConta.h"
#include "exercises/FormEs4.h"
#include "exercises/FormOrd.h"
#include "ui/Casella.h"
#include "ui/CasellaRisposta.h"
#include "ui/Controlli.h"
#include "ui/Tessera.h"

#include <QApplication>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QToolButton>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace Giri {
namespace {

Serie* Di(Tempi* t, Serie Tempi::*s) { return t ? &(t->*s) : nullptr; }

void Tasto(QWidget* w, QEvent::Type tipo, int tasto, const QString& testo)
{
    QKeyEvent e(tipo, tasto, Qt::NoModifier, testo);
    QCoreApplication::sendEvent(w, &e);
}

// A digit typed and released, then Enter pressed; the release of Enter is the answer.
void Scrivi(CasellaRisposta* casella, int cifra)
{
    const QString c = QString::number(cifra);
    Tasto(casella, QEvent::KeyPress, Qt::Key_0 + cifra, c);
    Tasto(casella, QEvent::KeyRelease, Qt::Key_0 + cifra, c);
    Tasto(casella, QEvent::KeyPress, Qt::Key_Return, QStringLiteral("\r"));
}

void RispondiConta(FormConta& w, Tempi* t)
{
    const int giusto = Modulo1::NumeroGiusto;
    Scrivi(w.Text1, giusto % 9 + 1);
    Cronometra(Di(t, &Tempi::sbagliata),
               [&] { Tasto(w.Text1, QEvent::KeyRelease, Qt::Key_Return, QStringLiteral("\r")); });
    Scrivi(w.Text1, giusto);
    Cronometra(Di(t, &Tempi::giusta), [&] { Tasto(w.Text1, QEvent::KeyRelease, Qt::Key_Return, QStringLiteral("\r")); });
}

void RispondiConfronto(FormConfronto& w, Tempi* t)
{
    // "<" is Command1, ">" is Command2, "=" is Command3.
    QAbstractButton* giusto = w.Quanti1 < w.Quanti2 ? static_cast<QAbstractButton*>(w.Command1)
                              : w.Quanti1 > w.Quanti2 ? static_cast<QAbstractButton*>(w.Command2)
                                                      : static_cast<QAbstractButton*>(w.Command3);
    QAbstractButton* sbagliato = giusto == w.Command3 ? static_cast<QAbstractButton*>(w.Command1)
                                                      : static_cast<QAbstractButton*>(w.Command3);
    Cronometra(Di(t, &Tempi::sbagliata), [&] { sbagliato->click(); });
    Cronometra(Di(t, &Tempi::giusta), [&] { giusto->click(); });
}

void RispondiEs4(FormEs4& w, Tempi* t)
{
    // The grid is empty (Messi = 0) and the given set has at least one picture.
    Cronometra(Di(t, &Tempi::sbagliata), [&] { w.Command2->click(); });
    for (int i = 0; i < w.Quanti; ++i)
        Cronometra(Di(t, &Tempi::extra), [&] { w.Command1->click(); });
    Cronometra(Di(t, &Tempi::giusta), [&] { w.Command2->click(); });
}

// The data a real drag of the tile carries, brought over the box: the drag enters
// and moves over the box before the release. Only the drop (the release) is timed.
class Trascinata {
public:
    Trascinata(Tessera* tessera, Casella* casella)
        : dati_(DatiTrascinati(tessera, casella)), casella_(casella),
          centro_(casella->width() / 2.0, casella->height() / 2.0)
    {
        if (!dati_) {
            std::fprintf(stderr, "bench: a drag of %s did not reach %s\n", qPrintable(tessera->objectName()),
                         qPrintable(casella->objectName()));
            std::exit(1);
        }
        Dipingi(); // the drag that brought the data, gone from the screen
        QDragEnterEvent entra(centro_.toPoint(), Qt::MoveAction, dati_.get(), Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(casella_, &entra);
        QDragMoveEvent muove(centro_.toPoint(), Qt::MoveAction, dati_.get(), Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(casella_, &muove);
    }
    void Rilascia()
    {
        QDropEvent e(centro_, Qt::MoveAction, dati_.get(), Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(casella_, &e);
    }

private:
    std::unique_ptr<QMimeData> dati_;
    Casella* casella_;
    QPointF centro_;
};

void RispondiOrd(FormOrd& w, Tempi* t)
{
    // One tile on a box that is not its own, then every tile on its own box.
    {
        Trascinata d(w.Label3[0], w.Label4[1]);
        Cronometra(Di(t, &Tempi::sbagliata), [&] { d.Rilascia(); });
    }
    for (std::size_t i = 0; i < 9; ++i) {
        Trascinata d(w.Label3[i], w.Label4[i]);
        Cronometra(Di(t, &Tempi::giusta), [&] { d.Rilascia(); });
    }
}

} // namespace

void Dipingi()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

void Rispondi(FormEsercizio& w, Tempi* t)
{
    if (auto* c = qobject_cast<FormConta*>(&w))
        RispondiConta(*c, t);
    else if (auto* c = qobject_cast<FormConfronto*>(&w))
        RispondiConfronto(*c, t);
    else if (auto* c = qobject_cast<FormEs4*>(&w))
        RispondiEs4(*c, t);
    else if (auto* c = qobject_cast<FormOrd*>(&w))
        RispondiOrd(*c, t);
    if (!w.BottoneAvanti->isEnabled()) {
        std::fprintf(stderr, "bench: %s: the right answer did not enable \"avanti\"\n", qPrintable(w.objectName()));
        std::exit(1);
    }
}

void Avanti(FormEsercizio& w, Tempi* t)
{
    Cronometra(Di(t, &Tempi::domanda), [&] { w.BottoneAvanti->click(); });
}

} // namespace Giri
