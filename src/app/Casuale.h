#pragma once
// The program's one random generator. Every draw of the program (colours, sounds,
// questions) takes a fresh value from here, so that the order of draws is part of
// each algorithm and tests can script it.
#include <cstdint>
#include <functional>

namespace Casuale {

// A fresh single-precision value r with 0 <= r < 1.
float Rnd();

// floor(r * n) for a fresh r: a whole number from 0 to n - 1.
int Indice(int n);

// floor(r * n) + 1 for a fresh r: a whole number from 1 to n.
int DaUnoA(int n);

// Seeds the generator; Main seeds it once from the clock.
void Semina(std::uint64_t seme);

// Replaces the generator with another source of values in [0, 1); an empty function
// brings the generator back. Tests use it to script draws.
using Sorgente = std::function<float()>;
void ImpostaSorgente(Sorgente sorgente);

} // namespace Casuale
