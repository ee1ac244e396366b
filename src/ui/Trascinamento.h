#pragma once
// Number tiles and the boxes they go into. A tile reaches a box in one of three ways,
// all ending in the box's Rilasciata signal: a drag (press, move past the drag distance,
// release over the box); a tap on the tile, which picks it up, then a tap on the box; or
// the keys (Space or Enter on a tile picks it up, on a box puts it there; a key held down
// acts once). Both look alike: a white square with a thin border and a large centred text.
#include <QLabel>

class QMimeData;

// A label that can be dragged or picked up. A press with the left button that moves past
// the drag distance starts a drag inside the tile's window: a picture of the tile, held
// where it was pressed, follows the pointer above the controls, and the box under the
// pointer, unless another window covers it there, gets the drag and drop events of the
// tile's own MIME data, as a drag between programs would bring them. Releasing the button drops the tile there; Escape, the tile
// being hidden or disabled, a modal window opening, or the button found up without a
// release cancel the drag. The picture goes away however the drag ends.
// No event loop of its own runs meanwhile, so it works wherever the program's one loop
// cannot be nested. A press and release that stay within the drag distance is a tap: it
// picks the tile up, or puts it down if it was picked up already.
// At most one tile of the program is picked up at a time; it is drawn with a thick
// orange frame on a pale yellow ground. Any press elsewhere than on a box or on another
// tile in play of its window, Escape, a drag, or the tile being hidden or disabled puts
// it down. A disabled tile cannot be dragged or picked up.
class Tessera : public QLabel {
    Q_OBJECT
public:
    Tessera(QWidget* padre, const QString& nome, const QRect& twips, const QFont& font);
    ~Tessera() override;

    // The private type of the data that a dragged tile carries.
    static const QString TipoMime;

    // The data a drag of this tile carries: which tile of this process it is.
    QMimeData* DatiTrascinamento() const;

    // The tile that some drag data names, if that tile is alive in this process;
    // nullptr for anything else (other data, another process, a tile since deleted).
    static Tessera* DaDati(const QMimeData* dati);

    // The tile picked up in the window of `w`, if any and still in play.
    static Tessera* Sollevata(const QWidget* w);

    // Puts this tile down if it is picked up; nothing else changes.
    void Posa();

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void hideEvent(QHideEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    void Solleva();
    void Trascina(QPointF globale);

    quint64 numero_;
    bool premuta_ = false; // a left press that may still become a tap or a drag
    bool doppio_ = false;  // that press was the second of a double click
    QPoint puntoPressione_;
};

// A label that takes a tile of its own window, dropped on it or put on it by a tap or a
// key, and reports it with its index. Its accessible name tells its place and what it
// shows ("casella 3, vuota", "casella 3: 3").
class Casella : public QLabel {
    Q_OBJECT
public:
    Casella(QWidget* padre, const QString& nome, const QRect& twips, const QFont& font, int indice);

    int Indice() const { return indice_; }

    // Shows a text (empty for an empty box), keeping the accessible name in step.
    void Mostra(const QString& testo);

signals:
    // A tile was dropped or put on this box.
    void Rilasciata(int indice, Tessera* tessera);

protected:
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dragMoveEvent(QDragMoveEvent* e) override;
    void dropEvent(QDropEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    // The tile a drag brings, if it is one this box takes.
    Tessera* TesseraAccettabile(const QMimeData* dati) const;
    // Puts the picked-up tile of this window, if any, on this box.
    void Metti();

    int indice_;
    bool premuta_ = false;
};
