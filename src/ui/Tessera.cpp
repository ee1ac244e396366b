#include "ui/Tessera.h"

#include "ui/Sollevamento.h"
#include "ui/TrascinamentoInterno.h"

#include <QApplication>
#include <QHash>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>

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

} // namespace

const QString Tessera::TipoMime = QStringLiteral("application/x-tivoro-tessera");

Tessera::Tessera(QWidget* padre, const QString& nome, const QRect& twips, const QFont& font)
    : Quadrato(padre, nome, twips, font), numero_(NuovoNumero())
{
    Tessere().insert(numero_, this);
}

Tessera::~Tessera() { Tessere().remove(numero_); }

std::unique_ptr<QMimeData> Tessera::DatiTrascinamento() const
{
    auto dati = std::make_unique<QMimeData>();
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

Tessera* Tessera::SollevataNella(const QWidget* w)
{
    auto* t = qobject_cast<Tessera*>(Sollevamento::Sollevato());
    return t && w && t->window() == w->window() && t->isEnabled() ? t : nullptr;
}

bool Tessera::Alzata() const { return Sollevamento::Sollevato() == this; }

void Tessera::Solleva()
{
    if (!isEnabled() || Alzata())
        return;
    // A press on a square of the window leaves it up: the square itself decides.
    Sollevamento::Solleva(this, Quadrato::Di, [this] {
        emit Sollevata(false);
        update();
    });
    emit Sollevata(true);
    update();
}

void Tessera::Posa()
{
    if (Alzata())
        Sollevamento::Posa();
}

void Tessera::Azione()
{
    if (Alzata())
        Posa();
    else
        Solleva();
}

void Tessera::mousePressEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton || !isEnabled()) {
        Quadrato::mousePressEvent(e);
        return;
    }
    e->accept();
    premuta_ = true;
    doppio_ = false;
    puntoPressione_ = e->position().toPoint();
}

// The second press of a double click can still begin a drag, but as a tap it does
// nothing: a double click picks a tile up as one click does.
void Tessera::mouseDoubleClickEvent(QMouseEvent* e)
{
    mousePressEvent(e);
    doppio_ = premuta_;
}

void Tessera::mouseMoveEvent(QMouseEvent* e)
{
    if (!premuta_ || !(e->buttons() & Qt::LeftButton)) {
        Quadrato::mouseMoveEvent(e);
        return;
    }
    e->accept();
    if ((e->position().toPoint() - puntoPressione_).manhattanLength() >= QApplication::startDragDistance()) {
        premuta_ = false;
        // A drag puts down whatever was picked up; the picture is of the tile as it lies.
        Sollevamento::Posa();
        TrascinamentoInterno::Avvia(this, puntoPressione_, DatiTrascinamento(), e->globalPosition());
    }
}

void Tessera::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton || !premuta_) {
        Quadrato::mouseReleaseEvent(e);
        return;
    }
    e->accept();
    premuta_ = false;
    const bool tocco = (e->position().toPoint() - puntoPressione_).manhattanLength() < QApplication::startDragDistance();
    if (tocco && !doppio_)
        Azione();
}

void Tessera::paintEvent(QPaintEvent* e)
{
    if (!Alzata()) {
        Quadrato::paintEvent(e);
        return;
    }
    // Picked up: a pale yellow ground under the border and the number, and a thick
    // orange frame inside the border, lit from the top left, so that the tile looks
    // lifted. All of it inside the tile, so it shows the same on every window colour.
    {
        QPainter p(this);
        p.fillRect(rect(), QColor(255, 243, 176));
    }
    Quadrato::paintEvent(e);
    QPainter p(this);
    const QRect r = rect();
    const int b = 6;
    const QColor arancio(255, 122, 0);
    p.fillRect(QRect(r.left(), r.top(), r.width(), b), arancio);
    p.fillRect(QRect(r.left(), r.bottom() - b + 1, r.width(), b), arancio);
    p.fillRect(QRect(r.left(), r.top(), b, r.height()), arancio);
    p.fillRect(QRect(r.right() - b + 1, r.top(), b, r.height()), arancio);
    const QColor luce(255, 200, 140);
    const QColor ombra(200, 90, 0);
    p.fillRect(QRect(r.left(), r.top(), r.width(), 2), luce);
    p.fillRect(QRect(r.left(), r.top(), 2, r.height()), luce);
    p.fillRect(QRect(r.left(), r.bottom() - 1, r.width(), 2), ombra);
    p.fillRect(QRect(r.right() - 1, r.top(), 2, r.height()), ombra);
}
