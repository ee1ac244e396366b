#include "Osserva.h"

#include <QDragEnterEvent>
#include <QMouseEvent>

QList<Finestra*> FinestreVisibili()
{
    QList<Finestra*> l;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* f = qobject_cast<Finestra*>(w); f && f->isVisible())
            l.append(f);
    return l;
}

namespace {
// Keeps a copy of the data of the first drag that enters the widget it watches.
class Copia : public QObject {
public:
    std::unique_ptr<QMimeData> dati;

    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::DragEnter && !dati) {
            const QMimeData* d = static_cast<QDragEnterEvent*>(e)->mimeData();
            dati = std::make_unique<QMimeData>();
            for (const QString& formato : d->formats())
                dati->setData(formato, d->data(formato));
        }
        return false;
    }
};

void Mouse(QWidget* w, QEvent::Type tipo, QPoint punto, Qt::MouseButton bottone, Qt::MouseButtons premuti)
{
    QMouseEvent e(tipo, QPointF(punto), QPointF(w->mapToGlobal(punto)), bottone, premuti, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}
} // namespace

std::unique_ptr<QMimeData> DatiTrascinati(QWidget* tessera, QWidget* sopra)
{
    Copia copia;
    sopra->installEventFilter(&copia);
    // The tile keeps the mouse while its button is held: every move and the release go to it.
    const QPoint presa = tessera->rect().center();
    const QPoint la = tessera->mapFromGlobal(sopra->mapToGlobal(sopra->rect().center()));
    Mouse(tessera, QEvent::MouseButtonPress, presa, Qt::LeftButton, Qt::LeftButton);
    Mouse(tessera, QEvent::MouseMove, la, Qt::NoButton, Qt::LeftButton);
    Mouse(tessera, QEvent::MouseButtonRelease, presa, Qt::LeftButton, Qt::NoButton);
    sopra->removeEventFilter(&copia);
    return std::move(copia.dati);
}
