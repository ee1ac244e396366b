#pragma once
// Picture places: arrays of nine image controls over which a group of copies of one
// picture is scattered. A taken place has the tag "pieno", a free one an empty tag.
#include "ui/ControlloImmagine.h"

#include <QPoint>
#include <QSize>
#include <array>
#include <initializer_list>

namespace PostiFigure {

using Posti = std::array<ControlloImmagine*, 9>;

// Nine image controls named "<nome>(0)" to "<nome>(8)", at positions in twips, all of
// one size in twips.
Posti Crea(QWidget* padre, const char* nome, const std::array<QPoint, 9>& posizioni, QSize dimensione);

// For each index 0 to 8: removes the pictures of that element of every array, in the
// order given, then clears their tags in the same order.
void SvuotaTutti(std::initializer_list<Posti*> schiere);

// Scatters `quanti` copies of a picture file: draws a place 0..8 until it hits a free
// one, marks it "pieno" and gives it the picture, named `nome` for screen readers.
void Riempi(Posti& posti, int quanti, const QString& file, const QString& nome = QString());

// The file of object picture n (1 to 20): the program folder, "/gif/", n, ".gif".
QString FileFigura(int n);
// What object picture n shows, in Italian ("mela"), as screen readers say it.
QString NomeFigura(int n);

inline const QString Pieno = QStringLiteral("pieno");

// Where a group stands in the left part of the picture area, in twips: a 3 x 3 block, or
// two uneven columns over the same area. The first group of the side-by-side comparison
// and the given set of the correspondence stand there.
inline constexpr std::array<QPoint, 9> BloccoSinistro = {
    QPoint(360, 240),   QPoint(1440, 240), QPoint(360, 1080),  QPoint(1440, 1080), QPoint(2400, 240),
    QPoint(2400, 1080), QPoint(360, 2040), QPoint(1440, 2040), QPoint(2400, 2040)};
inline constexpr std::array<QPoint, 9> ColonneSinistre = {
    QPoint(360, 2400), QPoint(360, 1440),  QPoint(360, 3360),  QPoint(1320, 600), QPoint(1320, 1440),
    QPoint(360, 600),  QPoint(1320, 2280), QPoint(1320, 3000), QPoint(1320, 3840)};

} // namespace PostiFigure
