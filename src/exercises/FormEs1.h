#pragma once
#include "frame/FormEsercizio.h"

class FormEs1 : public FormEsercizio {
    Q_OBJECT
public:
    FormEs1();
    void NuovaDomanda() override;
};
