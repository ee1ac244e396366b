#include "ui/Trascinamento.h"

#include "ui/TastoTenuto.h"
#include "ui/Twips.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QHash>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

#include <cstdlib>
#include <memory>

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
    l->setFocusPolicy(Qt::StrongFocus);
    l->setFrameShape(QFrame::Box);
    l->setFrameShadow(QFrame::Plain);
    l->setLineWidth(1);
    l->setAutoFillBackground(true);
    QPalette p = l->palette();
    p.setColor(QPalette::Window, Qt::white);
    l->setPalette(p);
    TastoTenuto::UnaVolta(l); // a key held down acts once
}

// The tile picked up by a tap or a key, waiting for a box.
QPointer<Tessera> g_sollevata;

// Space or Enter, as a key that acts: not with Ctrl or Alt.
bool TastoAzione(const QKeyEvent* e)
{
    const int k = e->key();
    return (k == Qt::Key_Space || k == Qt::Key_Return || k == Qt::Key_Enter) &&
           !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
}

// The arrow keys move the focus among the tiles and boxes of one parent by where they
// stand: left and right within a row, up and down to the nearest one of the next row
// (the nearer column first, the left one of two as near). True when the key was one.
bool Sposta(QWidget* da, const QKeyEvent* e)
{
    const int k = e->key();
    if (k != Qt::Key_Left && k != Qt::Key_Right && k != Qt::Key_Up && k != Qt::Key_Down)
        return false;
    if (e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    QWidget* migliore = nullptr;
    auto distanza = [da, k](const QWidget* w) {
        const int dx = w->x() - da->x();
        const int dy = w->y() - da->y();
        switch (k) {
        case Qt::Key_Left: return dy == 0 && dx < 0 ? QPoint(-dx, 0) : QPoint(-1, -1);
        case Qt::Key_Right: return dy == 0 && dx > 0 ? QPoint(dx, 0) : QPoint(-1, -1);
        case Qt::Key_Up: return dy < 0 ? QPoint(-dy, std::abs(dx)) : QPoint(-1, -1);
        default: return dy > 0 ? QPoint(dy, std::abs(dx)) : QPoint(-1, -1);
        }
    };
    QPoint dMigliore;
    for (QObject* o : da->parentWidget()->children()) {
        auto* w = qobject_cast<QWidget*>(o);
        if (!w || w == da || !(qobject_cast<Tessera*>(w) || qobject_cast<Casella*>(w)) || !w->isEnabled() ||
            w->isHidden() || !(w->focusPolicy() & Qt::TabFocus))
            continue;
        const QPoint d = distanza(w);
        if (d.x() < 0)
            continue;
        // Row first (for left and right the row is the same, the distance alone counts),
        // then column, then the left one.
        if (!migliore || d.x() < dMigliore.x() || (d.x() == dMigliore.x() && d.y() < dMigliore.y()) ||
            (d == dMigliore && w->x() < migliore->x())) {
            migliore = w;
            dMigliore = d;
        }
    }
    if (migliore)
        migliore->setFocus(Qt::OtherFocusReason);
    return true;
}

// While a tile is picked up: a press anywhere but on a box or on a tile in play of its
// window, or Escape in its window, puts it down. Installed on the application only
// while a tile is picked up.
class Guardia : public QObject {
public:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        Tessera* t = g_sollevata;
        auto* w = qobject_cast<QWidget*>(o);
        if (!t || !w) // the window's own copy of an event, before a widget has it
            return false;
        switch (e->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            if (static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton && w->window() == t->window() &&
                w->isEnabled() && (qobject_cast<Casella*>(w) || qobject_cast<Tessera*>(w)))
                return false;
            t->Posa();
            return false;
        case QEvent::KeyPress:
            if (static_cast<QKeyEvent*>(e)->key() == Qt::Key_Escape && w->window() == t->window()) {
                t->Posa();
                return true;
            }
            return false;
        default:
            return false;
        }
    }
};

Guardia* LaGuardia()
{
    static Guardia g;
    return &g;
}

QObject* LaGuardiaTrascinamento();

// A drag under way: one at a time, as there is one pointer. The tile keeps the mouse
// (Qt gives it every move and the release while its button is held), so the drag needs
// no grab and no event loop of its own; the guard below takes the mouse and key events
// meanwhile, wherever they are sent.
struct Trascinamento {
    QPointer<Tessera> tessera;
    QPointer<QLabel> figura; // the tile's picture, above all the controls of its window
    QPoint presa;            // the point of the picture that stays under the pointer
    std::unique_ptr<QMimeData> dati;
    QPointer<QWidget> sotto; // the widget that takes drops under the pointer, if any
    bool entrato = false;    // it took the drag as it entered: it is owed a leave
    bool accolto = false;    // it takes a drop where the pointer is
};

Trascinamento* g_trascinamento = nullptr;

// The widget that takes drops at a point of the screen in a window: the control there, or
// the nearest of its parents that accepts drops; none outside the window, nor where another
// window covers it (another program's, or another of this program's): the platform tells
// which window is on top at the point (on X11 by asking the X server).
QWidget* Ricevitore(QWidget* finestra, QPoint globale)
{
    const QPoint p = finestra->mapFromGlobal(globale);
    if (!finestra->isVisible() || !finestra->rect().contains(p) ||
        QGuiApplication::topLevelAt(globale) != finestra->windowHandle())
        return nullptr;
    for (QWidget* w = finestra->childAt(p); w; w = w->isWindow() ? nullptr : w->parentWidget())
        if (w->acceptDrops())
            return w->isEnabled() ? w : nullptr;
    return nullptr;
}

// Ends the drag, taking the picture, the cursor and the guard away first, so that
// whatever a drop or a leave sets off finds no drag running.
std::unique_ptr<Trascinamento> Chiudi()
{
    std::unique_ptr<Trascinamento> d(g_trascinamento);
    g_trascinamento = nullptr;
    // Not deleted here: a drag also ends in the tile's hide event, while Qt is going
    // through a copy of the window's children to hide them, the picture among them. Taken
    // out of the window at once, deleted once the current event is over.
    if (QWidget* figura = d->figura) {
        figura->hide();
        figura->setParent(nullptr);
        figura->deleteLater();
        d->figura = nullptr;
    }
    if (qApp) {
        QGuiApplication::restoreOverrideCursor();
        qApp->removeEventFilter(LaGuardiaTrascinamento());
    }
    return d;
}

// Ends the drag without a drop. `avvisa`: the widget under the pointer is told the drag
// left it (not while the window is being taken apart).
void Annulla(bool avvisa)
{
    const std::unique_ptr<Trascinamento> d = Chiudi();
    if (avvisa && d->sotto && d->entrato) {
        QDragLeaveEvent e;
        QCoreApplication::sendEvent(d->sotto, &e);
    }
}

// The pointer moved to `globale` with the button held: the picture follows it, and the
// widgets it leaves and enters are told as in a drag between programs.
void Segui(QPointF globale)
{
    Trascinamento& d = *g_trascinamento;
    QWidget* finestra = d.tessera->window();
    const QPoint g = globale.toPoint();
    if (d.figura)
        d.figura->move(finestra->mapFromGlobal(g) - d.presa);
    QWidget* w = Ricevitore(finestra, g);
    if (w != d.sotto) {
        if (d.sotto && d.entrato) {
            QDragLeaveEvent e;
            QCoreApplication::sendEvent(d.sotto, &e);
        }
        d.sotto = w;
        d.entrato = false;
        d.accolto = false;
        if (w) {
            QDragEnterEvent e(w->mapFromGlobal(g), Qt::MoveAction, d.dati.get(), Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(w, &e);
            d.entrato = e.isAccepted();
        }
    }
    if (d.sotto && d.entrato) {
        QDragMoveEvent e(d.sotto->mapFromGlobal(g), Qt::MoveAction, d.dati.get(), Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(d.sotto, &e);
        d.accolto = e.isAccepted();
    }
    QGuiApplication::changeOverrideCursor(d.accolto ? Qt::DragMoveCursor : Qt::ForbiddenCursor);
}

// The button came up at `globale`: the widget there gets the drop if it takes it.
void Lascia(QPointF globale)
{
    Segui(globale);
    const std::unique_ptr<Trascinamento> d = Chiudi();
    if (!d->sotto || !d->entrato)
        return;
    if (!d->accolto) {
        QDragLeaveEvent e;
        QCoreApplication::sendEvent(d->sotto, &e);
        return;
    }
    QDropEvent e(d->sotto->mapFromGlobal(globale), Qt::MoveAction, d->dati.get(), Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(d->sotto, &e);
}

// While a drag runs: the moves and the release of the mouse, to whichever widget they
// go, move and drop it; other presses and all keys do nothing, but Escape, which cancels
// it. A move or a press with the button already up means its release was lost (to a
// window that opened meanwhile, or a browser page that lost the pointer): the drag is
// cancelled and the event goes on. A modal window opening over the tile's cancels it too.
class GuardiaTrascinamento : public QObject {
public:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        Trascinamento* d = g_trascinamento;
        if (!d)
            return false;
        const bool widget = qobject_cast<QWidget*>(o); // else the window's own copy
        switch (e->type()) {
        case QEvent::WindowBlocked:
            if (o == d->tessera->window())
                Annulla(true);
            return false;
        case QEvent::MouseMove: {
            const auto* m = static_cast<QMouseEvent*>(e);
            if (!widget)
                return false;
            if (!(m->buttons() & Qt::LeftButton)) {
                Annulla(true);
                return false;
            }
            Segui(m->globalPosition());
            return true;
        }
        case QEvent::MouseButtonRelease: {
            const auto* m = static_cast<QMouseEvent*>(e);
            if (widget && m->button() == Qt::LeftButton)
                Lascia(m->globalPosition());
            return widget;
        }
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick: {
            const auto* m = static_cast<QMouseEvent*>(e);
            if (!widget)
                return false;
            if (m->button() != Qt::LeftButton && (m->buttons() & Qt::LeftButton))
                return true;
            Annulla(true);
            return false;
        }
        case QEvent::ShortcutOverride: // no menu shortcut either
            e->accept();
            return true;
        case QEvent::KeyPress:
            if (widget && static_cast<QKeyEvent*>(e)->key() == Qt::Key_Escape)
                Annulla(true);
            return widget;
        case QEvent::KeyRelease:
            return widget;
        default:
            return false;
        }
    }
};

QObject* LaGuardiaTrascinamento()
{
    static GuardiaTrascinamento g;
    return &g;
}

} // namespace

const QString Tessera::TipoMime = QStringLiteral("application/x-tivoro-tessera");

Tessera::Tessera(QWidget* padre, const QString& nome, const QRect& twips, const QFont& font)
    : QLabel(padre), numero_(NuovoNumero())
{
    AspettoQuadrato(this, nome, twips, font);
    Tessere().insert(numero_, this);
}

Tessera::~Tessera()
{
    Tessere().remove(numero_);
    if (g_trascinamento && g_trascinamento->tessera == this)
        Annulla(false); // the window is being taken apart
    if (g_sollevata == this) {
        g_sollevata = nullptr;
        if (qApp)
            qApp->removeEventFilter(LaGuardia());
    }
}

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

Tessera* Tessera::Sollevata(const QWidget* w)
{
    Tessera* t = g_sollevata;
    return t && w && t->window() == w->window() && t->isEnabled() ? t : nullptr;
}

void Tessera::Solleva()
{
    if (!isEnabled() || g_sollevata == this)
        return;
    if (Tessera* prima = g_sollevata)
        prima->Posa();
    g_sollevata = this;
    qApp->installEventFilter(LaGuardia());
    setAccessibleDescription(QStringLiteral("preso"));
    update();
}

void Tessera::Posa()
{
    if (g_sollevata != this)
        return;
    g_sollevata = nullptr;
    qApp->removeEventFilter(LaGuardia());
    setAccessibleDescription(QString());
    update();
}

void Tessera::mousePressEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton || !isEnabled()) {
        QLabel::mousePressEvent(e);
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
        QLabel::mouseMoveEvent(e);
        return;
    }
    e->accept();
    if ((e->position().toPoint() - puntoPressione_).manhattanLength() >= QApplication::startDragDistance()) {
        premuta_ = false;
        Trascina(e->globalPosition());
    }
}

void Tessera::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton || !premuta_) {
        QLabel::mouseReleaseEvent(e);
        return;
    }
    e->accept();
    premuta_ = false;
    const bool tocco = (e->position().toPoint() - puntoPressione_).manhattanLength() < QApplication::startDragDistance();
    if (!tocco || doppio_)
        return;
    if (g_sollevata == this)
        Posa();
    else
        Solleva();
}

void Tessera::Trascina(QPointF globale)
{
    // A drag puts down whatever was picked up; the picture is of the tile as it lies.
    if (Tessera* t = g_sollevata)
        t->Posa();
    if (g_trascinamento) // its release was never seen
        Annulla(true);
    auto* d = new Trascinamento;
    d->tessera = this;
    d->presa = puntoPressione_;
    d->dati.reset(DatiTrascinamento());
    const QPixmap figura = grab();
    auto* l = new QLabel(window());
    l->setObjectName(QStringLiteral("figuraTrascinata"));
    l->setAttribute(Qt::WA_TransparentForMouseEvents);
    l->setPixmap(figura);
    l->resize(figura.deviceIndependentSize().toSize());
    l->raise();
    l->show();
    d->figura = l;
    g_trascinamento = d;
    qApp->installEventFilter(LaGuardiaTrascinamento());
    QGuiApplication::setOverrideCursor(Qt::ForbiddenCursor);
    Segui(globale);
}

void Tessera::keyPressEvent(QKeyEvent* e)
{
    if (TastoAzione(e)) {
        e->accept();
        if (g_sollevata == this)
            Posa();
        else
            Solleva();
        return;
    }
    if (!Sposta(this, e))
        QLabel::keyPressEvent(e);
}

void Tessera::paintEvent(QPaintEvent* e)
{
    if (g_sollevata != this) {
        QLabel::paintEvent(e);
        return;
    }
    // Picked up: a pale yellow ground under the border and the number, and a thick
    // orange frame inside the border, lit from the top left, so that the tile looks
    // lifted. All of it inside the tile, so it shows the same on every window colour.
    {
        QPainter p(this);
        p.fillRect(rect(), QColor(255, 243, 176));
    }
    QLabel::paintEvent(e);
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

void Tessera::hideEvent(QHideEvent* e)
{
    Posa(); // the window is going away
    if (g_trascinamento && g_trascinamento->tessera == this)
        Annulla(true);
    QLabel::hideEvent(e);
}

void Tessera::changeEvent(QEvent* e)
{
    if (e->type() == QEvent::EnabledChange && !isEnabled()) {
        Posa();
        if (g_trascinamento && g_trascinamento->tessera == this)
            Annulla(true);
    }
    QLabel::changeEvent(e);
}

Casella::Casella(QWidget* padre, const QString& nome, const QRect& twips, const QFont& font, int indice)
    : QLabel(padre), indice_(indice)
{
    AspettoQuadrato(this, nome, twips, font);
    setAcceptDrops(true);
    Mostra(QString());
}

void Casella::Mostra(const QString& testo)
{
    setText(testo);
    const QString posto = QStringLiteral("casella %1").arg(indice_ + 1);
    setAccessibleName(testo.isEmpty() ? posto + QStringLiteral(", vuota") : posto + QStringLiteral(": ") + testo);
}

void Casella::Metti()
{
    Tessera* t = Tessera::Sollevata(this);
    if (!t)
        return;
    t->Posa();
    emit Rilasciata(indice_, t);
}

void Casella::mousePressEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton) {
        QLabel::mousePressEvent(e);
        return;
    }
    e->accept();
    premuta_ = true;
}

// The second click of a double click does not act again.
void Casella::mouseDoubleClickEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton)
        QLabel::mouseDoubleClickEvent(e);
    else
        e->accept();
}

void Casella::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton || !premuta_) {
        QLabel::mouseReleaseEvent(e);
        return;
    }
    e->accept();
    premuta_ = false;
    if (rect().contains(e->position().toPoint()))
        Metti();
}

void Casella::keyPressEvent(QKeyEvent* e)
{
    if (TastoAzione(e)) {
        e->accept();
        Metti();
        return;
    }
    if (!Sposta(this, e))
        QLabel::keyPressEvent(e);
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
