#pragma once
// What the tests of the two counting windows share: a program folder with small
// pictures of their own (and ways to break them), the scripting of a whole question,
// and a look at what a picture control really paints.
#include "Supporto.h"

#include "exercises/FormEs1.h"
#include "exercises/FormEs5.h"
#include "ui/Controlli.h"
#include "ui/ControlloImmagine.h"
#include "ui/Figure.h"
#include "ui/Finestre.h"
#include "ui/Tastierino.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QtTest>
#include <initializer_list>

// A program folder whose gif/ holds 1.gif .. 20.gif and m1.gif .. m9.gif, each one
// plain colour (PNG data: the loader goes by the content, not the name).
class CartellaFigure {
public:
    CartellaFigure()
    {
        QDir(dir_.path()).mkpath(QStringLiteral("gif"));
        for (int n = 1; n <= 20; ++n)
            Scrivi(QStringLiteral("%1.gif").arg(n));
        for (int n = 1; n <= 9; ++n)
            Scrivi(QStringLiteral("m%1.gif").arg(n));
    }

    QString Percorso() const { return dir_.path(); }
    QString File(const QString& nome) const { return dir_.path() + QStringLiteral("/gif/") + nome; }

    // The colour of a test picture: a different one for every name.
    static QColor Colore(const QString& nome)
    {
        const int n = nome.startsWith(u'm') ? 20 + nome.mid(1).section(u'.', 0, 0).toInt()
                                            : nome.section(u'.', 0, 0).toInt();
        return QColor(QColor::fromHsv((n * 47) % 360, 230, 60 + (n * 5) % 190).rgb());
    }

    // The ways a picture file can be broken.
    void Togli(const QString& nome) { QVERIFY(QFile::remove(File(nome))); }
    void Svuota(const QString& nome) { Sovrascrivi(nome, QByteArray()); }
    void Tronca(const QString& nome)
    {
        QFile f(File(nome));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray dati = f.readAll();
        f.close();
        Sovrascrivi(nome, dati.left(dati.size() / 2));
    }
    void Testo(const QString& nome) { Sovrascrivi(nome, "Questa non è una figura.\n"); }
    // Breaks a picture in one of four ways: "mancante", "vuota", "troncata", "testo".
    void Guasta(const QString& nome, const QString& guasto)
    {
        if (guasto == QLatin1String("mancante"))
            Togli(nome);
        else if (guasto == QLatin1String("vuota"))
            Svuota(nome);
        else if (guasto == QLatin1String("troncata"))
            Tronca(nome);
        else
            Testo(nome);
    }

private:
    void Scrivi(const QString& nome)
    {
        QImage img(24, 24, QImage::Format_RGB32);
        img.fill(Colore(nome));
        QVERIFY(img.save(File(nome), "PNG"));
    }
    void Sovrascrivi(const QString& nome, const QByteArray& dati)
    {
        QFile f(File(nome));
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(f.write(dati), dati.size());
    }
    QTemporaryDir dir_;
};

// The colour a picture control shows at a point inside it (left of its middle, clear
// of the question mark of the placeholder), as its window shows it: the control over
// the window's background.
inline QColor Dipinto(QWidget* w)
{
    QWidget* finestra = w->window();
    const QPoint punto = w->mapTo(finestra, QPoint(int(w->width() * 0.15), w->height() / 2));
    return finestra->grab(QRect(punto, QSize(1, 1))).toImage().pixelColor(0, 0);
}

// The placeholder's grey, where Dipinto looks.
inline QColor GrigioSegnaposto() { return QColor(110, 110, 110); }

// The draws of one question of FormEs1: colour, picture, count, arrangement, cells.
inline void DomandaEs1(CasualeScriptato& d, int colore, int figura, int quanti, int schiera,
                       std::initializer_list<int> celle)
{
    d.DaUnoA(colore, 18);
    d.DaUnoA(figura, 20);
    d.DaUnoA(quanti, 9);
    d.DaUnoA(schiera, 3);
    for (int c : celle)
        d.Indice(c, 9);
}

// The draws of one question of FormEs5: colour, count.
inline void DomandaEs5(CasualeScriptato& d, int colore, int quanti)
{
    d.DaUnoA(colore, 18);
    d.DaUnoA(quanti, 9);
}

// A question of either counting window whose answer is `quanti`; FormEs1 puts the
// copies of picture 7 into the first cells of the grid.
inline void Domanda(const QString& finestra, CasualeScriptato& d, int quanti, int colore = 1)
{
    if (finestra == QLatin1String("FormEs1")) {
        d.DaUnoA(colore, 18);
        d.DaUnoA(7, 20);
        d.DaUnoA(quanti, 9);
        d.DaUnoA(1, 3);
        for (int c = 0; c < quanti; ++c)
            d.Indice(c, 9);
    } else {
        DomandaEs5(d, colore, quanti);
    }
}

// Opens a counting window by name as the menu does; its first question comes from `d`.
inline FormConta* Apri(const QString& finestra)
{
    if (finestra == QLatin1String("FormEs1"))
        return Finestre::Mostra<FormEs1>();
    return Finestre::Mostra<FormEs5>();
}
