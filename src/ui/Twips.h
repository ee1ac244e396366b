#pragma once
// Layouts are given in twips: 15 twips are one pixel at 96 dots per inch.
#include <QRect>
#include <QSize>
#include <cmath>

namespace Twips {

constexpr int Px(int twips) { return (twips + (twips >= 0 ? 7 : -7)) / 15; }

// A rectangle or a size given in twips, in pixels.
inline QRect Rett(const QRect& twips) { return QRect(Px(twips.x()), Px(twips.y()), Px(twips.width()), Px(twips.height())); }

inline QSize Dim(QSize twips) { return QSize(Px(twips.width()), Px(twips.height())); }

// A font size in points as pixels at 96 dots per inch, so that text keeps its place
// in the layout whatever the screen reports as its resolution.
inline int PuntiPx(double punti) { return static_cast<int>(std::lround(punti * 96.0 / 72.0)); }

} // namespace Twips
