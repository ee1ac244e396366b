#include "ui/TrascinamentoInterno.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QPointer>

namespace {

// The drag under way. Its source keeps the mouse, so the drag needs no grab; the guard
// below takes the mouse and key events meanwhile, wherever they are sent.
struct Trascinamento {
    QPointer<QWidget> sorgente;
    QPointer<QLabel> figura; // the source's picture, above all the controls of its window
    QPoint presa;            // the point of the picture that stays under the pointer
    std::unique_ptr<QMimeData> dati;
    QPointer<QWidget> sotto; // the widget that takes drops under the pointer, if any
    bool entrato = false;    // it took the drag as it entered: it is owed a leave
    bool accolto = false;    // it takes a drop where the pointer is
    QMetaObject::Connection cancellata;
};

std::unique_ptr<Trascinamento> g_trascinamento;

QObject* LaGuardia();

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

// The one way a drag ends: the picture, the cursor and the guard go first, so that
// whatever a drop or a leave sets off finds no drag running.
std::unique_ptr<Trascinamento> Chiudi()
{
    std::unique_ptr<Trascinamento> d = std::move(g_trascinamento);
    QObject::disconnect(d->cancellata);
    // Not deleted here: a drag also ends as the source is hidden, while Qt is going
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
        qApp->removeEventFilter(LaGuardia());
    }
    return d;
}

// Ends the drag without a drop. `avvisa`: the widget under the pointer is told the drag
// left it (not while the source is being deleted).
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
    QWidget* finestra = d.sorgente->window();
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
// cancelled and the event goes on. A modal window opening over the source's window, and
// the source hidden or disabled, cancel it too.
class Guardia : public QObject {
public:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        Trascinamento* d = g_trascinamento.get();
        if (!d)
            return false;
        if (!d->sorgente) {
            Annulla(false);
            return false;
        }
        const bool widget = qobject_cast<QWidget*>(o); // else the window's own copy
        switch (e->type()) {
        case QEvent::WindowBlocked:
            if (o == d->sorgente->window())
                Annulla(true);
            return false;
        case QEvent::Hide:
            if (o == d->sorgente)
                Annulla(true);
            return false;
        case QEvent::EnabledChange:
            if (o == d->sorgente && !d->sorgente->isEnabled())
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

QObject* LaGuardia()
{
    static Guardia g;
    return &g;
}

} // namespace

void TrascinamentoInterno::Avvia(QWidget* sorgente, QPoint presa, std::unique_ptr<QMimeData> dati, QPointF globale)
{
    if (g_trascinamento) // its release was never seen
        Annulla(true);
    auto d = std::make_unique<Trascinamento>();
    d->sorgente = sorgente;
    d->presa = presa;
    d->dati = std::move(dati);
    const QPixmap figura = sorgente->grab();
    auto* l = new QLabel(sorgente->window());
    l->setObjectName(QStringLiteral("figuraTrascinata"));
    l->setAttribute(Qt::WA_TransparentForMouseEvents);
    l->setPixmap(figura);
    l->resize(figura.deviceIndependentSize().toSize());
    l->raise();
    l->show();
    d->figura = l;
    // Deleted meanwhile (its window taken apart): the drag only ends, nobody is told.
    d->cancellata = QObject::connect(sorgente, &QObject::destroyed, [] { Annulla(false); });
    g_trascinamento = std::move(d);
    qApp->installEventFilter(LaGuardia());
    QGuiApplication::setOverrideCursor(Qt::ForbiddenCursor);
    Segui(globale);
}
