#pragma once
// The real message boxes: titled "Tivoro", with Qt's Italian button texts, modal for the
// program's window under them, opened without waiting for them (see Messaggi).
#include "app/Piattaforma.h"

class MessaggiQt : public Messaggi {
public:
    void Informazione(const QString& testo) override;
    void Domanda(const QString& testo, std::function<void(bool si)> risposta) override;
    // Shown once the current event is over, so it never opens in the middle of
    // making a question or of a drag.
    void Avviso(const QString& testo) override;
};
