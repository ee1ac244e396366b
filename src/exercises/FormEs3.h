#pragma once
#include "frame/FormEsercizio.h"

class FormEs3 : public FormEsercizio {
    Q_OBJECT
public:
    FormEs3();
    void NuovaDomanda() override;
};
