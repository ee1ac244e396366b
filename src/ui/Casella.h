#pragma once
// A box of the game: a square that takes a tile of its own window, dropped on it, or put
// on it by a tap or a key once the tile is picked up, and reports it with its index. What
// it shows is up to its owner.
#include "ui/Quadrato.h"

class QMimeData;
class Tessera;

class Casella : public Quadrato {
    Q_OBJECT
public:
    Casella(QWidget* padre, const QString& nome, const QRect& twips, const QFont& font, int indice);

    int Indice() const { return indice_; }

signals:
    // A tile was dropped or put on this box.
    void Rilasciata(int indice, Tessera* tessera);

protected:
    void Azione() override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dragMoveEvent(QDragMoveEvent* e) override;
    void dropEvent(QDropEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    // The tile a drag brings, if it is one this box takes.
    Tessera* TesseraAccettabile(const QMimeData* dati) const;

    int indice_;
    bool premuta_ = false;
};
