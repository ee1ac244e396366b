#include "exercises/FormEs3.h"

#include "app/Casuale.h"

namespace {
// No array has a region of its own; neighbouring places touch at most by one pixel.
const FormConfronto::PosizioniPosti Posizioni = {{
    {{{840, 360}, {1800, 360}, {1920, 1080}, {240, 1320}, {840, 2640},
      {2520, 2400}, {3960, 720}, {3360, 2280}, {120, 3120}}},
    {{{5520, 600}, {1440, 1920}, {2280, 3240}, {2760, 720}, {3240, 1440},
      {1680, 3720}, {3600, 3840}, {6000, 3720}, {5160, 3480}}},
    {{{1680, 2640}, {5640, 2640}, {240, 2160}, {3960, 1680}, {3360, 0},
      {4800, 120}, {4080, 2400}, {4920, 2520}, {120, 360}}},
    {{{1080, 1200}, {5160, 1560}, {960, 3360}, {240, 3840}, {3120, 3120},
      {4440, 3840}, {2520, 0}, {2520, 1680}, {4080, 3120}}},
}};
} // namespace

FormEs3::FormEs3() : FormConfronto("FormEs3", Posizioni) {}

std::pair<int, int> FormEs3::ScegliSchiere()
{
    const int A1 = Casuale::DaUnoA(4);
    int A2 = Casuale::DaUnoA(4);
    while (A2 == A1)
        A2 = Casuale::DaUnoA(4);
    return {A1, A2};
}
