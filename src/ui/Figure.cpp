#include "ui/Figure.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QImageReader>
#include <QPainter>

namespace Figure {
namespace {
struct Voce {
    bool segnalata = false; // the message about this file has been shown
    QHash<quint64, QPixmap> scalate;
};

struct Archivio {
    QHash<QString, Voce> voci;
};

Archivio& A()
{
    static Archivio a;
    return a;
}

std::function<void(const QString&)>& Avviso()
{
    static std::function<void(const QString&)> avviso;
    return avviso;
}

quint64 Chiave(QSize s) { return (quint64(quint32(s.width())) << 32) | quint32(s.height()); }

// Reads a picture, refusing what is not a sensible picture before allocating for it.
QImage Leggi(const QString& percorso, QString& motivo)
{
    const QFileInfo info(percorso);
    if (!info.exists()) {
        // A link that leads to no file, to itself or round in a circle is there, but empty;
        // in a folder that may not be looked into, no file can be seen.
        const QFileInfo cartella(info.absolutePath());
        if (info.isSymLink())
            motivo = QStringLiteral("è un collegamento che non porta a nessun file");
        else if (cartella.isDir() && !cartella.isExecutable())
            motivo = QStringLiteral("la cartella «%1» non si può aprire: manca il permesso").arg(cartella.fileName());
        else
            motivo = QStringLiteral("il file non c'è");
        return {};
    }
    if (!info.isFile()) {
        motivo = QStringLiteral("non è un file");
        return {};
    }
    if (QFile file(percorso); !file.open(QIODevice::ReadOnly)) {
        motivo = info.isReadable() ? QStringLiteral("il file non si può aprire")
                                   : QStringLiteral("il file non si può aprire: manca il permesso di leggerlo");
        return {};
    }
    QImageReader lettore(percorso);
    lettore.setDecideFormatFromContent(true);
    lettore.setAllocationLimit(64); // megabytes
    const QSize dichiarata = lettore.size();
    if (dichiarata.isValid() && (dichiarata.width() > LatoMassimo || dichiarata.height() > LatoMassimo)) {
        motivo = QStringLiteral("la figura è troppo grande (%1 × %2)").arg(dichiarata.width()).arg(dichiarata.height());
        return {};
    }
    QImage img = lettore.read();
    if (img.isNull() || img.width() > LatoMassimo || img.height() > LatoMassimo) {
        motivo = QStringLiteral("non è una figura leggibile");
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

// Decodes a file: its picture, or the placeholder with one message per file and run.
QImage Decodifica(const QString& percorso, Voce& v)
{
    QString motivo;
    QImage img = Leggi(percorso, motivo);
    if (!img.isNull())
        return img;
    if (!v.segnalata && Avviso()) {
        v.segnalata = true;
        Avviso()(
            QStringLiteral("Non si può mostrare la figura «%1»: %2.\n\n%3\n\n"
                           "Al suo posto compare un punto di domanda.")
                .arg(QFileInfo(percorso).fileName(), motivo, QDir::toNativeSeparators(percorso)));
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
    Voce& v = A().voci[percorso];
    if (dispositivo.isEmpty())
        return {};
    const quint64 k = Chiave(dispositivo);
    auto it = v.scalate.constFind(k);
    if (it != v.scalate.constEnd())
        return it.value();
    const QImage img = Decodifica(percorso, v);
    return v.scalate
        .insert(k, QPixmap::fromImage(img.scaled(dispositivo, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)))
        .value();
}

void Dimentica() { A() = Archivio{}; }

void ImpostaAvviso(std::function<void(const QString& testo)> avviso) { Avviso() = std::move(avviso); }

} // namespace Figure
