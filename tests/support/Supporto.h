#pragma once
// What the tests share: scripted random draws, recorded sounds, scripted message-box
// answers, a recorded program end and a program folder of the test's choosing; and, from
// the files it includes, where the controls stand and what the tests see from outside.
#include "Disposizione.h"
#include "Osserva.h"
#include "app/Piattaforma.h"
#include "ui/Finestra.h"
#include "ui/Tocco.h"

#include <QStringList>
#include <QTemporaryDir>
#include <QWidget>
#include <deque>
#include <initializer_list>

// Replaces the random generator with a list of values; running out of values is a
// fatal error that names the draw, and Finiti() tells whether all were used.
class CasualeScriptato {
public:
    CasualeScriptato();
    explicit CasualeScriptato(std::initializer_list<float> valori);
    ~CasualeScriptato();
    CasualeScriptato(const CasualeScriptato&) = delete;
    CasualeScriptato& operator=(const CasualeScriptato&) = delete;

    void Aggiungi(std::initializer_list<float> valori);
    void Aggiungi(float valore);
    // The value r that gives index i out of n: floor(r * n) == i.
    static float Per(int i, int n) { return (static_cast<float>(i) + 0.5f) / static_cast<float>(n); }
    // Adds the value that makes the next draw of floor(r * n) give i.
    void Indice(int i, int n) { Aggiungi(Per(i, n)); }
    // Adds the value that makes the next draw of floor(r * n) + 1 give k.
    void DaUnoA(int k, int n) { Aggiungi(Per(k - 1, n)); }

    bool Finiti() const { return valori_.empty(); }
    int Rimasti() const { return static_cast<int>(valori_.size()); }
    int Usati() const { return usati_; }

private:
    std::deque<float> valori_;
    int usati_ = 0;
};

class SuoniRegistrati : public LettoreSuoni {
public:
    void Suona(const QString& percorso) override { percorsi.append(percorso); }
    QStringList percorsi;
};

// Records the texts and answers each question at once, before Domanda returns.
class MessaggiScriptati : public Messaggi {
public:
    void Informazione(const QString& testo) override { informazioni.append(testo); }
    void Domanda(const QString& testo, std::function<void(bool si)> risposta) override;
    void Avviso(const QString& testo) override { avvisi.append(testo); }

    QStringList informazioni;
    QStringList domande;
    QStringList avvisi;
    std::deque<bool> risposte; // answers to the next questions; none left is a test failure
    int domandeSenzaRisposta = 0;
};

// Sets up the seams for one test and puts everything back at the end: the program
// folder (the shipped assets unless told otherwise), recorded sounds, scripted message
// boxes, a recorded program end, counters at 0, no window loaded, no picture cached, a
// program that no finger has touched yet.
class Ambiente {
public:
    explicit Ambiente(const QString& cartella = QString());
    ~Ambiente();

    SuoniRegistrati& suoni;
    MessaggiScriptati& messaggi;
    SensoreTocco tocco;
    int terminazioni = 0;

    // The folder of the shipped pictures and sounds.
    static QString Risorse();
};

// Unloads every window and lets Qt delete them.
void ScaricaFinestre();

// Deletes the windows whose deletion is pending.
void Consegna();

// A key held down: the press, `ripetizioni` auto-repeated release and press pairs, then
// the real release. With a key code of the keyboard (`nativo`) the keys come as X11
// gives them when the program reads slower than they come: with their times, and the
// pairs not marked as auto-repeat, each release at the time of the press after it.
void TieniPremuto(QWidget* w, Qt::Key tasto, Qt::KeyboardModifiers mod, int ripetizioni, bool rilascia = true,
                  quint32 nativo = 0);

// Reads files as an ordinary user while it lives: as root, permission bits do not stop a
// read. The saved user stays root, so the test can become root again.
class ComeUtente {
public:
    ComeUtente();
    ~ComeUtente();
    ComeUtente(const ComeUtente&) = delete;
    ComeUtente& operator=(const ComeUtente&) = delete;

private:
    bool attivo_;
};

// The colour a window shows as its background: what its client area paints at its top
// left corner, where no control stands.
QColor SfondoVisto(Finestra* finestra);

// A control of a window by its name; nullptr when absent.
template <class T = QWidget>
T* Controllo(QWidget* finestra, const QString& nome)
{
    return finestra ? finestra->findChild<T*>(nome) : nullptr;
}
