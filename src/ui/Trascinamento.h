#pragma once
// Drag and drop of number tiles: a tile that starts a drag as soon as it is pressed,
// and a box that takes a dropped tile. Both look alike: a white square with a thin
// border and a large centred text.
#include <QLabel>

class QMimeData;

// A label that can be dragged. Pressing it with the left button starts a real drag at
// once (no drag distance), carrying the tile's own MIME data, with a picture of the
// tile under the pointer. A disabled tile cannot be dragged.
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

    // What the last drag started by this tile ended with (Qt::IgnoreAction when it was
    // dropped nowhere or never ran).
    Qt::DropAction EsitoUltimoTrascinamento() const { return esito_; }

protected:
    void mousePressEvent(QMouseEvent* e) override;

private:
    quint64 numero_;
    Qt::DropAction esito_ = Qt::IgnoreAction;
};

// A label that takes a dropped tile of its own window and reports it with its index.
class Casella : public QLabel {
    Q_OBJECT
public:
    Casella(QWidget* padre, const QString& nome, const QRect& twips, const QFont& font, int indice);

    int Indice() const { return indice_; }

signals:
    // A tile was dropped on this box.
    void Rilasciata(int indice, Tessera* tessera);

protected:
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dragMoveEvent(QDragMoveEvent* e) override;
    void dropEvent(QDropEvent* e) override;

private:
    // The tile a drag brings, if it is one this box takes.
    Tessera* TesseraAccettabile(const QMimeData* dati) const;

    int indice_;
};
