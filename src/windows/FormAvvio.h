#pragma once
// The title window: "Esercitazioni matematiche", the program's name and "Avvio".
#include "ui/Finestra.h"

#include <array>

class QLabel;
class PulsanteGrafico;

class FormAvvio : public Finestra {
    Q_OBJECT
public:
    FormAvvio();

    void Form_Load();
    void Command1_Click();
    void CaricaColori();

    std::array<QLabel*, 2> Label2{};
    PulsanteGrafico* Command1;
};
