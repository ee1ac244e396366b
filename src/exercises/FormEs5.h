#pragma once
// "Conta fino a 9" with a group picture: one picture of one to nine things, chosen by
// the count itself; the child types how many.
#include "exercises/FormConta.h"

class ControlloImmagine;

class FormEs5 : public FormConta {
    Q_OBJECT
public:
    FormEs5();
    void NuovaDomanda() override;

    // The group picture of n things (1 to 9): the program folder, "/gif/m", n, ".gif".
    static QString FileGruppo(int n);

    ControlloImmagine* Image1;
};
