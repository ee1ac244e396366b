#pragma once
// A program folder with small pictures of the tests' own, and ways to break them.
#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

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
    QString File(int n) const { return File(QStringLiteral("%1.gif").arg(n)); }

    // The colour of a test picture: a different one for every name.
    static QColor Colore(const QString& nome)
    {
        const int n = nome.startsWith(u'm') ? 20 + nome.mid(1).section(u'.', 0, 0).toInt()
                                            : nome.section(u'.', 0, 0).toInt();
        return QColor(QColor::fromHsv((n * 47) % 360, 230, 60 + (n * 5) % 190).rgb());
    }
    static QColor Colore(int n) { return Colore(QStringLiteral("%1.gif").arg(n)); }

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
