#include "exercises/FormEs1.h"

FormEs1::FormEs1() : FormEsercizio(DatiCornice::ColonnaBassa("FormEs1")) {}

void FormEs1::NuovaDomanda() { CaricaColori(); }
