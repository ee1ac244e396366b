#pragma once
// What the tests and the benchmarks see of the program from outside it: the windows it
// shows, the windows alive, and the data a drag of a tile brings to a box.
#include "ui/Finestra.h"

#include <QApplication>
#include <QList>
#include <QMimeData>

#include <memory>

// The windows of the program that are visible.
QList<Finestra*> FinestreVisibili();

// The window of type T alive in the program, if any: once the deletions pending have been
// done, the one the program has loaded.
template <class T>
T* Caricata()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* f = qobject_cast<T*>(w))
            return f;
    return nullptr;
}

// The data a drag of `tessera` brings to `sopra`, a widget of its window that takes drops,
// as that widget gets it: the tile pressed, dragged over the middle of `sopra` and let go
// over itself, where nothing takes it. The window must be on the screen, uncovered there.
// As any drag, it puts down a tile picked up. nullptr when no drag reached `sopra`.
std::unique_ptr<QMimeData> DatiTrascinati(QWidget* tessera, QWidget* sopra);
