#pragma once
// What the tests of the two counting windows share: the scripting of a whole question,
// and a look at what a picture control really paints.
#include "CartellaFigure.h"
#include "Supporto.h"

#include "exercises/FormEs1.h"
#include "exercises/FormEs5.h"
#include "ui/Controlli.h"
#include "ui/ControlloImmagine.h"
#include "ui/Figure.h"
#include "ui/Finestre.h"
#include "ui/Tastierino.h"

#include <QImage>
#include <QtTest>
#include <initializer_list>

// The colour a picture control shows at a point inside it (left of its middle, clear
// of the question mark of the placeholder), as its window shows it: the control over
// the window's background.
inline QColor Dipinto(QWidget* w)
{
    QWidget* finestra = w->window();
    const QPoint punto = w->mapTo(finestra, QPoint(int(w->width() * 0.15), w->height() / 2));
    return finestra->grab(QRect(punto, QSize(1, 1))).toImage().pixelColor(0, 0);
}

// The placeholder's grey, where Dipinto looks.
inline QColor GrigioSegnaposto() { return QColor(110, 110, 110); }

// The draws of one question of FormEs1: colour, picture, count, arrangement, cells.
inline void DomandaEs1(CasualeScriptato& d, int colore, int figura, int quanti, int schiera,
                       std::initializer_list<int> celle)
{
    d.DaUnoA(colore, 18);
    d.DaUnoA(figura, 20);
    d.DaUnoA(quanti, 9);
    d.DaUnoA(schiera, 3);
    for (int c : celle)
        d.Indice(c, 9);
}

// The draws of one question of FormEs5: colour, count.
inline void DomandaEs5(CasualeScriptato& d, int colore, int quanti)
{
    d.DaUnoA(colore, 18);
    d.DaUnoA(quanti, 9);
}

// A question of either counting window whose answer is `quanti`; FormEs1 puts the
// copies of picture 7 into the first cells of the grid.
inline void Domanda(const QString& finestra, CasualeScriptato& d, int quanti, int colore = 1)
{
    if (finestra == QLatin1String("FormEs1")) {
        d.DaUnoA(colore, 18);
        d.DaUnoA(7, 20);
        d.DaUnoA(quanti, 9);
        d.DaUnoA(1, 3);
        for (int c = 0; c < quanti; ++c)
            d.Indice(c, 9);
    } else {
        DomandaEs5(d, colore, quanti);
    }
}

// Opens a counting window by name as the menu does; its first question comes from `d`.
inline FormConta* Apri(const QString& finestra)
{
    if (finestra == QLatin1String("FormEs1"))
        return Finestre::Mostra<FormEs1>();
    return Finestre::Mostra<FormEs5>();
}
