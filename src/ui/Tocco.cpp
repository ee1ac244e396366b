#include "ui/Tocco.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPointingDevice>

namespace {
SensoreTocco* g_attivo = nullptr;

// A touch reaches a window as a touch event; where nothing takes it, Qt (or the system)
// turns it into mouse events that still name the touch screen they came from.
bool DaUnDito(const QEvent* e)
{
    switch (e->type()) {
    case QEvent::TouchBegin:
        return static_cast<const QPointerEvent*>(e)->pointingDevice()->type() ==
               QInputDevice::DeviceType::TouchScreen;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        const auto* m = static_cast<const QMouseEvent*>(e);
        return m->pointingDevice() && m->pointingDevice()->type() == QInputDevice::DeviceType::TouchScreen;
    }
    default:
        return false;
    }
}
} // namespace

SensoreTocco::SensoreTocco(QObject* padre) : QObject(padre)
{
    g_attivo = this;
    QCoreApplication::instance()->installEventFilter(this);
}

SensoreTocco::~SensoreTocco()
{
    if (g_attivo == this)
        g_attivo = nullptr;
}

SensoreTocco* SensoreTocco::Attivo() { return g_attivo; }

bool SensoreTocco::eventFilter(QObject* oggetto, QEvent* evento)
{
    if (!toccato_ && DaUnDito(evento)) {
        toccato_ = true;
        // Nothing more to learn: the filter goes, and with it its cost on every event.
        QCoreApplication::instance()->removeEventFilter(this);
        emit PrimoTocco();
    }
    return QObject::eventFilter(oggetto, evento);
}
