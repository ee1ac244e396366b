#include "exercises/FormEs5.h"

FormEs5::FormEs5() : FormEsercizio(DatiCornice::ColonnaBassa("FormEs5")) {}

void FormEs5::NuovaDomanda() { CaricaColori(); }
