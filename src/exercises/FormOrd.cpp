#include "exercises/FormOrd.h"

FormOrd::FormOrd() : FormEsercizio(DatiCornice::RigaInAlto("FormOrd")) {}

void FormOrd::NuovaDomanda() { CaricaColori(); }
