#include "ui/Figure.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QImageReader>
#include <QPainter>

namespace Figure {
namespace {
struct Voce {
    bool segnalata = false; // what is wrong with this file has been told
    QHash<quint64, QPixmap> scalate;
};

struct Archivio {
    QHash<QString, Voce> voci;
};

Archivio& ArchivioFigure()
{
    static Archivio a;
    return a;
}

std::function<void(const Guasto&)>& Avviso()
{
    static std::function<void(const Guasto&)> avviso;
    return avviso;
}

quint64 Chiave(QSize s) { return (quint64(quint32(s.width())) << 32) | quint32(s.height()); }

// Reads a picture, refusing what is not a sensible picture before allocating for it.
QImage Leggi(const QString& percorso, Guasto& guasto)
{
    using Tipo = Guasto::Tipo;
    const QFileInfo info(percorso);
    if (!info.exists()) {
        // A link that leads to no file, to itself or round in a circle is there, but empty;
        // in a folder that may not be looked into, no file can be seen.
        const QFileInfo cartella(info.absolutePath());
        if (info.isSymLink()) {
            guasto.tipo = Tipo::CollegamentoVuoto;
        } else if (cartella.isDir() && !cartella.isExecutable()) {
            guasto.tipo = Tipo::CartellaChiusa;
            guasto.cartella = cartella.fileName();
        } else {
            guasto.tipo = Tipo::Mancante;
        }
        return {};
    }
    if (!info.isFile()) {
        guasto.tipo = Tipo::NonFile;
        return {};
    }
    if (QFile file(percorso); !file.open(QIODevice::ReadOnly)) {
        guasto.tipo = info.isReadable() ? Tipo::NonApribile : Tipo::NonLeggibile;
        return {};
    }
    QImageReader lettore(percorso);
    lettore.setDecideFormatFromContent(true);
    lettore.setAllocationLimit(64); // megabytes
    const QSize dichiarata = lettore.size();
    if (dichiarata.isValid() && (dichiarata.width() > LatoMassimo || dichiarata.height() > LatoMassimo)) {
        guasto.tipo = Tipo::TroppoGrande;
        guasto.dimensioni = dichiarata;
        return {};
    }
    QImage img = lettore.read();
    if (img.isNull() || img.width() > LatoMassimo || img.height() > LatoMassimo) {
        guasto.tipo = Tipo::NonFigura;
        return {};
    }
    return img.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QImage DisegnaSegnaposto()
{
    QImage img(128, 128, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(40, 40, 40), 6));
    p.setBrush(QColor(110, 110, 110));
    p.drawEllipse(QRectF(8, 8, 112, 112));
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(84);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRectF(0, 0, 128, 128), Qt::AlignCenter, QStringLiteral("?"));
    return img;
}

// Decodes a file: its picture, or the placeholder, told once per file and run.
QImage Decodifica(const QString& percorso, Voce& v)
{
    Guasto guasto{percorso, Guasto::Tipo::NonFigura, {}, {}};
    QImage img = Leggi(percorso, guasto);
    if (!img.isNull())
        return img;
    if (!v.segnalata && Avviso()) {
        v.segnalata = true;
        Avviso()(guasto);
    }
    return Segnaposto();
}
} // namespace

const QImage& Segnaposto()
{
    static const QImage s = DisegnaSegnaposto();
    return s;
}

QPixmap Scalata(const QString& percorso, QSize dispositivo)
{
    Voce& v = ArchivioFigure().voci[percorso];
    if (dispositivo.isEmpty())
        return {};
    const quint64 k = Chiave(dispositivo);
    auto it = v.scalate.constFind(k);
    if (it != v.scalate.constEnd())
        return it.value();
    return v.scalate.insert(k, Scala(Decodifica(percorso, v), dispositivo)).value();
}

QPixmap Scala(const QImage& figura, QSize dispositivo)
{
    return QPixmap::fromImage(figura.scaled(dispositivo, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
}

void Dimentica() { ArchivioFigure() = Archivio{}; }

void ImpostaAvviso(std::function<void(const Guasto& guasto)> avviso) { Avviso() = std::move(avviso); }

} // namespace Figure
