#pragma once
// Picture files: each decoded once for every size it is shown at, and only the picture at
// that size kept. A file that is missing or unreadable gives a built-in placeholder, and
// the first time in a run a message names the file; the program goes on.
#include <QImage>
#include <QPixmap>
#include <QString>

namespace Figure {

// The largest picture the program agrees to decode, in pixels per side.
constexpr int LatoMassimo = 4096;

// The picture of a file scaled smoothly to a size in device pixels, or the placeholder
// at that size. The file is decoded the first time a size of it is asked for; the scaled
// picture is kept for the run, the decoded one is not.
QPixmap Scalata(const QString& percorso, QSize dispositivo);

// Whether the file gave a real picture; decodes it if no size of it has been asked for.
bool Leggibile(const QString& percorso);

// The picture at the size the file gives, or the placeholder: decoded afresh, not kept.
QImage Immagine(const QString& percorso);

// The placeholder shown in place of an unreadable picture.
const QImage& Segnaposto();

// Forgets every picture kept and every file already reported.
void Dimentica();

// How many times a file has been decoded since the last Dimentica (to check the cache).
int Decodifiche();

} // namespace Figure
