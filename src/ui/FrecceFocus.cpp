#include "ui/FrecceFocus.h"

#include <QKeyEvent>
#include <QWidget>

#include <cstdlib>

bool FrecceFocus::Sposta(QWidget* da, const QKeyEvent* e, const Insieme& insieme)
{
    const int k = e->key();
    if (k != Qt::Key_Left && k != Qt::Key_Right && k != Qt::Key_Up && k != Qt::Key_Down)
        return false;
    if (e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    // How far a control is in the key's direction: (row, column), or (-1, -1) when it is not
    // that way at all.
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
    QWidget* migliore = nullptr;
    QPoint dMigliore;
    for (QObject* o : da->parentWidget()->children()) {
        auto* w = qobject_cast<QWidget*>(o);
        if (!w || w == da || !insieme(w) || !w->isEnabled() || w->isHidden() || !(w->focusPolicy() & Qt::TabFocus))
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
