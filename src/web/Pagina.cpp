// The browser build only: what the page needs of the program's windows.
//
// Qt for the browser shows every window with show() full screen, at the top left of the
// page and without its frame. The program's windows have a fixed size and are placed in
// the middle of the screen when they are made: here they are shown as windows again, at
// their own size and place, in the middle of the page.
//
// Nor does it give the focus back when a window goes: when a message box closes, the
// window under it stays inactive and the keys of a child typing the next answer go
// nowhere. Here the window the box belonged to (or else the one left on top) is
// activated again.
#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace {
class FinestreNormali : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* oggetto, QEvent* evento) override
    {
        if (evento->type() == QEvent::Show && oggetto->isWidgetType()) {
            auto* w = static_cast<QWidget*>(oggetto);
            if (w->isWindow() && w->windowState().testFlag(Qt::WindowFullScreen))
                w->setWindowState(w->windowState() & ~Qt::WindowFullScreen);
        } else if (evento->type() == QEvent::Hide && oggetto->isWidgetType() &&
                   static_cast<QWidget*>(oggetto)->isWindow()) {
            auto* w = static_cast<QWidget*>(oggetto);
            QPointer<QWidget> padre = w->parentWidget() ? w->parentWidget()->window() : nullptr;
            QTimer::singleShot(0, this, [padre] { Riattiva(padre); });
        }
        return false;
    }

private:
    static void Riattiva(QWidget* preferita)
    {
        if (QApplication::activeWindow())
            return;
        QWidget* scelta = preferita && preferita->isVisible() ? preferita : nullptr;
        if (!scelta) {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (w->isVisible() && !w->isMinimized())
                    scelta = w;
        }
        if (scelta) {
            scelta->raise();
            scelta->activateWindow();
        }
    }
};

void Installa()
{
    qApp->installEventFilter(new FinestreNormali(qApp));
}
} // namespace

Q_COREAPP_STARTUP_FUNCTION(Installa)
