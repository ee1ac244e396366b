#pragma once
// The pictures of assets/icone (icons, button pictures, pointers), compiled into the
// program as ready pixels: 32-bit ARGB, premultiplied, row after row. The table is written
// at build time from the PNG files by tools/figurine-pixel.cpp.
#include <cstddef>
#include <cstdint>

namespace FigurinePixel {

struct Figurina {
    const char* nome; // the file's name without ".png"
    int larghezza;
    int altezza;
    const std::uint32_t* pixel;
};

extern const Figurina Tutte[];
extern const std::size_t Numero;

} // namespace FigurinePixel
