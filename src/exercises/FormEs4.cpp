#include "exercises/FormEs4.h"

FormEs4::FormEs4() : FormEsercizio(DatiCornice::ColonnaAlta("FormEs4")) {}

void FormEs4::NuovaDomanda() { CaricaColori(); }
