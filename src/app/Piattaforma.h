#pragma once
// What the program asks of the platform, each behind a seam that tests can replace:
// the sound player, the message boxes, the end of the program and the program folder.
#include <QString>
#include <functional>
#include <memory>

class LettoreSuoni {
public:
    virtual ~LettoreSuoni() = default;
    // Plays a wave file asynchronously; a new sound stops the one playing. A file that
    // is missing, unreadable or does not play gives the system's default sound instead.
    virtual void Suona(const QString& percorso) = 0;
};

// The message boxes: titled with the program's name, modal for the program's window under
// them, and never waited for (no event loop runs inside another), so what follows an answer
// runs in a callback. A text already on the screen is not shown again (a question asked
// again gets no answer of its own); a box and its pending callback go with its window.
class Messaggi {
public:
    virtual ~Messaggi() = default;
    // Information icon, one OK button.
    virtual void Informazione(const QString& testo) = 0;
    // Question icon, Yes and No; once closed, `risposta` runs: true for Yes, else false.
    virtual void Domanda(const QString& testo, std::function<void(bool si)> risposta) = 0;
    // Tells the user that a file of the program could not be read.
    virtual void Avviso(const QString& testo) = 0;
};

namespace Piattaforma {

LettoreSuoni& Suoni();
void ImpostaSuoni(std::unique_ptr<LettoreSuoni> lettore);

// The message boxes in place (the real ones unless a test set others).
::Messaggi& Messaggi();
void ImpostaMessaggi(std::unique_ptr<::Messaggi> messaggi); // empty: the real ones

// Ends the program at once (the "Sì" of the exit question, the close control).
void TerminaProgramma();
void ImpostaTermina(std::function<void()> termina);

// The folder that holds the executable, with '/' separators and no trailing one.
QString CartellaProgramma();
void ImpostaCartellaProgramma(const QString& cartella); // empty: the executable's folder

// Puts the real player, message boxes and program end back in place.
void Ripristina();

} // namespace Piattaforma
