#include "ui/Trascinamento.h"

#include "ui/Twips.h"

#include <QCoreApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QHash>
#include <QMimeData>
#include <QMouseEvent>
#include <QPointer>

namespace {

// The tiles alive in this process, by their number. Drag data names a tile by this
// number and by the process, so a box never takes a tile it cannot find.
QHash<quint64, Tessera*>& Tessere()
{
    static QHash<quint64, Tessera*> t;
    return t;
}

quint64 NuovoNumero()
{
    static quint64 ultimo = 0;
    return ++ultimo;
}

QByteArray Firma(quint64 numero)
{
    return QByteArray::number(QCoreApplication::applicationPid()) + ' ' + QByteArray::number(numero);
}

// White square, thin black border, large text in the middle.
void AspettoQuadrato(QLabel* l, const QString& nome, const QRect& twips, const QFont& font)
{
    l->setObjectName(nome);
    l->setGeometry(Twips::Rett(twips.x(), twips.y(), twips.width(), twips.height()));
    l->setFont(font);
    l->setAlignment(Qt::AlignCenter);
    l->setTextFormat(Qt::PlainText);
    l->setFocusPolicy(Qt::NoFocus);
    l->setFrameShape(QFrame::Box);
    l->setFrameShadow(QFrame::Plain);
    l->setLineWidth(1);
    l->setAutoFillBackground(true);
    QPalette p = l->palette();
    p.setColor(QPalette::Window, Qt::white);
    l->setPalette(p);
}

} // namespace

const QString Tessera::TipoMime = QStringLiteral("application/x-tivoro-tessera");

Tessera::Tessera(QWidget* padre, const QString& nome, const QRect& twips, const QFont& font)
    : QLabel(padre), numero_(NuovoNumero())
{
    AspettoQuadrato(this, nome, twips, font);
    Tessere().insert(numero_, this);
}

Tessera::~Tessera() { Tessere().remove(numero_); }

QMimeData* Tessera::DatiTrascinamento() const
{
    auto* dati = new QMimeData;
    dati->setData(TipoMime, Firma(numero_));
    return dati;
}

Tessera* Tessera::DaDati(const QMimeData* dati)
{
    if (!dati || !dati->hasFormat(TipoMime))
        return nullptr;
    const QList<QByteArray> parti = dati->data(TipoMime).split(' ');
    if (parti.size() != 2)
        return nullptr;
    bool pidOk = false;
    bool numeroOk = false;
    const qint64 pid = parti[0].toLongLong(&pidOk);
    const quint64 numero = parti[1].toULongLong(&numeroOk);
    if (!pidOk || !numeroOk || pid != QCoreApplication::applicationPid())
        return nullptr;
    return Tessere().value(numero, nullptr);
}

void Tessera::mousePressEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton || !isEnabled()) {
        QLabel::mousePressEvent(e);
        return;
    }
    e->accept();
    // Automatic drag mode: the drag starts with the press itself.
    auto* drag = new QDrag(this);
    drag->setMimeData(DatiTrascinamento());
    drag->setPixmap(grab());
    drag->setHotSpot(e->position().toPoint());
    QPointer<Tessera> io(this);
    // exec() runs its own event loop until the tile is released; the box it lands on
    // handles the drop meanwhile.
    const Qt::DropAction esito = drag->exec(Qt::MoveAction, Qt::MoveAction);
    if (!io)
        return; // the window went away during the drag
    esito_ = esito;
    drag->deleteLater();
}

Casella::Casella(QWidget* padre, const QString& nome, const QRect& twips, const QFont& font, int indice)
    : QLabel(padre), indice_(indice)
{
    AspettoQuadrato(this, nome, twips, font);
    setAcceptDrops(true);
}

Tessera* Casella::TesseraAccettabile(const QMimeData* dati) const
{
    Tessera* t = Tessera::DaDati(dati);
    if (!t || !t->isEnabled() || t->window() != window())
        return nullptr;
    return t;
}

void Casella::dragEnterEvent(QDragEnterEvent* e)
{
    if (TesseraAccettabile(e->mimeData())) {
        e->setDropAction(Qt::MoveAction);
        e->accept();
    } else {
        e->ignore();
    }
}

void Casella::dragMoveEvent(QDragMoveEvent* e)
{
    if (TesseraAccettabile(e->mimeData())) {
        e->setDropAction(Qt::MoveAction);
        e->accept(rect());
    } else {
        e->ignore();
    }
}

void Casella::dropEvent(QDropEvent* e)
{
    Tessera* t = TesseraAccettabile(e->mimeData());
    if (!t) {
        e->ignore();
        return;
    }
    e->setDropAction(Qt::MoveAction);
    e->accept();
    emit Rilasciata(indice_, t);
}
