#pragma once
// "Conta fino a 9" with repeated pictures: one to nine copies of one object picture in
// random cells of one of three arrangements of nine cells; the child types how many.
#include "exercises/FormConta.h"
#include "exercises/PostiFigure.h"

class FormEs1 : public FormConta {
    Q_OBJECT
public:
    FormEs1();
    void NuovaDomanda() override;

    // The three arrangements: a regular grid, a scatter, a row of five over a row of four.
    PostiFigure::Posti Image1;
    PostiFigure::Posti Image2;
    PostiFigure::Posti Image3;
};
