#include "app/Casuale.h"

#include <cmath>
#include <random>

namespace Casuale {
namespace {
std::mt19937_64& Generatore()
{
    static std::mt19937_64 g{0x54697630726fULL};
    return g;
}
Sorgente& Sostituto()
{
    static Sorgente s;
    return s;
}
} // namespace

float Rnd()
{
    if (auto& s = Sostituto())
        return s();
    // 24 random bits make every float in [0, 1) on a grid of 2^-24, never 1.
    return static_cast<float>(Generatore()() >> 40) * (1.0f / 16777216.0f);
}

int Indice(int n)
{
    const float r = Rnd();
    int i = static_cast<int>(std::floor(static_cast<double>(r) * n));
    // A scripted value outside [0, 1) must not index outside a table.
    if (i < 0)
        i = 0;
    if (i > n - 1)
        i = n - 1;
    return i;
}

int DaUnoA(int n) { return Indice(n) + 1; }

void Semina(std::uint64_t seme) { Generatore().seed(seme); }

void ImpostaSorgente(Sorgente sorgente) { Sostituto() = std::move(sorgente); }

} // namespace Casuale
