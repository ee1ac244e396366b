#pragma once
#include "frame/FormEsercizio.h"

class FormEs5 : public FormEsercizio {
    Q_OBJECT
public:
    FormEs5();
    void NuovaDomanda() override;
};
