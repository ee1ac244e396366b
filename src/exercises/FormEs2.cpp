#include "exercises/FormEs2.h"

FormEs2::FormEs2() : FormEsercizio(DatiCornice::ColonnaAlta("FormEs2")) {}

void FormEs2::NuovaDomanda() { CaricaColori(); }
