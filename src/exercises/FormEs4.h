#pragma once
#include "frame/FormEsercizio.h"

class FormEs4 : public FormEsercizio {
    Q_OBJECT
public:
    FormEs4();
    void NuovaDomanda() override;
};
