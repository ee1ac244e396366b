#pragma once
// Layouts are given in twips: 15 twips are one pixel at 96 dots per inch.
#include <QRect>
#include <QSize>
#include <cmath>

namespace Twips {

constexpr int Px(int twips) { return (twips + (twips >= 0 ? 7 : -7)) / 15; }

inline QRect Rett(int left, int top, int width, int height)
{
    return QRect(Px(left), Px(top), Px(width), Px(height));
}

inline QSize Dim(int width, int height) { return QSize(Px(width), Px(height)); }

// A font size in points as pixels at 96 dots per inch, so that text keeps its place
// in the layout whatever the screen reports as its resolution.
inline int PuntiPx(double punti) { return static_cast<int>(std::lround(punti * 96.0 / 72.0)); }

} // namespace Twips
