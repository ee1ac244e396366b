#pragma once
// The main menu: six exercise buttons in a column and "Esci".
#include "ui/Finestra.h"

class Pulsante;
class PulsanteGrafico;

class FormMenu : public Finestra {
    Q_OBJECT
public:
    FormMenu();

    void Form_Load();
    void CaricaColori();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command7_Click();
    void BottoneEsci_Click();

    Pulsante* Command7;
    Pulsante* Command4;
    Pulsante* Command2;
    Pulsante* Command5;
    Pulsante* Command3;
    Pulsante* Command1;
    PulsanteGrafico* BottoneEsci;

private:
    template <class T>
    void Apri();
};
