#pragma once
// A tile of the game: a square that a drag, a tap or a key takes to a box (Casella).
// - A press with the left button that moves past the drag distance starts a drag inside
//   the window (TrascinamentoInterno) of the tile's own data; the box it is dropped on
//   takes it. A disabled tile is not dragged.
// - A press and release within the drag distance is a tap: it picks the tile up
//   (Sollevamento), or puts it down if it was picked up already; a double click picks it
//   up as one click does. Space or Enter does the same. A tap or a key on a box then puts
//   it there. A picked-up tile is drawn with a thick orange frame on a pale yellow ground;
//   any press elsewhere than on a square of its window, Escape, a drag, or the tile being
//   hidden or disabled puts it down.
#include "ui/Quadrato.h"

#include <memory>

class QMimeData;

class Tessera : public Quadrato {
    Q_OBJECT
public:
    Tessera(QWidget* padre, const QString& nome, const QRect& twips, const QFont& font);
    ~Tessera() override;

    // The private type of the data that a dragged tile carries: which tile of which
    // process it is.
    static const QString TipoMime;

    // The tile that some drag data names, if that tile is alive in this process;
    // nullptr for anything else (other data, another process, a tile since deleted).
    static Tessera* DaDati(const QMimeData* dati);

    // The tile picked up in the window of `w`, if any and still in play.
    static Tessera* SollevataNella(const QWidget* w);

    // Puts this tile down if it is picked up; nothing else changes.
    void Posa();

signals:
    // The tile was picked up (true) or put down (false).
    void Sollevata(bool sollevata);

protected:
    void Azione() override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

private:
    bool Alzata() const;
    void Solleva();
    std::unique_ptr<QMimeData> DatiTrascinamento() const;

    quint64 numero_;
    bool premuta_ = false; // a left press that may still become a tap or a drag
    bool doppio_ = false;  // that press was the second of a double click
    QPoint puntoPressione_;
};
