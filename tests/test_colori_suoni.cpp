// Window colours, the praise and error sounds, the information box and the counters.
#include "Supporto.h"

#include "app/Casuale.h"
#include "app/Modulo1.h"
#include "app/ModuloColoriSuoni.h"
#include "ui/Finestre.h"
#include "ui/LettoreQt.h"
#include "windows/FormAvvio.h"

#include <QSet>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>

using ModuloColoriSuoni::Colore;

namespace {
struct Rgb {
    int r, g, b;
};
Colore DaRgb(Rgb c) { return Colore(c.r) | (Colore(c.g) << 8) | (Colore(c.b) << 16); }

// The tables as (red, green, blue), entries 1 to 18.
const Rgb primaTabella[18] = {{255, 192, 192}, {255, 128, 128}, {255, 192, 192}, {255, 192, 128}, {255, 128, 0},
                              {0, 255, 255},   {255, 255, 0},   {192, 64, 0},    {128, 255, 128}, {0, 192, 0},
                              {192, 255, 255}, {0, 255, 255},   {192, 192, 255}, {255, 192, 255}, {255, 192, 255},
                              {224, 224, 224}, {255, 192, 255}, {255, 0, 255}};

std::array<Colore, 19> Attesa(TabellaColori t)
{
    std::array<Colore, 19> a{};
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
    void tabelleComeDaElenco();
    void caricaColoriUnaEstrazioneLaVoceDellaFormula();
    void soloLaTabellaDiOrdinaDaRossoEBluPuri();
    void generatoreUniformeESeminato();
    void suonoEsattoPerFasceDiR();
    void suonoErratoECartellaConSpaziEAccenti();
    void lettoreRealeSuonoPredefinitoPerFileMancantiOIllegibili();
    void informazioniInQuattroRighe();
    void contatoriSiFermanoA32767();
};

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
    const Colore rosso = DaRgb({255, 0, 0}), blu = DaRgb({0, 0, 255});
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

void TestColoriSuoni::lettoreRealeSuonoPredefinitoPerFileMancantiOIllegibili()
{
    QTemporaryDir dir;
    int predefiniti = 0;
    LettoreQt lettore([&] { ++predefiniti; }, QStringLiteral(TIVORO_MODULE_DIR));
    lettore.Suona(dir.path() + QStringLiteral("/manca.wav"));
    QCOMPARE(predefiniti, 1);
    QVERIFY(lettore.ModuloCaricato());
    lettore.Suona(dir.path()); // a folder, not a file
    QCOMPARE(predefiniti, 2);
    QFile testo(dir.path() + QStringLiteral("/testo.wav"));
    QVERIFY(testo.open(QIODevice::WriteOnly));
    testo.write("questo non è un suono");
    testo.close();
    lettore.Suona(testo.fileName());
    QTRY_COMPARE(predefiniti, 3);
    // The same broken file again: one default sound per request.
    lettore.Suona(testo.fileName());
    QCOMPARE(predefiniti, 4);
    // A real sound plays (or stays silent on a machine without audio) with no default sound.
    lettore.Suona(Ambiente::Risorse() + QStringLiteral("/suoni/si1.wav"));
    lettore.Suona(Ambiente::Risorse() + QStringLiteral("/suoni/no.wav"));
    QTest::qWait(300);
    QCOMPARE(predefiniti, 4);

    // Without its sound module the program still answers every sound with the default one.
    int senzaModulo = 0;
    LettoreQt spoglio([&] { ++senzaModulo; }, dir.path());
    spoglio.Suona(Ambiente::Risorse() + QStringLiteral("/suoni/si1.wav"));
    spoglio.Suona(Ambiente::Risorse() + QStringLiteral("/suoni/no.wav"));
    QVERIFY(!spoglio.ModuloCaricato());
    QCOMPARE(senzaModulo, 2);
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
