// Window colours, the praise and error sounds, the information box and the counters.
#include "Supporto.h"

#include "app/Casuale.h"
#include "app/Modulo1.h"
#include "app/ModuloColoriSuoni.h"
#include "ui/Finestre.h"
#include "app/LettoreQt.h"
#include "windows/FormAvvio.h"

#include <QProcess>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <atomic>
#include <optional>
#include <cmath>
#include <thread>
#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

// Qt Multimedia leaves behind, when the process ends, what its loader made for a sound it
// never got ready (the rows "formato di 17 byte" and the like): its loading thread is gone
// before those are deleted. With the sanitizers, whole stacks tell them apart.
extern "C" const char* __asan_default_options() { return "fast_unwind_on_malloc=0"; }
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:QSample::load\nleak:QSample::cleanup\nleak:QWaveDecoder::QWaveDecoder\n"
           "leak:QSampleCache::QSampleCache\nleak:QThread::exec\n";
}

namespace {
struct Rgb {
    int r, g, b;
};
ColoreBGR DaRgb(Rgb c) { return ColoreBGR(c.r) | (ColoreBGR(c.g) << 8) | (ColoreBGR(c.b) << 16); }

// The tables as (red, green, blue), entries 1 to 18.
const Rgb primaTabella[18] = {{255, 192, 192}, {255, 128, 128}, {255, 192, 192}, {255, 192, 128}, {255, 128, 0},
                              {0, 255, 255},   {255, 255, 0},   {192, 64, 0},    {128, 255, 128}, {0, 192, 0},
                              {192, 255, 255}, {0, 255, 255},   {192, 192, 255}, {255, 192, 255}, {255, 192, 255},
                              {224, 224, 224}, {255, 192, 255}, {255, 0, 255}};

std::array<ColoreBGR, 19> Attesa(TabellaColori t)
{
    std::array<ColoreBGR, 19> a{};
    for (int i = 0; i < 18; ++i)
        a[std::size_t(i + 1)] = DaRgb(primaTabella[i]);
    if (t == TabellaColori::Esercizi) {
        a[6] = DaRgb({255, 255, 192});
        a[7] = DaRgb({255, 192, 192});
        a[10] = DaRgb({192, 192, 255});
    } else if (t == TabellaColori::Ordina) {
        a[3] = DaRgb({255, 0, 0});
        a[6] = DaRgb({255, 255, 192});
        a[17] = DaRgb({0, 0, 255});
    }
    return a;
}

const TabellaColori tutte[] = {TabellaColori::AvvioMenu, TabellaColori::Esercizi, TabellaColori::Ordina};
} // namespace

class TestColoriSuoni : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void tabelleComeDaElenco();
    void caricaColoriUnaEstrazioneLaVoceDellaFormula();
    void soloLaTabellaDiOrdinaDaRossoEBluPuri();
    void generatoreUniformeESeminato();
    void suonoEsattoPerFasceDiR();
    void suonoErratoECartellaConSpaziEAccenti();
    void lettoreRealeSuonoPredefinitoPerFileGuasti_data();
    void lettoreRealeSuonoPredefinitoPerFileGuasti();
    void senzaModuloSempreIlSuonoPredefinito_data();
    void senzaModuloSempreIlSuonoPredefinito();
    void informazioniInQuattroRighe();
    void contatoriSiFermanoA32767();

private:
    // A sound server of the test's own whose one device plays into nothing, so that the
    // sounds really play, and can fail to, wherever PulseAudio is installed.
    QTemporaryDir audio_;
    QProcess serverAudio_;
};

void TestColoriSuoni::initTestCase()
{
    const QString pulseaudio = QStandardPaths::findExecutable(QStringLiteral("pulseaudio"));
    const QString presa = audio_.path() + QStringLiteral("/presa");
    if (pulseaudio.isEmpty() || !QDir().mkdir(audio_.path() + QStringLiteral("/run")))
        return;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), audio_.path());
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), audio_.path() + QStringLiteral("/run"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), audio_.path());
    serverAudio_.setProcessEnvironment(env);
    serverAudio_.start(pulseaudio, {QStringLiteral("-n"), QStringLiteral("--daemonize=no"),
                                    QStringLiteral("--use-pid-file=no"), QStringLiteral("--exit-idle-time=-1"),
                                    QStringLiteral("--load=module-native-protocol-unix socket=%1 auth-anonymous=1").arg(presa),
                                    QStringLiteral("--load=module-null-sink")});
    if (!serverAudio_.waitForStarted() || !QTest::qWaitFor([&] { return QFileInfo::exists(presa); }, 20000)) {
        cleanupTestCase();
        return;
    }
    // Read by the sound system when the first sound is played.
    qputenv("PULSE_SERVER", "unix:" + QFile::encodeName(presa));
    qputenv("PULSE_COOKIE", QFile::encodeName(audio_.path() + QStringLiteral("/cookie")));
}

void TestColoriSuoni::cleanupTestCase()
{
    serverAudio_.terminate();
    if (!serverAudio_.waitForFinished(5000))
        serverAudio_.kill();
}

void TestColoriSuoni::tabelleComeDaElenco()
{
    for (TabellaColori t : tutte) {
        const auto& c = ModuloColoriSuoni::Colori(t);
        const auto a = Attesa(t);
        QCOMPARE(c[0], 0u);
        for (int i = 1; i <= 18; ++i)
            QVERIFY2(c[std::size_t(i)] == a[std::size_t(i)], qPrintable(QStringLiteral("entry %1").arg(i)));
    }
}

void TestColoriSuoni::caricaColoriUnaEstrazioneLaVoceDellaFormula()
{
    Ambiente amb;
    CasualeScriptato draws{0.0f};
    auto* f = Finestre::Mostra<FormAvvio>();
    QVERIFY(draws.Finiti());
    QCOMPARE(f->ColoreSfondo(), DaRgb({255, 192, 192}));
    for (TabellaColori t : tutte) {
        const auto a = Attesa(t);
        // Every entry is reachable, with r at both ends of its band.
        for (int n = 1; n <= 18; ++n) {
            for (float r : {float(n - 1) / 18.0f + 1e-6f, std::nextafter(float(n) / 18.0f, 0.0f)}) {
                draws.Aggiungi(r);
                ModuloColoriSuoni::CaricaColori(*f, t);
                QVERIFY(draws.Finiti()); // exactly one draw
                QCOMPARE(f->ColoreSfondo(), a[std::size_t(n)]);
            }
        }
        draws.Aggiungi(std::nextafter(1.0f, 0.0f));
        ModuloColoriSuoni::CaricaColori(*f, t);
        QCOMPARE(f->ColoreSfondo(), a[18]);
    }
    // The colour reaches the window: labels are transparent and show it through.
    draws.Aggiungi(CasualeScriptato::Per(17, 18));
    ModuloColoriSuoni::CaricaColori(*f, TabellaColori::AvvioMenu);
    QCOMPARE(SfondoVisto(f), QColor(255, 0, 255));
}

void TestColoriSuoni::soloLaTabellaDiOrdinaDaRossoEBluPuri()
{
    const ColoreBGR rosso = DaRgb({255, 0, 0}), blu = DaRgb({0, 0, 255});
    for (TabellaColori t : tutte) {
        const auto& c = ModuloColoriSuoni::Colori(t);
        const bool haRossoOBlu = std::find(c.begin() + 1, c.end(), rosso) != c.end() ||
                                 std::find(c.begin() + 1, c.end(), blu) != c.end();
        QCOMPARE(haRossoOBlu, t == TabellaColori::Ordina);
        QVERIFY(std::find(c.begin() + 1, c.end(), 0u) == c.end()); // never black
    }
}

void TestColoriSuoni::generatoreUniformeESeminato()
{
    Casuale::Semina(1);
    std::array<int, 18> conti{};
    const int n = 180000;
    for (int i = 0; i < n; ++i) {
        const float r = Casuale::Rnd();
        QVERIFY(r >= 0.0f && r < 1.0f);
        ++conti[std::size_t(std::floor(double(r) * 18))];
    }
    for (int c : conti) // each about 10000; 5 standard deviations is about 480
        QVERIFY2(std::abs(c - 10000) < 500, qPrintable(QString::number(c)));
    Casuale::Semina(42);
    const float a = Casuale::Rnd();
    Casuale::Semina(42);
    QCOMPARE(Casuale::Rnd(), a);
    Casuale::Semina(43);
    QVERIFY(Casuale::Rnd() != a);
}

void TestColoriSuoni::suonoEsattoPerFasceDiR()
{
    Ambiente amb;
    CasualeScriptato draws{0.0f, 0.2499f, 0.25f, 0.4999f, 0.5f, 0.7499f, 0.75f, std::nextafter(1.0f, 0.0f)};
    for (int i = 0; i < 8; ++i)
        ModuloColoriSuoni::SuonoEsatto();
    QVERIFY(draws.Finiti());
    const QString s = Ambiente::Risorse() + QStringLiteral("/suoni/");
    QCOMPARE(amb.suoni.percorsi, (QStringList{s + "si1.wav", s + "si1.wav", s + "si2.wav", s + "si2.wav",
                                              s + "si3.wav", s + "si3.wav", s + "si4.wav", s + "si4.wav"}));
}

void TestColoriSuoni::suonoErratoECartellaConSpaziEAccenti()
{
    QTemporaryDir base;
    const QString cartella = base.path() + QStringLiteral("/Giochi di Ànna è più/");
    QVERIFY(QDir().mkpath(cartella));
    Ambiente amb(cartella);
    CasualeScriptato draws{0.6f};
    ModuloColoriSuoni::SuonoErrato();
    ModuloColoriSuoni::SuonoEsatto();
    QVERIFY(draws.Finiti());
    const QString attesa = base.path() + QStringLiteral("/Giochi di Ànna è più/suoni/");
    QCOMPARE(amb.suoni.percorsi, (QStringList{attesa + "no.wav", attesa + "si3.wav"}));
}

namespace {
// The program's own lines in the log ("Tivoro: ...") while it lives.
struct Registro {
    Registro()
    {
        attivo = this;
        precedente = qInstallMessageHandler([](QtMsgType t, const QMessageLogContext& c, const QString& m) {
            attivo->righe.append(m);
            if (attivo->precedente)
                attivo->precedente(t, c, m);
        });
    }
    ~Registro()
    {
        qInstallMessageHandler(precedente);
        attivo = nullptr;
    }
    int Nominano(const QString& parte) const
    {
        return int(std::count_if(righe.begin(), righe.end(), [&](const QString& r) {
            return r.startsWith(QLatin1String("Tivoro:")) && r.contains(parte);
        }));
    }
    QStringList righe;
    QtMessageHandler precedente = nullptr;
    static inline Registro* attivo = nullptr;
};

QByteArray NoWav()
{
    QFile f(Ambiente::Risorse() + QStringLiteral("/suoni/no.wav"));
    if (!f.open(QIODevice::ReadOnly) || f.size() < 44)
        qFatal("The shipped suoni/no.wav cannot be read");
    return f.readAll();
}

// no.wav with a little-endian field of the header changed: the format tag at 20 (2 bytes),
// the data size at 40 (4 bytes).
QByteArray NoWavCon(int pos, quint32 valore, int byte = 4)
{
    QByteArray d = NoWav();
    for (int i = 0; i < byte; ++i)
        d[pos + i] = char((valore >> (8 * i)) & 0xFF);
    return d;
}

// A part of a wave file, padded to an even length; the file of such parts.
QByteArray Parte(const char* nome, const QByteArray& dati)
{
    QByteArray p = QByteArray(nome, 4) + QByteArray(4, 0) + dati;
    qToLittleEndian<quint32>(quint32(dati.size()), p.data() + 4);
    return dati.size() % 2 ? p + '\0' : p;
}
QByteArray Riff(const QByteArray& parti) { return Parte("RIFF", "WAVE" + parti); }

// no.wav's format with another number of samples a second, and its samples.
QByteArray Formato(quint32 frequenza = 22050)
{
    QByteArray f = NoWav().mid(20, 16);
    qToLittleEndian<quint32>(frequenza, f.data() + 4);
    qToLittleEndian<quint32>(frequenza * 2, f.data() + 8);
    return f;
}
QByteArray Campioni() { return Parte("data", NoWav().mid(44)); }

QByteArray NoWavDispari()
{
    QByteArray d = NoWavCon(40, quint32(NoWav().size() - 44 - 1));
    d.chop(1);
    return d;
}

#ifdef Q_OS_UNIX
// Calls f while watching the FIFO: if someone opens it for reading meanwhile (and so
// blocks), it is opened for writing and closed again, which lets the reader go on;
// returns whether that happened.
bool BloccatoSu(const QString& fifo, const std::function<void()>& f)
{
    std::atomic<bool> finito{false}, bloccato{false};
    std::thread guardia([&] {
        const QByteArray nome = QFile::encodeName(fifo);
        while (!finito) {
            const int fd = ::open(nome.constData(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0) {
                bloccato = true;
                ::close(fd);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    });
    f();
    finito = true;
    guardia.join();
    return bloccato;
}
#endif
} // namespace

void TestColoriSuoni::lettoreRealeSuonoPredefinitoPerFileGuasti_data()
{
    QTest::addColumn<QString>("tipo"); // "file" (with contenuto), "manca", "cartella", "fifo", "300MB"
    QTest::addColumn<QByteArray>("contenuto");
    QTest::addColumn<bool>("guasto");    // it cannot be played
    QTest::addColumn<QString>("quando"); // known "subito" (before Suona returns), "dopo" or "mai"
                                         // (Qt Multimedia never gets it ready)
    QTest::addColumn<bool>("unAltro");   // a good sound asked for right after it
    QTest::addColumn<QString>("motivo"); // in the log line

    QTest::newRow("buono") << "file" << NoWav() << false << "subito" << false << "";
    QTest::newRow("mancante") << "manca" << QByteArray() << true << "subito" << false << "it is missing";
    QTest::newRow("cartella") << "cartella" << QByteArray() << true << "subito" << false << "";
#ifdef Q_OS_UNIX
    QTest::newRow("fifo") << "fifo" << QByteArray() << true << "subito" << false << "";
    QTest::newRow("cartella chiusa") << "cartella chiusa" << NoWav() << true << "subito" << false
                                     << "its folder %1 cannot be opened: permission denied";
    QTest::newRow("collegamento a nulla") << "rotto" << QByteArray() << true << "subito" << false
                                          << "it is a link that leads to no file";
#endif
    QTest::newRow("non un suono") << "file" << QByteArray("questo non è un suono") << true << "subito" << false << "";
    QTest::newRow("troncato") << "file" << NoWav().left(20000) << true << "subito" << false << "";
    QTest::newRow("dati dispari") << "file" << NoWavDispari() << true << "subito" << false << "";
    QTest::newRow("dati di 4 GB") << "file" << NoWavCon(40, 0xFFFFFFFFu) << true << "subito" << false << "";
    QTest::newRow("collegamento a 300 MB") << "300MB" << QByteArray() << true << "subito" << false << "";
    // Played through the sound system, 10 samples a second end the program.
    QTest::newRow("10 campioni al secondo") << "file" << Riff(Parte("fmt ", Formato(10)) + Campioni()) << true
                                            << "subito" << false << "";
    // A format tag Qt Multimedia does not decode: only Qt can tell, after Suona.
    QTest::newRow("codifica ignota") << "file" << NoWavCon(20, 0x55, 2) << true << "dopo" << false << "";
    QTest::newRow("codifica ignota, poi un altro") << "file" << NoWavCon(20, 0x55, 2) << true << "dopo" << true << "";
    // Whole and well made, but a part of odd length before the samples leads Qt Multimedia
    // astray, and it waits for ever for the rest.
    const QByteArray formato17 = Riff(Parte("fmt ", Formato() + '\0') + Campioni());
    QTest::newRow("formato di 17 byte") << "file" << formato17 << true << "mai" << false << "did not get it ready";
    QTest::newRow("formato di 17 byte, poi un altro") << "file" << formato17 << true << "mai" << true << "";
    QTest::newRow("formato di 18 byte, poi una parte dispari")
        << "file" << Riff(Parte("fmt ", Formato() + QByteArray(2, 0)) + Parte("LIST", "tre") + Campioni()) << true
        << "mai" << false << "";
    // Ready, but no device takes 10 million samples a second: the sound system stops it at once.
    QTest::newRow("nessun dispositivo lo prende") << "file" << Riff(Parte("fmt ", Formato(10000000)) + Campioni())
                                                  << true << "dopo" << false << "stopped it before it played";
}

void TestColoriSuoni::lettoreRealeSuonoPredefinitoPerFileGuasti()
{
    QFETCH(QString, tipo);
    QFETCH(QByteArray, contenuto);
    QFETCH(bool, guasto);
    QFETCH(QString, quando);
    QFETCH(bool, unAltro);
    QFETCH(QString, motivo);
    if (QTest::currentDataTag() == QByteArray("nessun dispositivo lo prende") &&
        serverAudio_.state() != QProcess::Running)
        QSKIP("PulseAudio is needed for a sound device of the test's own");
    QTemporaryDir dir;
    const QString suono = dir.path() + QStringLiteral("/suono.wav");
    if (tipo == QLatin1String("file") || tipo == QLatin1String("cartella chiusa")) {
        QFile f(suono);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(contenuto) == contenuto.size());
    } else if (tipo == QLatin1String("cartella")) {
        QVERIFY(QDir().mkdir(suono));
    } else if (tipo == QLatin1String("fifo")) {
#ifdef Q_OS_UNIX
        QCOMPARE(::mkfifo(QFile::encodeName(suono).constData(), 0600), 0);
#endif
    } else if (tipo == QLatin1String("300MB")) {
        // A whole wave file of 300 MB (sparse on disk), behind a link.
        const QString grande = dir.path() + QStringLiteral("/grande.wav");
        QFile f(grande);
        const qint64 dati = 300LL * 1024 * 1024;
        const QByteArray testa = NoWavCon(40, quint32(dati)).left(44);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(testa) == 44 && f.resize(44 + dati));
        f.close();
        QVERIFY(QFile::link(grande, suono));
    } else if (tipo == QLatin1String("rotto")) {
        QVERIFY(QFile::link(QStringLiteral("nessuno.wav"), suono));
    }
    Registro registro;
    int sentiti = 0;
    LettoreQt lettore([&] { ++sentiti; }, QStringLiteral(TIVORO_MODULE_DIR));
    std::optional<ComeUtente> utente; // a folder that may not be looked into, for a user
    if (tipo == QLatin1String("cartella chiusa")) {
        QVERIFY(QFile::setPermissions(dir.path(), QFile::WriteOwner));
        utente.emplace();
    }
    lettore.Suona(suono);
    if (quando == QLatin1String("subito"))
        QCOMPARE(sentiti, guasto ? 1 : 0);
    if (unAltro)
        lettore.Suona(Ambiente::Risorse() + QStringLiteral("/suoni/si1.wav"));
    // A late default sound would sound over the newer one.
    const int attesi = guasto && !unAltro ? 1 : 0;
    if (guasto && !unAltro)
        QTRY_VERIFY(sentiti > 0);
    else // time for a late one to come (Qt gives up waiting for a sound to get ready)
        (void)QTest::qWaitFor([&] { return registro.Nominano(suono) > 0 || sentiti > attesi; }, guasto ? 3000 : 300);
    QCOMPARE(sentiti, attesi);
    // The same file again: the default sound once more, and no second line in the log.
    lettore.Suona(suono);
    if (quando == QLatin1String("mai"))
        QTRY_COMPARE(sentiti, attesi + 1);
    QCOMPARE(sentiti, attesi + (guasto ? 1 : 0));
    QCOMPARE(registro.Nominano(suono), guasto ? 1 : 0);
    if (!motivo.isEmpty())
        QCOMPARE(registro.Nominano(QString(motivo).replace(QStringLiteral("%1"), dir.path())), 1);
    utente.reset();
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void TestColoriSuoni::senzaModuloSempreIlSuonoPredefinito_data()
{
    QTest::addColumn<QString>("modulo"); // what stands in the module's place
    QTest::newRow("nessuno") << "";
    QTest::newRow("una cartella") << "cartella";
#ifdef Q_OS_UNIX
    QTest::newRow("una fifo") << "fifo";
#endif
}

void TestColoriSuoni::senzaModuloSempreIlSuonoPredefinito()
{
    QFETCH(QString, modulo);
    QTemporaryDir dir;
    const QString nome = dir.path() + QStringLiteral("/" TIVORO_MODULO_SUONI);
    if (modulo == QLatin1String("cartella"))
        QVERIFY(QDir().mkdir(nome));
#ifdef Q_OS_UNIX
    if (modulo == QLatin1String("fifo"))
        QCOMPARE(::mkfifo(QFile::encodeName(nome).constData(), 0600), 0);
#endif
    Registro registro;
    int sentiti = 0;
    LettoreQt spoglio([&] { ++sentiti; }, dir.path());
    auto dueSuoni = [&] {
        spoglio.Suona(Ambiente::Risorse() + QStringLiteral("/suoni/si1.wav"));
        spoglio.Suona(Ambiente::Risorse() + QStringLiteral("/suoni/no.wav"));
    };
#ifdef Q_OS_UNIX
    QVERIFY2(!BloccatoSu(nome, dueSuoni), "the player opened what stands in the module's place");
#else
    dueSuoni();
#endif
    QCOMPARE(sentiti, 2);
    QCOMPARE(registro.Nominano(QStringLiteral("no sounds but the default one")), 1);
}

void TestColoriSuoni::informazioniInQuattroRighe()
{
    Ambiente amb;
    Modulo1::MostraInformazioni();
    QCOMPARE(amb.messaggi.informazioni.size(), 1);
    const QStringList righe = amb.messaggi.informazioni.front().split(QStringLiteral("\r\n"));
    QCOMPARE(righe.size(), 4);
    QVERIFY(righe[0].endsWith(QStringLiteral("  ")) && righe[0].trimmed().size() > 0);
    QCOMPARE(righe[1], u' ' + QString(23, u'-') + u' ');
    QVERIFY(righe[2].startsWith(QStringLiteral("https://")));
    QVERIFY(righe[3].startsWith(QStringLiteral("mail: ")) && righe[3].contains(u'@'));
    QVERIFY(!amb.messaggi.informazioni.front().contains(QStringLiteral("\n\n")));
}

void TestColoriSuoni::contatoriSiFermanoA32767()
{
    std::int16_t c = 32766;
    Modulo1::Aggiungi(c);
    QCOMPARE(c, std::int16_t(32767));
    Modulo1::Aggiungi(c);
    QCOMPARE(c, std::int16_t(32767));
}

QTEST_MAIN(TestColoriSuoni)
#include "test_colori_suoni.moc"
