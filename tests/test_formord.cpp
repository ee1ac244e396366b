// The number-ordering window: the deal, the drops on the boxes, the colours and counts
// they give, and the next game. The drop handler is called here as the boxes call it;
// test_trascinamento moves the tiles with real drags.
#include "Supporto.h"

#include "app/Casuale.h"
#include "app/Modulo1.h"
#include "app/ModuloColoriSuoni.h"
#include "exercises/FormOrd.h"
#include "ui/ControlloImmagine.h"
#include "ui/Controlli.h"
#include "ui/Finestre.h"
#include "ui/Trascinamento.h"
#include "windows/FormMenu.h"

#include <QDrag>
#include <QMimeData>
#include <QPushButton>
#include <QtTest>
#include <algorithm>
#include <memory>

namespace {

QRect Px(int l, int t, int w, int h) { return QRect(l / 15, t / 15, w / 15, h / 15); }

ModuloColoriSuoni::Colore Voce(int n) { return ModuloColoriSuoni::Colori(TabellaColori::Ordina)[std::size_t(n)]; }

// The draws of a new game: its colour, then one place draw for each of the nine places.
void Partita(CasualeScriptato& d, int colore, std::initializer_list<int> posti)
{
    d.DaUnoA(colore, 18);
    for (int p : posti)
        d.Indice(p, 9);
}

FormOrd* Apri(CasualeScriptato& d, int colore, std::initializer_list<int> posti)
{
    Partita(d, colore, posti);
    auto* f = Finestre::Mostra<FormOrd>();
    return f;
}

// The bottom row from left to right, as the child reads it.
QStringList RigaTessere(FormOrd* f)
{
    std::vector<Tessera*> t(f->Label3.begin(), f->Label3.end());
    std::sort(t.begin(), t.end(), [](Tessera* a, Tessera* b) { return a->x() < b->x(); });
    QStringList l;
    for (Tessera* x : t)
        l << x->text();
    return l;
}

QStringList RigaCaselle(FormOrd* f)
{
    QStringList l;
    for (Casella* c : f->Label4)
        l << c->text();
    return l;
}

QString Suono(const char* nome) { return ModuloColoriSuoni::FileSuono(QString::fromLatin1(nome)); }

} // namespace

class TestFormOrd : public QObject {
    Q_OBJECT
private slots:
    void finestraComeDaTabella();
    void scombiccheraPosti_data();
    void scombiccheraPosti();
    void dropSbagliatoPoiGiusto();
    void dropSbagliatoSuCasellaPiena();
    void giustoSuFinestraColorataNonCambiaColore();
    void noveGiustiPoiAvanti();
    void ritornoAllaFinestraNonDaNuovoGioco();
    void apertaDalMenu();
    void premereUnaTesseraAvviaUnTrascinamento();
    void datiEstraneiRifiutati();
};

void TestFormOrd::finestraComeDaTabella()
{
    Ambiente amb;
    CasualeScriptato draws;
    auto* f = Apri(draws, 3, {0, 0, 0, 0, 0, 0, 0, 0, 0});
    QVERIFY(draws.Finiti());
    QVERIFY(QTest::qWaitForWindowExposed(f));
    QCOMPARE(f->Client()->size(), QSize(687, 513));
    // Entry 3 of this window's table: pure red.
    QCOMPARE(f->ColoreSfondo(), 0x0000FFu);
    QCOMPARE(SfondoVisto(f), QColor(255, 0, 0));

    const int colonne[9] = {120, 1200, 2280, 3360, 4440, 5520, 6600, 7680, 8760};
    for (int i = 0; i < 9; ++i) {
        auto* casella = Controllo<Casella>(f, Controlli::NomeElemento("Label4", i));
        auto* tessera = Controllo<Tessera>(f, Controlli::NomeElemento("Label3", i));
        QVERIFY(casella && tessera);
        QCOMPARE(casella, f->Label4[std::size_t(i)]);
        QCOMPARE(tessera, f->Label3[std::size_t(i)]);
        QCOMPARE(casella->geometry(), Px(colonne[i], 1320, 1005, 1005));
        // All draws 0: tile i stands in column i.
        QCOMPARE(tessera->geometry(), Px(colonne[i], 3480, 1005, 1005));
        QCOMPARE(casella->text(), QString());
        QCOMPARE(tessera->text(), QString::number(i + 1));
        QVERIFY(tessera->isEnabled());
        for (QLabel* l : {static_cast<QLabel*>(casella), static_cast<QLabel*>(tessera)}) {
            QCOMPARE(l->font().pixelSize(), 48);
            QVERIFY(l->font().bold());
            QCOMPARE(l->alignment(), Qt::AlignCenter);
            QCOMPARE(l->frameShape(), QFrame::Box);
            QVERIFY(l->autoFillBackground());
            QCOMPARE(l->palette().color(QPalette::Window), QColor(Qt::white));
            // Drawn white inside a dark border on the red window.
            const QImage img = l->grab().toImage();
            QCOMPARE(img.pixelColor(3, 3), QColor(Qt::white));
            QVERIFY(qGray(img.pixel(0, 30)) < 100);
        }
        QVERIFY(casella->acceptDrops());
        QVERIFY(!tessera->acceptDrops());
    }

    // Faces and counts in one row at the top; both faces visible, the laughing one on top.
    QCOMPARE(f->ComandoIconaSi->geometry(), Px(2280, 120, 975, 855));
    QCOMPARE(f->ComandoIconaNo->geometry(), Px(2280, 120, 975, 855));
    QVERIFY(f->ComandoIconaSi->isVisible());
    QVERIFY(f->ComandoIconaNo->isVisible());
    const auto figli = f->Client()->children();
    QVERIFY(figli.indexOf(f->ComandoIconaSi) > figli.indexOf(f->ComandoIconaNo));
    QCOMPARE(f->Label1->geometry(), Px(3480, 480, 735, 375));
    QCOMPARE(f->EtichettaErrati->geometry(), Px(6360, 360, 855, 615));
    QCOMPARE(f->EtichettaEsatti->text(), QStringLiteral("0"));
    QCOMPARE(f->EtichettaErrati->text(), QStringLiteral("0"));
    QCOMPARE(f->BottoneAvanti->geometry(), Px(6600, 5160, 1905, 855));
    QVERIFY(!f->BottoneAvanti->isEnabled());
    QCOMPARE(f->Sistemati, std::int16_t(0));
    QCOMPARE(f->MenuAzzera->text(), QStringLiteral("Azzera conteggio          "));
}

void TestFormOrd::scombiccheraPosti_data()
{
    QTest::addColumn<QList<int>>("estratti");
    QTest::addColumn<QStringList>("riga");
    QTest::newRow("tutti 0") << QList<int>{0, 0, 0, 0, 0, 0, 0, 0, 0}
                             << QStringList{"1", "2", "3", "4", "5", "6", "7", "8", "9"};
    QTest::newRow("tutti 8") << QList<int>{8, 8, 8, 8, 8, 8, 8, 8, 8}
                             << QStringList{"9", "1", "2", "3", "4", "5", "6", "7", "8"};
    QTest::newRow("tutti 3") << QList<int>{3, 3, 3, 3, 3, 3, 3, 3, 3}
                             << QStringList{"4", "5", "6", "7", "8", "9", "1", "2", "3"};
    // 5, then 5 again (taken: 6), 0, 8, 2, 2 again (taken: 3), 7, 1, 4.
    QTest::newRow("misti") << QList<int>{5, 5, 0, 8, 2, 2, 7, 1, 4}
                           << QStringList{"6", "7", "1", "9", "3", "4", "8", "2", "5"};
    // 7, 8, then 7 (taken, 8 taken, round to 0), 8 (round to 1), ...
    QTest::newRow("giro") << QList<int>{7, 8, 7, 8, 6, 6, 6, 6, 6}
                          << QStringList{"8", "9", "1", "2", "7", "3", "4", "5", "6"};
}

void TestFormOrd::scombiccheraPosti()
{
    QFETCH(QList<int>, estratti);
    QFETCH(QStringList, riga);
    Ambiente amb;
    CasualeScriptato draws;
    auto* f = Apri(draws, 1, {0, 0, 0, 0, 0, 0, 0, 0, 0});
    for (int e : estratti)
        draws.Indice(e, 9);
    f->ScombiccheraPosti();
    QVERIFY(draws.Finiti());
    QCOMPARE(RigaTessere(f), riga);
    // Every tile in one of the nine columns, under its own box's row, each column once.
    QSet<int> colonne;
    for (int i = 0; i < 9; ++i) {
        Tessera* t = f->Label3[std::size_t(i)];
        QCOMPARE(t->text(), QString::number(i + 1));
        QCOMPARE(t->y(), 232);
        colonne.insert(t->x());
    }
    QCOMPARE(colonne, (QSet<int>{8, 80, 152, 224, 296, 368, 440, 512, 584}));
}

void TestFormOrd::dropSbagliatoPoiGiusto()
{
    Ambiente amb;
    CasualeScriptato draws;
    auto* f = Apri(draws, 5, {8, 8, 8, 8, 8, 8, 8, 8, 8});
    const auto colore = f->ColoreSfondo();
    Tessera* tre = f->Label3[2];

    // "3" on the sixth box: wrong.
    f->Label4_DragDrop(5, tre);
    QVERIFY(!f->ComandoIconaSi->isVisible());
    QVERIFY(f->ComandoIconaNo->isVisible());
    QCOMPARE(Modulo1::NumeroErrati, std::int16_t(1));
    QCOMPARE(f->EtichettaErrati->text(), QStringLiteral(" 1"));
    QCOMPARE(f->EtichettaEsatti->text(), QStringLiteral("0"));
    QCOMPARE(f->ColoreSfondo(), 0u);
    QCOMPARE(SfondoVisto(f), QColor(Qt::black));
    QCOMPARE(amb.suoni.percorsi, QStringList{Suono("no.wav")});
    // Nothing moved.
    QCOMPARE(RigaCaselle(f), QStringList(9));
    QCOMPARE(tre->text(), QStringLiteral("3"));
    QVERIFY(tre->isEnabled());
    QCOMPARE(f->Sistemati, std::int16_t(0));

    // Two more wrong drops: each counts and sounds; the window stays black.
    f->Label4_DragDrop(0, tre);
    f->Label4_DragDrop(8, f->Label3[0]);
    QCOMPARE(f->EtichettaErrati->text(), QStringLiteral(" 3"));
    QCOMPARE(amb.suoni.percorsi, (QStringList{Suono("no.wav"), Suono("no.wav"), Suono("no.wav")}));
    QCOMPARE(f->ColoreSfondo(), 0u);
    QVERIFY(colore != 0u);

    // "3" on its own box: right, and the black window gets a new colour.
    draws.DaUnoA(17, 18);
    f->Label4_DragDrop(2, tre);
    QVERIFY(draws.Finiti());
    QCOMPARE(f->ColoreSfondo(), Voce(17));
    QCOMPARE(f->ColoreSfondo(), 0xFF0000u); // pure blue, only this window has it
    QCOMPARE(RigaCaselle(f), (QStringList{"", "", "3", "", "", "", "", "", ""}));
    QCOMPARE(tre->text(), QString());
    QVERIFY(!tre->isEnabled());
    QVERIFY(f->ComandoIconaSi->isVisible());
    QVERIFY(!f->ComandoIconaNo->isVisible());
    QCOMPARE(Modulo1::NumeroEsatti, std::int16_t(1));
    QCOMPARE(f->EtichettaEsatti->text(), QStringLiteral(" 1"));
    QCOMPARE(f->EtichettaErrati->text(), QStringLiteral(" 3"));
    QCOMPARE(f->Sistemati, std::int16_t(1));
    QVERIFY(!f->BottoneAvanti->isEnabled());
    // No sound for a right drop.
    QCOMPARE(amb.suoni.percorsi.size(), 3);
    // The tile keeps its place in the row, blank.
    QCOMPARE(RigaTessere(f), (QStringList{"9", "1", "2", "", "4", "5", "6", "7", "8"}));
}

void TestFormOrd::dropSbagliatoSuCasellaPiena()
{
    Ambiente amb;
    CasualeScriptato draws;
    auto* f = Apri(draws, 2, {0, 0, 0, 0, 0, 0, 0, 0, 0});
    f->Label4_DragDrop(4, f->Label3[4]);
    QCOMPARE(RigaCaselle(f), (QStringList{"", "", "", "", "5", "", "", "", ""}));

    // "6" on the box that already shows 5: wrong, and the box keeps its 5.
    f->Label4_DragDrop(4, f->Label3[5]);
    QCOMPARE(RigaCaselle(f), (QStringList{"", "", "", "", "5", "", "", "", ""}));
    QCOMPARE(f->Label3[5]->text(), QStringLiteral("6"));
    QVERIFY(f->Label3[5]->isEnabled());
    QCOMPARE(f->EtichettaErrati->text(), QStringLiteral(" 1"));
    QCOMPARE(f->EtichettaEsatti->text(), QStringLiteral(" 1"));
    QCOMPARE(f->Sistemati, std::int16_t(1));
    QCOMPARE(f->ColoreSfondo(), 0u);
    QVERIFY(f->ComandoIconaNo->isVisible());

    // A placed tile is out of play: a drop of it changes and counts nothing.
    f->Label4_DragDrop(4, f->Label3[4]);
    f->Label4_DragDrop(3, f->Label3[4]);
    f->Label4_DragDrop(3, nullptr);
    QCOMPARE(f->EtichettaEsatti->text(), QStringLiteral(" 1"));
    QCOMPARE(f->EtichettaErrati->text(), QStringLiteral(" 1"));
    QCOMPARE(f->Sistemati, std::int16_t(1));
    QVERIFY(draws.Finiti());
}

void TestFormOrd::giustoSuFinestraColorataNonCambiaColore()
{
    Ambiente amb;
    CasualeScriptato draws;
    auto* f = Apri(draws, 7, {0, 0, 0, 0, 0, 0, 0, 0, 0});
    QCOMPARE(f->ColoreSfondo(), Voce(7));
    // A draw here would run the script out and stop the test.
    f->Label4_DragDrop(0, f->Label3[0]);
    f->Label4_DragDrop(8, f->Label3[8]);
    QCOMPARE(f->ColoreSfondo(), Voce(7));
    QCOMPARE(f->EtichettaEsatti->text(), QStringLiteral(" 2"));
    QVERIFY(draws.Finiti());
    QVERIFY(amb.suoni.percorsi.isEmpty());
}

void TestFormOrd::noveGiustiPoiAvanti()
{
    Ambiente amb;
    CasualeScriptato draws;
    auto* f = Apri(draws, 4, {5, 5, 0, 8, 2, 2, 7, 1, 4});
    QVERIFY(QTest::qWaitForWindowExposed(f));
    // A wrong drop first: the sad face, then the rest right.
    f->Label4_DragDrop(0, f->Label3[1]);
    draws.DaUnoA(9, 18);
    const int ordine[9] = {6, 2, 0, 8, 1, 4, 3, 7, 5};
    for (int n = 0; n < 9; ++n) {
        QVERIFY(!f->BottoneAvanti->isEnabled());
        const int i = ordine[n];
        f->Label4_DragDrop(std::int16_t(i), f->Label3[std::size_t(i)]);
        QCOMPARE(f->Sistemati, std::int16_t(n + 1));
    }
    QVERIFY(draws.Finiti());
    QCOMPARE(f->ColoreSfondo(), Voce(9));
    QVERIFY(f->BottoneAvanti->isEnabled());
    QCOMPARE(RigaCaselle(f), (QStringList{"1", "2", "3", "4", "5", "6", "7", "8", "9"}));
    QCOMPARE(RigaTessere(f), QStringList(9));
    for (Tessera* t : f->Label3)
        QVERIFY(!t->isEnabled());
    QCOMPARE(f->EtichettaEsatti->text(), QStringLiteral(" 9"));
    QCOMPARE(f->EtichettaErrati->text(), QStringLiteral(" 1"));

    // "avanti": a new game in a new colour; the praise face stays; the counts stay.
    Partita(draws, 12, {0, 0, 0, 0, 0, 0, 0, 0, 0});
    QTest::mouseClick(f->BottoneAvanti, Qt::LeftButton);
    QVERIFY(draws.Finiti());
    QCOMPARE(f->ColoreSfondo(), Voce(12));
    QVERIFY(!f->BottoneAvanti->isEnabled());
    QCOMPARE(f->Sistemati, std::int16_t(0));
    QCOMPARE(RigaCaselle(f), QStringList(9));
    QCOMPARE(RigaTessere(f), (QStringList{"1", "2", "3", "4", "5", "6", "7", "8", "9"}));
    for (Tessera* t : f->Label3)
        QVERIFY(t->isEnabled());
    QVERIFY(f->ComandoIconaSi->isVisible());
    QVERIFY(!f->ComandoIconaNo->isVisible());
    QCOMPARE(f->EtichettaEsatti->text(), QStringLiteral(" 9"));
    QCOMPARE(Modulo1::NumeroEsatti, std::int16_t(9));

    // The new game is played like the first, the count going on.
    f->Label4_DragDrop(0, f->Label3[0]);
    QCOMPARE(f->EtichettaEsatti->text(), QStringLiteral(" 10"));
    QVERIFY(f->ComandoIconaSi->isVisible());
    // Until the next wrong drop.
    f->Label4_DragDrop(0, f->Label3[1]);
    QVERIFY(!f->ComandoIconaSi->isVisible());
    QVERIFY(f->ComandoIconaNo->isVisible());
}

void TestFormOrd::ritornoAllaFinestraNonDaNuovoGioco()
{
    Ambiente amb;
    CasualeScriptato draws;
    auto* f = Apri(draws, 4, {3, 3, 3, 3, 3, 3, 3, 3, 3});
    f->Label4_DragDrop(3, f->Label3[3]);
    const QStringList riga = RigaTessere(f);
    // Becoming active again, or being shown again, draws nothing and deals nothing.
    f->Form_Activate();
    QCOMPARE(Finestre::Mostra<FormOrd>(), f);
    QVERIFY(draws.Finiti());
    QCOMPARE(RigaTessere(f), riga);
    QCOMPARE(RigaCaselle(f), (QStringList{"", "", "", "4", "", "", "", "", ""}));
    QCOMPARE(f->EtichettaEsatti->text(), QStringLiteral(" 1"));
}

void TestFormOrd::apertaDalMenu()
{
    Ambiente amb;
    Casuale::Semina(5);
    auto* menu = Finestre::Mostra<FormMenu>();
    Modulo1::NumeroEsatti = 0;
    {
        CasualeScriptato draws;
        Partita(draws, 6, {1, 1, 1, 1, 1, 1, 1, 1, 1});
        QTest::mouseClick(Controllo<QPushButton>(menu, QStringLiteral("Command5")), Qt::LeftButton);
        QVERIFY(draws.Finiti());
    }
    Consegna();
    auto* f = Finestre::Cerca<FormOrd>();
    QVERIFY(f);
    QCOMPARE(FinestreVisibili(), QList<Finestra*>{f});
    QCOMPARE(f->ColoreSfondo(), Voce(6));
    QCOMPARE(RigaTessere(f), (QStringList{"2", "3", "4", "5", "6", "7", "8", "9", "1"}));
    QCOMPARE(f->EtichettaEsatti->text(), QStringLiteral("0"));

    // Back to the menu and in again: a new game, counts from 0.
    f->Label4_DragDrop(1, f->Label3[1]);
    amb.messaggi.risposte = {true};
    {
        CasualeScriptato draws;
        draws.DaUnoA(1, 18); // the menu's colour
        f->mnuEsci_Click();
        QVERIFY(draws.Finiti());
    }
    Consegna();
    QVERIFY(!Finestre::Cerca<FormOrd>());
    {
        CasualeScriptato draws;
        Partita(draws, 2, {0, 0, 0, 0, 0, 0, 0, 0, 0});
        Finestre::Cerca<FormMenu>()->Command5_Click();
        QVERIFY(draws.Finiti());
    }
    Consegna();
    f = Finestre::Cerca<FormOrd>();
    QVERIFY(f);
    QCOMPARE(RigaCaselle(f), QStringList(9));
    QCOMPARE(f->EtichettaEsatti->text(), QStringLiteral("0"));
    QCOMPARE(Modulo1::NumeroEsatti, std::int16_t(0));
}

void TestFormOrd::premereUnaTesseraAvviaUnTrascinamento()
{
    Ambiente amb;
    CasualeScriptato draws;
    auto* f = Apri(draws, 4, {0, 0, 0, 0, 0, 0, 0, 0, 0});
    QVERIFY(QTest::qWaitForWindowExposed(f));
    Tessera* t = f->Label3[6];
    const QPoint premuto(20, 30);
    QTest::mousePress(t, Qt::LeftButton, {}, premuto);
    // The press made a drag, without any movement first: the tile's data and picture,
    // held where it was pressed. (Here it ends at once, as the platform cannot drag.)
    auto* drag = t->findChild<QDrag*>();
    QVERIFY(drag);
    QVERIFY(drag->mimeData()->hasFormat(Tessera::TipoMime));
    QCOMPARE(Tessera::DaDati(drag->mimeData()), t);
    QCOMPARE(drag->mimeData()->formats(), QStringList{Tessera::TipoMime});
    QCOMPARE(drag->hotSpot(), premuto);
    QCOMPARE(drag->pixmap().toImage(), t->grab().toImage());
    QCOMPARE(t->EsitoUltimoTrascinamento(), Qt::IgnoreAction);
    QTest::mouseRelease(t, Qt::LeftButton, {}, premuto);
    Consegna();
    QVERIFY(!t->findChild<QDrag*>());
    // Only the left button drags.
    QTest::mousePress(t, Qt::RightButton, {}, premuto);
    QVERIFY(!t->findChild<QDrag*>());
    QTest::mouseRelease(t, Qt::RightButton, {}, premuto);
    // Pressing alone changes nothing.
    QCOMPARE(f->EtichettaEsatti->text(), QStringLiteral("0"));
    QCOMPARE(f->EtichettaErrati->text(), QStringLiteral("0"));
    QVERIFY(draws.Finiti());
}

void TestFormOrd::datiEstraneiRifiutati()
{
    Ambiente amb;
    CasualeScriptato draws;
    auto* f = Apri(draws, 4, {0, 0, 0, 0, 0, 0, 0, 0, 0});
    QMimeData testo;
    testo.setText(QStringLiteral("3"));
    QMimeData falsa; // another process's tile, or a tile long gone
    falsa.setData(Tessera::TipoMime, QByteArray("1 99999"));
    QMimeData rotta;
    rotta.setData(Tessera::TipoMime, QByteArray("tessera"));
    std::unique_ptr<QMimeData> vera(f->Label3[2]->DatiTrascinamento());
    QCOMPARE(Tessera::DaDati(vera.get()), f->Label3[2]);

    // A box takes a drag only when it brings a tile of this window in play.
    Casella* casella = f->Label4[2];
    const QPoint centro = casella->rect().center();
    const auto entra = [&](QMimeData* dati) {
        QDragEnterEvent e(centro, Qt::MoveAction, dati, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(casella, &e);
        return e.isAccepted();
    };
    for (QMimeData* dati : {&testo, &falsa, &rotta}) {
        QVERIFY(!Tessera::DaDati(dati));
        QVERIFY(!entra(dati));
    }
    QVERIFY(entra(vera.get()));
    QDropEvent lascia(QPointF(centro), Qt::MoveAction, vera.get(), Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(casella, &lascia);
    QVERIFY(lascia.isAccepted());
    QCOMPARE(RigaCaselle(f), (QStringList{"", "", "3", "", "", "", "", "", ""}));
    QCOMPARE(f->EtichettaEsatti->text(), QStringLiteral(" 1"));
    QCOMPARE(f->EtichettaErrati->text(), QStringLiteral("0"));
    // Once placed, the tile's data is refused.
    QVERIFY(!entra(vera.get()));
    QVERIFY(draws.Finiti());
}

QTEST_MAIN(TestFormOrd)
#include "test_formord.moc"
