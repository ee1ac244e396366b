#include "ui/AnelloFocus.h"

#include <QApplication>
#include <QFocusFrame>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>

namespace {

// QFocusFrame keeps itself around its widget as the widget moves, is resized, hidden or
// deleted, lets the mouse through, and is left out of the accessibility tree. Its style
// here only says how far it reaches and that it lies above the widget rather than
// under it (under it, a neighbour could cover it).
class StileAnello : public QProxyStyle {
public:
    int pixelMetric(PixelMetric m, const QStyleOption* o, const QWidget* w) const override
    {
        if (m == PM_FocusFrameHMargin || m == PM_FocusFrameVMargin)
            return AnelloFocus::Fuori;
        return QProxyStyle::pixelMetric(m, o, w);
    }
    int styleHint(StyleHint h, const QStyleOption* o, const QWidget* w, QStyleHintReturn* r) const override
    {
        if (h == SH_FocusFrame_AboveWidget)
            return 1;
        if (h == SH_FocusFrame_Mask)
            return 0;
        return QProxyStyle::styleHint(h, o, w, r);
    }
};

class Anello : public QFocusFrame {
public:
    explicit Anello(QWidget* padre) : QFocusFrame(padre)
    {
        static auto* stile = [] {
            auto* s = new StileAnello;
            s->setParent(qApp); // lives as long as the application
            return s;
        }();
        setStyle(stile);
        setObjectName(QStringLiteral("anelloFocus"));
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        // A band from outside the control to just inside its edge: two pixels of
        // black, yellow up to the control's own edge, one pixel of black inside it.
        QPainter p(this);
        const int s = AnelloFocus::Fuori + AnelloFocus::Dentro;
        p.setClipRegion(QRegion(rect()) - QRegion(rect().adjusted(s, s, -s, -s)));
        p.fillRect(rect(), Qt::black);
        p.fillRect(rect().adjusted(2, 2, -2, -2), QColor(255, 212, 0));
        p.fillRect(rect().adjusted(s - 1, s - 1, 1 - s, 1 - s), Qt::black);
    }
};

void Segui(QWidget* ora)
{
    static QPointer<Anello> anello;
    // No focus at all (another program is active): the ring stays where it is.
    if (!ora)
        return;
    if (ora->isWindow()) { // a window with no control of its own to focus
        if (anello)
            anello->setWidget(nullptr);
        return;
    }
    if (!anello)
        anello = new Anello(ora->window()); // deleted with that window
    anello->setWidget(ora);
}

} // namespace

void AnelloFocus::Segui()
{
    static bool attivo = false;
    if (attivo || !qApp)
        return;
    attivo = true;
    QObject::connect(qApp, &QApplication::focusChanged, qApp, [](QWidget*, QWidget* ora) { ::Segui(ora); });
    ::Segui(QApplication::focusWidget());
}
