#pragma once
// Picture files: each decoded once for every size it is shown at, and only the picture at
// that size kept. A file that is missing or unreadable gives a built-in placeholder, and
// the first time in a run its owner is told what is wrong with it; the program goes on.
#include <QImage>
#include <QPixmap>
#include <QSize>
#include <QString>
#include <functional>

namespace Figure {

// The largest picture the program agrees to decode, in pixels per side.
constexpr int LatoMassimo = 4096;

// The picture of a file scaled smoothly to a size in device pixels, or the placeholder
// at that size. The file is decoded the first time a size of it is asked for; the scaled
// picture is kept for the run, the decoded one is not.
QPixmap Scalata(const QString& percorso, QSize dispositivo);

// A picture scaled smoothly to a size in device pixels, as Scalata scales the files'.
QPixmap Scala(const QImage& figura, QSize dispositivo);

// The placeholder shown in place of an unreadable picture.
const QImage& Segnaposto();

// Forgets every picture kept and every file already reported.
void Dimentica();

// What is wrong with a file that cannot be shown.
struct Guasto {
    enum class Tipo {
        CollegamentoVuoto, // a link that leads to no file, to itself or round in a circle
        CartellaChiusa,    // in a folder that may not be looked into: `cartella` names it
        Mancante,
        NonFile,           // a folder, a device...
        NonApribile,
        NonLeggibile,      // no permission to read it
        TroppoGrande,      // it says it has `dimensioni`, more than LatoMassimo a side
        NonFigura,         // empty, truncated, not a picture, or too large once read
    };
    QString percorso;
    Tipo tipo;
    QString cartella;
    QSize dimensioni;
};

// Who is told of a file that cannot be shown, once per file and run; without anyone the
// file is only shown as the placeholder.
void ImpostaAvviso(std::function<void(const Guasto& guasto)> avviso);

} // namespace Figure
