#include "exercises/FormEs2.h"

#include "app/Casuale.h"

namespace {
// Image1: a 3 x 3 block on the left; Image2: two columns on the left;
// Image3: a 3 x 3 block on the right; Image4: two columns on the right.
constexpr FormConfronto::PosizioniPosti Posizioni = {{
    PostiFigure::BloccoSinistro,
    PostiFigure::ColonneSinistre,
    {{{4680, 360}, {5640, 360}, {3720, 1320}, {4680, 1320}, {5640, 1320},
      {3720, 2280}, {4680, 2280}, {5640, 2280}, {3720, 360}}},
    {{{5400, 2880}, {4080, 240}, {5400, 240}, {4080, 1080}, {5400, 1080},
      {4080, 2040}, {4080, 2880}, {5400, 2040}, {4080, 3720}}},
}};
} // namespace

FormEs2::FormEs2() : FormConfronto("FormEs2", Posizioni) {}

std::pair<int, int> FormEs2::ScegliSchiere()
{
    const int A1 = Casuale::DaUnoA(2);
    const int A2 = Casuale::DaUnoA(2) + 2;
    return {A1, A2};
}
