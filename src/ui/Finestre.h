#pragma once
// The registry of the program's windows: each window exists at most once.
#include "ui/Finestra.h"

#include <typeindex>

namespace Finestre {

namespace dettaglio {
Finestra* Trova(std::type_index tipo);
void Registra(std::type_index tipo, Finestra* finestra);
void MostraNuova(Finestra* finestra);
void MostraEsistente(Finestra* finestra);
} // namespace dettaglio

// Shows the window of type T, creating it when absent: the constructor builds the
// controls and runs the window's Form_Load; a newly created window then runs its
// Form_Activate once it is shown.
template <class T>
T* Mostra()
{
    if (Finestra* f = dettaglio::Trova(std::type_index(typeid(T)))) {
        dettaglio::MostraEsistente(f);
        return static_cast<T*>(f);
    }
    T* nuova = new T();
    dettaglio::Registra(std::type_index(typeid(T)), nuova);
    dettaglio::MostraNuova(nuova);
    return nuova;
}

// Unloads a window: hides it, forgets it and deletes it once the current event is over.
void Scarica(Finestra* finestra);

// Unloads every window (end of the program, tests).
void ScaricaTutte();

} // namespace Finestre
