#pragma once
// Where the controls of the windows stand, as the tests expect them: twips turned into
// pixels, and the picture places of the exercise windows from the table they share with
// the end-to-end driver (posti.txt).
#include <QRect>
#include <QString>

// A rectangle in twips as the windows place it, in pixels (15 twips a pixel).
inline QRect Px(int l, int t, int w, int h) { return QRect(l / 15, t / 15, w / 15, h / 15); }

// Place `indice` (0 to 8) of the array Image<schiera> of the window named `finestra`, in
// pixels of its client area.
QRect Posto(const QString& finestra, int schiera, int indice);
