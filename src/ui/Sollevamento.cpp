#include "ui/Sollevamento.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QWidget>

#include <utility>

namespace {

struct Stato {
    bool attivo = false;
    QPointer<QWidget> controllo;
    std::function<bool(const QWidget*)> resta;
    std::function<void()> posato;
    QMetaObject::Connection cancellato;
};

Stato g_stato;

void Lascia(bool avvisa);

// Installed on the application only while a control is picked up: it sees every press and
// key, and the control's own changes, before anything acts on them.
class Guardia : public QObject {
public:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        QWidget* sollevato = g_stato.controllo;
        if (!sollevato) {
            Lascia(false);
            return false;
        }
        auto* w = qobject_cast<QWidget*>(o);
        if (!w) // the window's own copy of an event, before a widget has it
            return false;
        switch (e->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            if (static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton && w->window() == sollevato->window() &&
                w->isEnabled() && g_stato.resta(w))
                return false;
            Lascia(true);
            return false;
        case QEvent::KeyPress:
            if (static_cast<QKeyEvent*>(e)->key() == Qt::Key_Escape && w->window() == sollevato->window()) {
                Lascia(true);
                return true;
            }
            return false;
        case QEvent::Hide: // the window is going away
            if (w == sollevato)
                Lascia(true);
            return false;
        case QEvent::EnabledChange:
            if (w == sollevato && !w->isEnabled())
                Lascia(true);
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

// The one way a control is put down; `avvisa`: whoever picked it up is told (not when the
// control is being deleted).
void Lascia(bool avvisa)
{
    if (!g_stato.attivo)
        return;
    Stato stato = std::exchange(g_stato, Stato{});
    QObject::disconnect(stato.cancellato);
    if (qApp)
        qApp->removeEventFilter(LaGuardia());
    if (avvisa && stato.controllo && stato.posato)
        stato.posato();
}

} // namespace

void Sollevamento::Solleva(QWidget* controllo, std::function<bool(const QWidget*)> resta, std::function<void()> posato)
{
    if (!controllo || g_stato.controllo == controllo)
        return;
    Lascia(true);
    g_stato.attivo = true;
    g_stato.controllo = controllo;
    g_stato.resta = std::move(resta);
    g_stato.posato = std::move(posato);
    g_stato.cancellato = QObject::connect(controllo, &QObject::destroyed, [] { Lascia(false); });
    qApp->installEventFilter(LaGuardia());
}

void Sollevamento::Posa() { Lascia(true); }

QWidget* Sollevamento::Sollevato() { return g_stato.controllo; }
