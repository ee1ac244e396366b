#pragma once
// The real message boxes: modal, titled "Tivoro", with Qt's Italian button texts.
#include "app/Piattaforma.h"

class MessaggiQt : public Messaggi {
public:
    void Informazione(const QString& testo) override;
    bool Domanda(const QString& testo) override;
    // Shown once the current event is over, so it never opens in the middle of
    // making a question or of a drag.
    void Avviso(const QString& testo) override;
};

// Loads Qt's Italian translation so that the buttons read "Sì" and "No".
void CaricaTraduzioneItaliana();
