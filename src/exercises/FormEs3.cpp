#include "exercises/FormEs3.h"

FormEs3::FormEs3() : FormEsercizio(DatiCornice::ColonnaAlta("FormEs3")) {}

void FormEs3::NuovaDomanda() { CaricaColori(); }
