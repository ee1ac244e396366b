// Picture files: decoded once per size they are shown at, and every kind of broken file
// shown as a placeholder with one message per file, the program going on.
#include "Supporto.h"

#include "ui/ControlloImmagine.h"
#include "ui/Figure.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QtTest>

namespace {
void Scrivi(const QString& percorso, const QByteArray& dati)
{
    QFile f(percorso);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(dati);
}

QByteArray Gif(QSize s, QColor colore)
{
    // Qt writes no GIF; an 8-bit palette GIF made by hand keeps this test self-contained.
    QByteArray gif("GIF89a");
    auto le16 = [&](int v) { gif.append(char(v & 0xFF)).append(char((v >> 8) & 0xFF)); };
    le16(s.width());
    le16(s.height());
    gif.append(char(0x80)).append(char(0)).append(char(0)); // global palette of 2 entries
    gif.append(char(colore.red())).append(char(colore.green())).append(char(colore.blue()));
    gif.append(char(0)).append(char(0)).append(char(0));
    gif.append(',');
    le16(0);
    le16(0);
    le16(s.width());
    le16(s.height());
    gif.append(char(0));
    // LZW with code size 2: clear, then index 0 for every pixel, then end; codes are
    // 3 bits wide for the few pixels used here (at most 4 pixels before widening).
    gif.append(char(2));
    QByteArray dati;
    quint32 acc = 0;
    int bits = 0;
    int larghezza = 3;
    int prossimo = 6;
    auto emetti = [&](int codice) {
        acc |= quint32(codice) << bits;
        bits += larghezza;
        while (bits >= 8) {
            dati.append(char(acc & 0xFF));
            acc >>= 8;
            bits -= 8;
        }
    };
    emetti(4);
    const int pixel = s.width() * s.height();
    for (int i = 0; i < pixel; ++i) {
        emetti(0);
        if (i > 0) {
            if (++prossimo == (1 << larghezza) && larghezza < 12)
                ++larghezza;
        }
    }
    emetti(5);
    if (bits > 0)
        dati.append(char(acc & 0xFF));
    for (int i = 0; i < dati.size(); i += 255) {
        const QByteArray blocco = dati.mid(i, 255);
        gif.append(char(blocco.size())).append(blocco);
    }
    gif.append(char(0)).append(';');
    return gif;
}
} // namespace

class TestFigure : public QObject {
    Q_OBJECT
private slots:
    void gifValidaDecodificataUnaVoltaPerDimensione();
    void fileGuastiDannoIlSegnapostoEUnAvvisoPerFile_data();
    void fileGuastiDannoIlSegnapostoEUnAvvisoPerFile();
    void pngChiamatoGifSiVede();
    void controlloImmagineDisegnaLaFiguraStirata();
};

QColor Centro(const QPixmap& p) { return p.toImage().pixelColor(p.width() / 2, p.height() / 2); }

// The placeholder as a control of the given size shows it.
QImage SegnapostoA(QSize s)
{
    return QPixmap::fromImage(Figure::Segnaposto().scaled(s, Qt::IgnoreAspectRatio, Qt::SmoothTransformation))
        .toImage();
}

void TestFigure::gifValidaDecodificataUnaVoltaPerDimensione()
{
    QTemporaryDir dir;
    const QString f = dir.path() + "/1.gif";
    Scrivi(f, Gif(QSize(4, 4), QColor(200, 10, 10)));
    Ambiente amb(dir.path());
    const QPixmap a = Figure::Scalata(f, QSize(73, 73));
    QCOMPARE(a.size(), QSize(73, 73));
    QCOMPARE(Centro(a), QColor(200, 10, 10));
    // The file changes on disk: a size already shown is kept, a new size decodes afresh
    // (the decoded picture itself is not kept).
    Scrivi(f, Gif(QSize(4, 4), QColor(10, 10, 200)));
    QCOMPARE(Figure::Scalata(f, QSize(73, 73)).cacheKey(), a.cacheKey());
    const QPixmap b = Figure::Scalata(f, QSize(146, 146));
    QCOMPARE(b.size(), QSize(146, 146));
    QCOMPARE(Centro(b), QColor(10, 10, 200));
    Scrivi(f, Gif(QSize(4, 4), QColor(10, 200, 10)));
    QCOMPARE(Figure::Scalata(f, QSize(146, 146)).cacheKey(), b.cacheKey());
    QCOMPARE(Figure::Scalata(f, QSize(73, 73)).cacheKey(), a.cacheKey());
    QVERIFY(Figure::Scalata(f, QSize(0, 10)).isNull());
    QVERIFY(amb.messaggi.avvisi.isEmpty());
    // Forgotten, the file is read again.
    Figure::Dimentica();
    QCOMPARE(Centro(Figure::Scalata(f, QSize(73, 73))), QColor(10, 200, 10));

    // The shipped pictures decode too: none is the placeholder, none gives a message.
    QStringList nomi;
    for (int n = 1; n <= 20; ++n)
        nomi << QStringLiteral("%1.gif").arg(n);
    for (int n = 1; n <= 9; ++n)
        nomi << QStringLiteral("m%1.gif").arg(n);
    for (const QString& nome : nomi)
        QVERIFY2(Figure::Scalata(Ambiente::Risorse() + "/gif/" + nome, QSize(41, 41)).toImage() !=
                     SegnapostoA(QSize(41, 41)),
                 qPrintable(nome));
    QVERIFY(amb.messaggi.avvisi.isEmpty());
}

void TestFigure::fileGuastiDannoIlSegnapostoEUnAvvisoPerFile_data()
{
    QTest::addColumn<QString>("nome");
    QTest::addColumn<QByteArray>("dati");
    QTest::addColumn<QString>("tipo"); // file, cartella, nulla, anello, rotto, chiuso, cartella chiusa
    QTest::addColumn<QString>("motivo");
    const QByteArray buona = Gif(QSize(8, 8), Qt::blue);
    const QString illeggibile = QStringLiteral("non è una figura leggibile");
    QTest::newRow("missing") << "9.gif" << QByteArray() << "nulla" << "il file non c'è";
    QTest::newRow("zero bytes") << "4.gif" << QByteArray("") << "file" << illeggibile;
    QTest::newRow("truncated") << "6.gif" << buona.left(20) << "file" << illeggibile;
    QTest::newRow("text named .gif") << "5.gif" << QByteArray("non sono una figura\n") << "file" << illeggibile;
    QTest::newRow("directory named .gif") << "7.gif" << QByteArray() << "cartella" << "non è un file";
    QByteArray enorme = buona;
    // Logical screen and image both claim 20000 x 20000 pixels.
    for (int off : {6, 8, 24, 26}) {
        enorme[off] = char(20000 & 0xFF);
        enorme[off + 1] = char(20000 >> 8);
    }
    QTest::newRow("20000 x 20000 header") << "8.gif" << enorme << "file"
                                          << "la figura è troppo grande (20000 × 20000)";
    const QString collegamento = QStringLiteral("è un collegamento che non porta a nessun file");
    QTest::newRow("link to itself") << "1.gif" << QByteArray() << "anello" << collegamento;
    QTest::newRow("link to no file") << "2.gif" << QByteArray() << "rotto" << collegamento;
    QTest::newRow("no read permission") << "3.gif" << buona << "chiuso"
                                        << "il file non si può aprire: manca il permesso di leggerlo";
    QTest::newRow("folder without permission") << "6.gif" << buona << "cartella chiusa"
                                               << QStringLiteral("la cartella «%1» non si può aprire: manca il permesso");
}

void TestFigure::fileGuastiDannoIlSegnapostoEUnAvvisoPerFile()
{
    QFETCH(QString, nome);
    QFETCH(QByteArray, dati);
    QFETCH(QString, tipo);
    QFETCH(QString, motivo);
    QTemporaryDir dir;
    const QString f = dir.path() + u'/' + nome;
    if (tipo == QLatin1String("cartella"))
        QVERIFY(QDir().mkdir(f));
    else if (tipo == QLatin1String("anello"))
        QVERIFY(QFile::link(nome, f));
    else if (tipo == QLatin1String("rotto"))
        QVERIFY(QFile::link(QStringLiteral("nessuno.gif"), f));
    else if (tipo != QLatin1String("nulla"))
        Scrivi(f, dati);
    // Open to others, but for the folder that is closed on purpose.
    const auto proprietario = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
    QVERIFY(QFile::setPermissions(dir.path(), tipo == QLatin1String("cartella chiusa")
                                                  ? proprietario
                                                  : proprietario | QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                                        QFile::ExeOther));
    if (tipo == QLatin1String("chiuso"))
        QVERIFY(QFile::setPermissions(f, QFile::WriteOwner));
    motivo = motivo.arg(QFileInfo(dir.path()).fileName());
    Ambiente amb(dir.path());
    {
        ComeUtente utente;
        if (tipo.contains(QLatin1String("chius")))
            QVERIFY(!QFile(f).open(QIODevice::ReadOnly)); // the case is real
        QCOMPARE(Figure::Scalata(f, QSize(73, 73)).toImage(), SegnapostoA(QSize(73, 73)));
        QCOMPARE(Figure::Scalata(f, QSize(41, 41)).toImage(), SegnapostoA(QSize(41, 41)));
    }
    QCOMPARE(amb.messaggi.avvisi.size(), 1); // one message per file and run
    const QString& avviso = amb.messaggi.avvisi.front();
    QVERIFY2(avviso.startsWith(QStringLiteral("Non si può mostrare la figura «%1»: %2.\n\n").arg(nome, motivo)),
             qPrintable(avviso));
    QVERIFY(avviso.contains(QDir::toNativeSeparators(f)));
    QCOMPARE(amb.terminazioni, 0);
}

void TestFigure::pngChiamatoGifSiVede()
{
    QTemporaryDir dir;
    QImage img(10, 6, QImage::Format_ARGB32);
    img.fill(QColor(0, 128, 0));
    QVERIFY(img.save(dir.path() + "/3.gif", "PNG"));
    Ambiente amb(dir.path());
    QCOMPARE(Centro(Figure::Scalata(dir.path() + "/3.gif", QSize(10, 6))), QColor(0, 128, 0));
    QVERIFY(amb.messaggi.avvisi.isEmpty());
}

void TestFigure::controlloImmagineDisegnaLaFiguraStirata()
{
    QTemporaryDir dir;
    QImage img(2, 1, QImage::Format_ARGB32);
    img.setPixelColor(0, 0, Qt::red);
    img.setPixelColor(1, 0, Qt::blue);
    QVERIFY(img.save(dir.path() + "/2.gif", "PNG"));
    Ambiente amb(dir.path());
    QWidget padre;
    padre.resize(200, 200);
    ControlloImmagine c(&padre, QStringLiteral("Image1(0)"), QRect(0, 0, 1095, 1095));
    QCOMPARE(c.size(), QSize(73, 73));
    QVERIFY(c.Vuoto());
    c.ImpostaFigura(dir.path() + "/2.gif");
    QCOMPARE(c.Figura(), dir.path() + "/2.gif");
    // Decoded at the control's size when set: the file changed afterwards is not read
    // again, neither to paint nor for a control of the same size.
    img.setPixelColor(0, 0, Qt::green);
    img.setPixelColor(1, 0, Qt::green);
    QVERIFY(img.save(dir.path() + "/2.gif", "PNG"));
    const QImage shot = c.grab().toImage();
    QCOMPARE(shot.pixelColor(5, 36), QColor(Qt::red));
    QCOMPARE(shot.pixelColor(68, 36), QColor(Qt::blue));
    ControlloImmagine altro(&padre, QStringLiteral("Image1(1)"), QRect(1095, 0, 1095, 1095));
    altro.Prepara(dir.path() + "/2.gif");
    altro.ImpostaFigura(dir.path() + "/2.gif");
    QCOMPARE(altro.grab().toImage().pixelColor(68, 36), QColor(Qt::blue));
    c.Svuota();
    QVERIFY(c.Vuoto());
}

QTEST_MAIN(TestFigure)
#include "test_figure.moc"
