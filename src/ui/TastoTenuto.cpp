#include "ui/TastoTenuto.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QWidget>

namespace {
// The server sends the release and the repeated press together; only reading them may
// take the program a moment. Short enough that a child sees no delay.
constexpr int AttesaRipetizioneMs = 50;

// A release of a key of the keyboard, as much of it as tells a repeat. Without its time
// nothing is told: a screen reader's bridge hands the keys on without it, keeping the rest.
struct Impronta {
    int tasto = 0;
    quint32 nativo = 0;
    quint64 ora = 0;

    static Impronta Di(const QKeyEvent* e) { return {e->key(), e->nativeScanCode(), e->timestamp()}; }
    bool RipetutoDa(const QKeyEvent* pressione) const
    {
        return nativo != 0 && ora != 0 && pressione->nativeScanCode() == nativo && pressione->key() == tasto &&
               pressione->timestamp() == ora;
    }
};

// There is one keyboard: its last release, whichever control it reached.
Impronta g_ultimo;
} // namespace

TastoTenuto::TastoTenuto(QWidget* controllo) : QObject(controllo), controllo_(controllo)
{
    controllo->installEventFilter(this);
}

TastoTenuto::~TastoTenuto() = default;

void TastoTenuto::UnaVolta(QWidget* controllo) { (new TastoTenuto(controllo))->filtra_ = true; }

bool TastoTenuto::Ripetuto(const QKeyEvent* pressione)
{
    // Not even the repeat of a release that was taken as real because the wait ran out is
    // a new press: the key was held all along, and its last release must not act again.
    if (sospeso_ && Impronta::Di(sospeso_.get()).RipetutoDa(pressione))
        Dimentica();
    else
        Conferma();
    return pressione->isAutoRepeat() || g_ultimo.RipetutoDa(pressione);
}

void TastoTenuto::Rilascio(const QKeyEvent* rilascio)
{
    Conferma();
    if (rilascio->nativeScanCode() != 0)
        g_ultimo = Impronta::Di(rilascio);
    if (rilascio->isAutoRepeat())
        return;
    if (rilascio->nativeScanCode() == 0) {
        emit Lasciato(rilascio->key());
        return;
    }
    sospeso_.reset(rilascio->clone());
    attesa_ = startTimer(AttesaRipetizioneMs);
    QCoreApplication::instance()->installEventFilter(this);
}

bool TastoTenuto::eventFilter(QObject* oggetto, QEvent* e)
{
    if (ridando_)
        return false;
    // While a release is held back this sees every event of the program, before it reaches
    // its widget, so that the release keeps its place among them.
    if (sospeso_) {
        switch (e->type()) {
        case QEvent::KeyPress:
            if (!Impronta::Di(sospeso_.get()).RipetutoDa(static_cast<QKeyEvent*>(e)))
                Conferma();
            break;
        case QEvent::KeyRelease:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseButtonRelease:
        case QEvent::TouchBegin:
        case QEvent::TabletPress:
        case QEvent::ContextMenu:
            Conferma();
            break;
        default:
            break;
        }
    }
    if (oggetto != controllo_)
        return false;
    switch (e->type()) {
    case QEvent::FocusOut:
        Conferma();
        return false;
    case QEvent::EnabledChange:
        if (!controllo_->isEnabled())
            Conferma();
        return false;
    case QEvent::Hide: // a control that goes away acts no more: it may be going with its window
        Dimentica();
        return false;
    case QEvent::KeyPress:
        return filtra_ && Ripetuto(static_cast<QKeyEvent*>(e));
    case QEvent::KeyRelease: {
        const auto* k = static_cast<QKeyEvent*>(e);
        if (!filtra_ || (k->nativeScanCode() == 0 && !k->isAutoRepeat()))
            return false;
        Rilascio(k); // given back to the control once known to be real
        return true;
    }
    default:
        return false;
    }
}

void TastoTenuto::timerEvent(QTimerEvent* e)
{
    if (e->timerId() == attesa_)
        Conferma();
}

// The held-back release was real.
void TastoTenuto::Conferma()
{
    if (!sospeso_)
        return;
    const std::unique_ptr<QKeyEvent> rilascio = std::move(sospeso_);
    Dimentica();
    if (!filtra_) {
        emit Lasciato(rilascio->key());
        return;
    }
    const QPointer<TastoTenuto> vivo(this);
    ridando_ = true;
    QCoreApplication::sendEvent(controllo_, rilascio.get());
    if (vivo)
        ridando_ = false;
}

void TastoTenuto::Dimentica()
{
    sospeso_.reset();
    if (attesa_) {
        killTimer(attesa_);
        attesa_ = 0;
    }
    QCoreApplication::instance()->removeEventFilter(this);
}
