#pragma once
// The frame every exercise window is built on: the right and wrong counts with their
// labels, the praise and error faces, "avanti", the menu bar and the way back to the
// menu. The windows differ only in the data below and in what they supply: their
// question procedure and their answer controls.
#include "app/ModuloColoriSuoni.h"
#include "ui/Finestra.h"

#include <QList>
#include <cstdint>

class QAction;
class QLabel;
class PulsanteGrafico;

struct DatiCornice {
    const char* nome;
    QSize client;    // twips
    QRect facce;     // ComandoIconaSi and ComandoIconaNo, one over the other
    QRect label1, label2, esatti, errati, avanti;
    bool facceImmagini;    // image controls, both visible at opening (else buttons)
    bool cursoreAvanti;    // the large-arrow pointer over "avanti"
    bool aperturaAlCaricamento; // opens in Form_Load rather than Form_Activate
    int spaziAzzera;       // trailing blanks of the first two menu captions
    int spaziInformazioni;
    TabellaColori tabella;

    // The count block in a column at the right, faces at the top (comparison windows
    // and the correspondence window).
    static DatiCornice ColonnaAlta(const char* nome);
    // The same column lower down (the two counting windows).
    static DatiCornice ColonnaBassa(const char* nome);
    // Faces and counts in one row along the top (the number-ordering window).
    static DatiCornice RigaInAlto(const char* nome);
};

class FormEsercizio : public Finestra {
    Q_OBJECT
public:
    explicit FormEsercizio(const DatiCornice& dati);

    // The reactions to a right and to a wrong answer.
    void Esatto();
    void Errato();

    void BottoneAvanti_Click();
    void MenuAzzera_Click();
    void MenuInformazioni_Click();
    void mnuEsci_Click();

    // The opening of the counting, comparison and correspondence windows.
    void Form_Activate() override;

    // Makes a new question from scratch; its first step is CaricaColori.
    virtual void NuovaDomanda() = 0;

    // A new background colour from this window's table.
    void CaricaColori();

    QLabel* Label1;
    QLabel* Label2;
    QLabel* EtichettaEsatti;
    QLabel* EtichettaErrati;
    QWidget* ComandoIconaSi;
    QWidget* ComandoIconaNo;
    PulsanteGrafico* BottoneAvanti;
    QAction* MenuAzzera;
    QAction* MenuInformazioni;
    QAction* mnuEsci;

    // The text of a count after an answer: one blank, then the number (" 12").
    static QString TestoConteggio(std::int16_t n);

    // Shows a count in EtichettaEsatti or EtichettaErrati and announces it to screen
    // readers as one name ("Esatti: 3").
    void MostraConteggio(QLabel* etichetta, const QString& testo);

protected:
    // The controls that a right answer disables and "avanti" enables again.
    virtual QList<QWidget*> ControlliRisposta() const { return {}; }

    // The common opening: both count labels read "0", then the first question.
    void Apertura();

    const DatiCornice& Dati() const { return dati_; }

private:
    DatiCornice dati_;
};
