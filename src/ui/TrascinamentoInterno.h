#pragma once
// A drag inside one window, with no event loop of its own, so that it works wherever the
// program's one loop cannot be nested. The widget the drag starts from holds the mouse while
// its button is down, so Qt gives it every move and the release: a picture of it, held where
// it was pressed, follows the pointer above the window's controls, and the widget under the
// pointer that accepts drops, unless another window covers it there, gets the drag enter,
// move, leave and drop events of the data, as a drag between programs would bring them.
// Releasing the button drops the data there. Escape, the source hidden, disabled or deleted,
// a modal window opening over it, or the button found up without a release cancel the drag.
// The picture goes away however the drag ends; no other key or button acts meanwhile.
#include <QPoint>
#include <QPointF>

#include <memory>

class QMimeData;
class QWidget;

namespace TrascinamentoInterno {

// Starts a drag of `dati` from `sorgente`, pressed at `presa` (in the source) and now at
// `globale`. One drag at a time, as there is one pointer: one still running is cancelled.
void Avvia(QWidget* sorgente, QPoint presa, std::unique_ptr<QMimeData> dati, QPointF globale);

} // namespace TrascinamentoInterno
