#pragma once
// Where the controls of the windows stand, as the tests expect them: twips turned into
// pixels, and the places of the arrays and the frame of the exercise windows from the table
// they share with the end-to-end driver (disposizione.txt).
#include <QRect>
#include <QString>

// A rectangle in twips as the windows place it, in pixels (15 twips a pixel).
inline QRect Px(int l, int t, int w, int h) { return QRect(l / 15, t / 15, w / 15, h / 15); }

// Place `indice` (0 to 8) of the array `schiera` of the window named `finestra`, in pixels
// of its client area; with a number, the array of pictures Image<number>.
QRect Posto(const QString& finestra, const QString& schiera, int indice);
inline QRect Posto(const QString& finestra, int schiera, int indice)
{
    return Posto(finestra, QStringLiteral("Image%1").arg(schiera), indice);
}

// A control of the frame around a question ("facce", "esatti", "errati", "avanti") where
// the frame stands: "alta" or "bassa", the column at the right, or "riga", the row at the top.
QRect Cornice(const QString& dove, const QString& controllo);
