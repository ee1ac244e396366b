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
//
// The page chooses the scale the windows are drawn at (src/web/tivoro.html): it asks for
// it again as each new window of the program comes, and when its size changes the windows
// are placed again in the middle of it.
#include "ui/Finestra.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <emscripten/val.h>

#include <string>

namespace {
// Places every window of the program again, at the page's new size.
void CollocaTutte()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* f = qobject_cast<Finestra*>(w); f && f->isVisible())
            f->Colloca();
}

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
            // A new window of the program, not a message box over one: the page takes the
            // scale that fits its size now (its new size reaches the screen soon after),
            // and the window is placed again now that it has the frame Qt draws for it.
            if (auto* f = qobject_cast<Finestra*>(w); f && !f->parentWidget()) {
                const emscripten::val nuova = emscripten::val::global("tivoroNuovaFinestra");
                if (nuova.typeOf().as<std::string>() == "function")
                    nuova();
                f->Colloca();
            }
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
    if (QScreen* schermo = QGuiApplication::primaryScreen())
        QObject::connect(schermo, &QScreen::geometryChanged, qApp, &CollocaTutte);
}
} // namespace

Q_COREAPP_STARTUP_FUNCTION(Installa)
