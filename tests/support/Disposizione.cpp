#include "Disposizione.h"

#include <QFile>
#include <QHash>
#include <QList>

namespace {
// disposizione.txt, by the words before the numbers ("posti FormEs2 Image1",
// "cornice alta facce"): the rectangles of the line, in pixels. '#' starts a comment.
QHash<QString, QList<QRect>> Leggi()
{
    const QString percorso = QStringLiteral(TIVORO_SUPPORTO_DIR "/disposizione.txt");
    QFile file(percorso);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        qFatal("cannot read %s", qPrintable(percorso));
    QHash<QString, QList<QRect>> tabella;
    while (!file.atEnd()) {
        const QString riga = QString::fromUtf8(file.readLine()).section(u'#', 0, 0).simplified();
        const QStringList campi = riga.split(u' ', Qt::SkipEmptyParts);
        if (campi.isEmpty())
            continue;
        QList<QRect> rettangoli;
        if (campi.size() == 13 && campi[0] == QLatin1String("posti")) {
            const int lato = campi[3].toInt();
            for (int i = 4; i < 13; ++i) {
                const QStringList xy = campi[i].split(u',');
                if (xy.size() == 2)
                    rettangoli.append(Px(xy[0].toInt(), xy[1].toInt(), lato, lato));
            }
        } else if (campi.size() == 4 && campi[0] == QLatin1String("cornice")) {
            const QStringList r = campi[3].split(u',');
            if (r.size() == 4)
                rettangoli.append(Px(r[0].toInt(), r[1].toInt(), r[2].toInt(), r[3].toInt()));
        }
        if (rettangoli.size() != (campi[0] == QLatin1String("posti") ? 9 : 1))
            qFatal("disposizione.txt: a line not understood: %s", qPrintable(riga));
        tabella.insert(QStringList(campi.mid(0, 3)).join(u' '), rettangoli);
    }
    return tabella;
}

QRect Trova(const QString& chiave, int indice)
{
    static const QHash<QString, QList<QRect>> tabella = Leggi();
    const auto it = tabella.constFind(chiave);
    if (it == tabella.constEnd() || indice < 0 || indice >= it->size())
        qFatal("disposizione.txt has no %s (%d)", qPrintable(chiave), indice);
    return it->at(indice);
}
} // namespace

QRect Posto(const QString& finestra, const QString& schiera, int indice)
{
    return Trova(QStringLiteral("posti %1 %2").arg(finestra, schiera), indice);
}

QRect Cornice(const QString& dove, const QString& controllo)
{
    return Trova(QStringLiteral("cornice %1 %2").arg(dove, controllo), 0);
}
