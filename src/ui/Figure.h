#pragma once
// Picture files: each decoded once for every size it is shown at, and only the picture at
// that size kept. A file that is missing or unreadable gives a built-in placeholder, and
// the first time in a run a message names the file; the program goes on.
#include <QImage>
#include <QPixmap>
#include <QString>
#include <functional>

namespace Figure {

// The largest picture the program agrees to decode, in pixels per side.
constexpr int LatoMassimo = 4096;

// The picture of a file scaled smoothly to a size in device pixels, or the placeholder
// at that size. The file is decoded the first time a size of it is asked for; the scaled
// picture is kept for the run, the decoded one is not.
QPixmap Scalata(const QString& percorso, QSize dispositivo);

// The placeholder shown in place of an unreadable picture.
const QImage& Segnaposto();

// Forgets every picture kept and every file already reported.
void Dimentica();

// Where the message naming a file that cannot be shown goes, once per file and run;
// without one the file is only shown as the placeholder.
void ImpostaAvviso(std::function<void(const QString& testo)> avviso);

} // namespace Figure
