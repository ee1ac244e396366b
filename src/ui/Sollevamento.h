#pragma once
// A control picked up by a tap or a key, waiting for the place it goes: at most one in the
// program. It is put down by Posa, or on its own: by a press anywhere but on a control of
// its window that the predicate given with it lets through, by Escape in its window, or by
// the control being hidden or disabled. Whoever picked it up hears of each of these through
// the function given with it; a control deleted while it is picked up is only forgotten.
#include <functional>

class QWidget;

namespace Sollevamento {

// Picks `controllo` up, putting down whatever else was; nothing changes when it is already
// the one. A left press on an enabled control of its window that `resta` accepts keeps it
// up; `posato` runs when it is put down.
void Solleva(QWidget* controllo, std::function<bool(const QWidget*)> resta, std::function<void()> posato);

// Puts down the control picked up, if any.
void Posa();

// The control picked up, if any.
QWidget* Sollevato();

} // namespace Sollevamento
