#pragma once
#include "frame/FormEsercizio.h"

class FormEs2 : public FormEsercizio {
    Q_OBJECT
public:
    FormEs2();
    void NuovaDomanda() override;
};
