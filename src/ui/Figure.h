#pragma once
// Picture files: each decoded once per run and scaled once per size it is shown at.
// A file that is missing or unreadable gives a built-in placeholder, and the first time
// in a run a message names the file; the program goes on.
#include <QImage>
#include <QPixmap>
#include <QString>

namespace Figure {

// The largest picture the program agrees to decode, in pixels per side.
constexpr int LatoMassimo = 4096;

// The decoded picture of a file, or the placeholder. Decodes on first use.
const QImage& Immagine(const QString& percorso);

// Whether the file gave a real picture (decoding it if needed).
bool Leggibile(const QString& percorso);

// The picture scaled smoothly to a size in device pixels, cached per file and size.
QPixmap Scalata(const QString& percorso, QSize dispositivo);

// The placeholder shown in place of an unreadable picture.
const QImage& Segnaposto();

// Forgets every decoded picture and every file already reported.
void Dimentica();

// How many files have been decoded since the last Dimentica (to check the cache).
int Decodifiche();

} // namespace Figure
