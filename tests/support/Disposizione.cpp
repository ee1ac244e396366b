#include "Disposizione.h"

#include <QFile>
#include <QHash>

#include <array>

namespace {
using Schiera = std::array<QRect, 9>;

// posti.txt: "FormEs2 Image1 615  360,240 1440,240 ...", '#' starts a comment.
QHash<QString, Schiera> Leggi()
{
    const QString percorso = QStringLiteral(TIVORO_SUPPORTO_DIR "/posti.txt");
    QFile file(percorso);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        qFatal("cannot read %s", qPrintable(percorso));
    QHash<QString, Schiera> tabella;
    while (!file.atEnd()) {
        const QString riga = QString::fromUtf8(file.readLine()).section(u'#', 0, 0).simplified();
        const QStringList campi = riga.split(u' ', Qt::SkipEmptyParts);
        if (campi.isEmpty())
            continue;
        if (campi.size() != 12)
            qFatal("posti.txt: not a window, an array, a side and nine places: %s", qPrintable(riga));
        const int lato = campi[2].toInt();
        Schiera s;
        for (int i = 0; i < 9; ++i) {
            const QStringList xy = campi[3 + i].split(u',');
            if (xy.size() != 2)
                qFatal("posti.txt: not Left,Top: %s", qPrintable(campi[3 + i]));
            s[std::size_t(i)] = Px(xy[0].toInt(), xy[1].toInt(), lato, lato);
        }
        tabella.insert(campi[0] + u' ' + campi[1], s);
    }
    return tabella;
}
} // namespace

QRect Posto(const QString& finestra, int schiera, int indice)
{
    static const QHash<QString, Schiera> tabella = Leggi();
    const auto it = tabella.constFind(finestra + QStringLiteral(" Image%1").arg(schiera));
    if (it == tabella.constEnd() || indice < 0 || indice > 8)
        qFatal("posti.txt has no place %d of Image%d of %s", indice, schiera, qPrintable(finestra));
    return (*it)[std::size_t(indice)];
}
