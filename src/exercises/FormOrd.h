#pragma once
#include "frame/FormEsercizio.h"

class FormOrd : public FormEsercizio {
    Q_OBJECT
public:
    FormOrd();
    void NuovaDomanda() override;
};
