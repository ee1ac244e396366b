// The number-ordering window: the deal, the drops on the boxes, the colours and counts
// they give, and the next game; tiles picked up and put on the boxes by taps and keys,
// and the focus. The drop handler is called here as the boxes call it;
// test_trascinamento drags the tiles with the pointer.
#include "Supporto.h"

#include "app/Casuale.h"
#include "app/Modulo1.h"
#include "app/ModuloColoriSuoni.h"
#include "exercises/FormOrd.h"
#include "ui/AnelloFocus.h"
#include "ui/Casella.h"
#include "ui/ControlloImmagine.h"
#include "ui/Controlli.h"
#include "ui/Finestre.h"
#include "ui/Tessera.h"
#include "windows/FormMenu.h"

#include <QAccessible>
#include <QApplication>
#include <QMimeData>
#include <QPushButton>
#include <QtTest>
#include <algorithm>
#include <memory>

namespace {

ColoreBGR Voce(int n) { return ModuloColoriSuoni::Colori(TabellaColori::Ordina)[std::size_t(n)]; }

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

// The boxes as one string, "." for an empty box: "..3......".
QString Caselle(FormOrd* f)
{
    QString s;
    for (Casella* c : f->Label4)
        s += c->text().isEmpty() ? QStringLiteral(".") : c->text();
    return s;
}

// The tile shown picked up, or -1: what a screen reader is told and what the eye sees
// (the orange frame inside the tile) must agree.
int Sollevata(FormOrd* f)
{
    int trovata = -1;
    for (int i = 0; i < 9; ++i) {
        Tessera* t = f->Label3[std::size_t(i)];
        const bool detta = t->accessibleDescription() == QStringLiteral("preso");
        const bool vista = t->grab().toImage().pixelColor(3, 3) == QColor(255, 122, 0);
        if (detta != vista)
            return -2;
        if (detta)
            trovata = trovata == -1 ? i : -3;
    }
    return trovata;
}

// The ring around a control of the window, seen in a picture of the whole window, on
// all sides: black at its outer edge, yellow up to the control's edge, black just inside.
bool Anello(Finestra* f, QWidget* w)
{
    const QImage img = f->grab().toImage();
    const QRect r(w->mapTo(f, QPoint(0, 0)), w->size());
    const QColor nero(Qt::black);
    const QColor giallo(255, 212, 0);
    const int fuori = AnelloFocus::Fuori;
    const QPoint centro = r.center();
    const QList<std::pair<QPoint, QPoint>> lati = {{QPoint(r.left() - 1, centro.y()), QPoint(-1, 0)},
                                                   {QPoint(r.right() + 1, centro.y()), QPoint(1, 0)},
                                                   {QPoint(centro.x(), r.top() - 1), QPoint(0, -1)},
                                                   {QPoint(centro.x(), r.bottom() + 1), QPoint(0, 1)}};
    for (const auto& [p, verso] : lati) {
        if (img.pixelColor(p) != giallo || img.pixelColor(p + verso * (fuori - 1)) != nero ||
            img.pixelColor(p - verso * AnelloFocus::Dentro) != nero)
            return false;
    }
    return true;
}

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
    void trascinamentoSoloOltreLaDistanza();
    void datiEstraneiRifiutati();
    void tocchiETasti_data();
    void tocchiETasti();
    void focusConITasti_data();
    void focusConITasti();
    void anelloDelFocus_data();
    void anelloDelFocus();
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

    for (int i = 0; i < 9; ++i) {
        auto* casella = Controllo<Casella>(f, Controlli::NomeElemento("Label4", i));
        auto* tessera = Controllo<Tessera>(f, Controlli::NomeElemento("Label3", i));
        QVERIFY(casella && tessera);
        QCOMPARE(casella, f->Label4[std::size_t(i)]);
        QCOMPARE(tessera, f->Label3[std::size_t(i)]);
        QCOMPARE(casella->geometry(), Posto(QStringLiteral("FormOrd"), QStringLiteral("Label4"), i));
        // All draws 0: tile i stands in column i.
        QCOMPARE(tessera->geometry(), Posto(QStringLiteral("FormOrd"), QStringLiteral("Label3"), i));
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
    QCOMPARE(f->ComandoIconaSi->geometry(), Cornice(QStringLiteral("riga"), QStringLiteral("facce")));
    QCOMPARE(f->ComandoIconaNo->geometry(), Cornice(QStringLiteral("riga"), QStringLiteral("facce")));
    QVERIFY(f->ComandoIconaSi->isVisible());
    QVERIFY(f->ComandoIconaNo->isVisible());
    const auto figli = f->Client()->children();
    QVERIFY(figli.indexOf(f->ComandoIconaSi) > figli.indexOf(f->ComandoIconaNo));
    QCOMPARE(f->Label1->geometry(), Px(3480, 480, 735, 375));
    QCOMPARE(f->EtichettaErrati->geometry(), Cornice(QStringLiteral("riga"), QStringLiteral("errati")));
    QCOMPARE(f->EtichettaEsatti->text(), QStringLiteral("0"));
    QCOMPARE(f->EtichettaErrati->text(), QStringLiteral("0"));
    QCOMPARE(f->BottoneAvanti->geometry(), Cornice(QStringLiteral("riga"), QStringLiteral("avanti")));
    QVERIFY(!f->BottoneAvanti->isEnabled());
    QCOMPARE(f->Sistemati(), std::int16_t(0));
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
    QCOMPARE(f->Sistemati(), std::int16_t(0));

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
    QCOMPARE(f->Sistemati(), std::int16_t(1));
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
    QCOMPARE(f->Sistemati(), std::int16_t(1));
    QCOMPARE(f->ColoreSfondo(), 0u);
    QVERIFY(f->ComandoIconaNo->isVisible());

    // A placed tile is out of play: a drop of it changes and counts nothing.
    f->Label4_DragDrop(4, f->Label3[4]);
    f->Label4_DragDrop(3, f->Label3[4]);
    f->Label4_DragDrop(3, nullptr);
    QCOMPARE(f->EtichettaEsatti->text(), QStringLiteral(" 1"));
    QCOMPARE(f->EtichettaErrati->text(), QStringLiteral(" 1"));
    QCOMPARE(f->Sistemati(), std::int16_t(1));
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
        QCOMPARE(f->Sistemati(), std::int16_t(n + 1));
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
    QCOMPARE(f->Sistemati(), std::int16_t(0));
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
    auto* f = Caricata<FormOrd>();
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
    QVERIFY(!Caricata<FormOrd>());
    {
        CasualeScriptato draws;
        Partita(draws, 2, {0, 0, 0, 0, 0, 0, 0, 0, 0});
        Caricata<FormMenu>()->Command5_Click();
        QVERIFY(draws.Finiti());
    }
    Consegna();
    f = Caricata<FormOrd>();
    QVERIFY(f);
    QCOMPARE(RigaCaselle(f), QStringList(9));
    QCOMPARE(f->EtichettaEsatti->text(), QStringLiteral("0"));
    QCOMPARE(Modulo1::NumeroEsatti, std::int16_t(0));
}

void TestFormOrd::trascinamentoSoloOltreLaDistanza()
{
    Ambiente amb;
    CasualeScriptato draws;
    auto* f = Apri(draws, 4, {0, 0, 0, 0, 0, 0, 0, 0, 0});
    QVERIFY(QTest::qWaitForWindowExposed(f));
    Tessera* t = f->Label3[6];
    const QPoint premuto(20, 30);
    const int distanza = QApplication::startDragDistance();
    // Only the left button, and only a move as far as the drag distance, drag.
    QTest::mousePress(t, Qt::RightButton, {}, premuto);
    QTest::mouseMove(t, premuto + QPoint(distanza + 5, 0));
    QTest::mouseRelease(t, Qt::RightButton, {}, premuto + QPoint(distanza + 5, 0));
    const auto figura = [f] { return f->findChild<QLabel*>(QStringLiteral("figuraTrascinata")); };
    QTest::mousePress(t, Qt::LeftButton, {}, premuto);
    QTest::mouseMove(t, premuto + QPoint(distanza - 1, 0));
    QVERIFY(!figura());
    QTest::mouseMove(t, premuto + QPoint(0, distanza));
    // The tile's picture, held where it was pressed, above the controls and out of the
    // pointer's way.
    QLabel* l = figura();
    QVERIFY(l && l->isVisible());
    QCOMPARE(l->parentWidget(), f);
    QCOMPARE(l->pos(), t->mapTo(f, QPoint(0, distanza)));
    QCOMPARE(l->pixmap().toImage(), t->grab().toImage());
    QCOMPARE(f->grab(l->geometry()).toImage(), t->grab().toImage());
    QVERIFY(l->testAttribute(Qt::WA_TransparentForMouseEvents));
    QTest::mouseRelease(t, Qt::LeftButton, {}, premuto + QPoint(0, distanza));
    QVERIFY(!figura());
    // A drag that lands nowhere counts nothing, and is no tap: nothing is picked up.
    QCOMPARE(Caselle(f), QStringLiteral("........."));
    QCOMPARE(Sollevata(f), -1);
    QCOMPARE(Modulo1::NumeroEsatti, std::int16_t(0));
    QCOMPARE(Modulo1::NumeroErrati, std::int16_t(0));
    QVERIFY(amb.suoni.percorsi.isEmpty());
    QVERIFY(draws.Finiti());
}

void TestFormOrd::datiEstraneiRifiutati()
{
    Ambiente amb;
    CasualeScriptato draws;
    auto* f = Apri(draws, 4, {0, 0, 0, 0, 0, 0, 0, 0, 0});
    QVERIFY(QTest::qWaitForWindowExposed(f));
    QMimeData testo;
    testo.setText(QStringLiteral("3"));
    QMimeData falsa; // another process's tile, or a tile long gone
    falsa.setData(Tessera::TipoMime, QByteArray("1 99999"));
    QMimeData rotta;
    rotta.setData(Tessera::TipoMime, QByteArray("tessera"));
    const std::unique_ptr<QMimeData> vera = DatiTrascinati(f->Label3[2], f->Label4[2]);
    QVERIFY(vera);
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

void TestFormOrd::tocchiETasti_data()
{
    // Gestures one after the other, on the window dealt with all draws 0 (tile i, number
    // i + 1, stands under box i): "T4" a click on tile 4, "C4" on box 4, "D" before them
    // a double click, "W4" a press on tile 4 that moves a little short of the drag
    // distance, "M4" one that moves as far (a drag), "F" a click on the window's ground,
    // "L" on a label, "A" on "avanti" (disabled), "E" Escape, "K" before T or C the
    // focus there and Space (tile) or Enter (box), "R" the same keys held down as X11 gives
    // them on a busy machine, "N" a new game, "H" the window hidden
    // and shown again, "U" before T, C or F a tap of a finger on a touch screen.
    QTest::addColumn<QString>("gesti");
    QTest::addColumn<QString>("caselle");
    QTest::addColumn<int>("esatti");
    QTest::addColumn<int>("errati");
    QTest::addColumn<int>("sollevata");
    QTest::newRow("tessera presa") << "T4" << "........." << 0 << 0 << 4;
    QTest::newRow("poi la sua casella") << "T4 C4" << "....5...." << 1 << 0 << -1;
    QTest::newRow("poi un'altra casella") << "T4 C3" << "........." << 0 << 1 << -1;
    QTest::newRow("poi una casella piena") << "T4 C4 T3 C4" << "....5...." << 1 << 1 << -1;
    QTest::newRow("casella senza tessera presa") << "C4" << "........." << 0 << 0 << -1;
    QTest::newRow("di nuovo la stessa tessera") << "T4 T4 C4" << "........." << 0 << 0 << -1;
    QTest::newRow("un'altra tessera") << "T4 T2" << "........." << 0 << 0 << 2;
    QTest::newRow("un'altra tessera, poi la sua casella") << "T4 T2 C2" << "..3......" << 1 << 0 << -1;
    QTest::newRow("Esc") << "T4 E C4" << "........." << 0 << 0 << -1;
    QTest::newRow("sulla finestra") << "T4 F C4" << "........." << 0 << 0 << -1;
    QTest::newRow("su un'etichetta") << "T4 L C4" << "........." << 0 << 0 << -1;
    QTest::newRow("su avanti disabilitato") << "T4 A C4" << "........." << 0 << 0 << -1;
    QTest::newRow("su una tessera sistemata") << "T4 C4 T2 T4 C2" << "....5...." << 1 << 0 << -1;
    QTest::newRow("una tessera sistemata non si prende") << "T4 C4 T4 C4" << "....5...." << 1 << 0 << -1;
    QTest::newRow("doppio clic sulla tessera") << "DT4" << "........." << 0 << 0 << 4;
    QTest::newRow("doppio clic sulla casella") << "T5 DC4" << "........." << 0 << 1 << -1;
    QTest::newRow("un tremolio resta un tocco") << "W4 C4" << "....5...." << 1 << 0 << -1;
    QTest::newRow("un trascinamento posa la presa") << "T2 M4 C2" << "........." << 0 << 0 << -1;
    QTest::newRow("nuova partita") << "T4 N C4" << "........." << 0 << 0 << -1;
    QTest::newRow("finestra nascosta") << "T4 H C4" << "........." << 0 << 0 << -1;
    QTest::newRow("tasti: presa") << "KT4" << "........." << 0 << 0 << 4;
    QTest::newRow("tasti: la sua casella") << "KT4 KC4" << "....5...." << 1 << 0 << -1;
    QTest::newRow("tasti: un'altra casella") << "KT4 KC0" << "........." << 0 << 1 << -1;
    QTest::newRow("tasti: posata di nuovo") << "KT4 KT4 KC4" << "........." << 0 << 0 << -1;
    QTest::newRow("tasti: Esc") << "KT4 E KC4" << "........." << 0 << 0 << -1;
    QTest::newRow("tasti: casella senza presa") << "KC4" << "........." << 0 << 0 << -1;
    QTest::newRow("tasti tenuti: presa, poi la sua casella") << "RT4 RC4" << "....5...." << 1 << 0 << -1;
    QTest::newRow("tasti tenuti: presa e posata") << "RT4 RT4" << "........." << 0 << 0 << -1;
    QTest::newRow("tocco, poi tasto") << "T7 KC7" << ".......8." << 1 << 0 << -1;
    QTest::newRow("col dito") << "UT4 UC4" << "....5...." << 1 << 0 << -1;
    QTest::newRow("col dito, posata altrove") << "UT4 UF UC4" << "........." << 0 << 0 << -1;
}

void TestFormOrd::tocchiETasti()
{
    QFETCH(QString, gesti);
    QFETCH(QString, caselle);
    QFETCH(int, esatti);
    QFETCH(int, errati);
    QFETCH(int, sollevata);
    Ambiente amb;
    CasualeScriptato draws;
    auto* f = Apri(draws, 4, {0, 0, 0, 0, 0, 0, 0, 0, 0});
    QVERIFY(QTest::qWaitForWindowExposed(f));
    const int distanza = QApplication::startDragDistance();
    for (const QString& g : gesti.split(u' ')) {
        const bool tenuto = g.startsWith(u'R');
        const bool tasto = g.startsWith(u'K') || tenuto;
        const bool doppio = g.startsWith(u'D');
        const bool dito = g.startsWith(u'U');
        const QString gesto = tasto || doppio || dito ? g.mid(1) : g;
        const int n = gesto.mid(1).toInt();
        QWidget* w = nullptr;
        if (gesto[0] == u'T' || gesto[0] == u'W' || gesto[0] == u'M')
            w = f->Label3[std::size_t(n)];
        else if (gesto[0] == u'C')
            w = f->Label4[std::size_t(n)];
        else if (gesto[0] == u'F')
            w = f->Client();
        else if (gesto[0] == u'L')
            w = f->Label1;
        else if (gesto[0] == u'A')
            w = f->BottoneAvanti;
        const QPoint p(15, 20);
        if (gesto[0] == u'W' || gesto[0] == u'M') {
            const QPoint via = p + QPoint(gesto[0] == u'W' ? distanza - 1 : distanza, 0);
            QTest::mousePress(w, Qt::LeftButton, {}, p);
            QTest::mouseMove(w, via);
            QTest::mouseRelease(w, Qt::LeftButton, {}, via);
        } else if (tasto) {
            w->setFocus();
            const Qt::Key k = gesto[0] == u'T' ? Qt::Key_Space : Qt::Key_Return;
            if (tenuto)
                TieniPremuto(w, k, {}, 5, true, k == Qt::Key_Space ? 65 : 36);
            else
                QTest::keyClick(w, k);
        } else if (dito) {
            static QPointingDevice* schermo = QTest::createTouchDevice();
            QTest::touchEvent(w, schermo).press(0, p, w);
            QTest::touchEvent(w, schermo).release(0, p, w);
        } else if (doppio) {
            QTest::mouseClick(w, Qt::LeftButton, {}, p);
            QTest::mouseDClick(w, Qt::LeftButton, {}, p);
        } else if (w) {
            QTest::mouseClick(w, Qt::LeftButton, {}, p);
        } else if (gesto == QStringLiteral("E")) {
            QTest::keyClick(f->focusWidget() ? f->focusWidget() : f, Qt::Key_Escape);
        } else if (gesto == QStringLiteral("N")) {
            Partita(draws, 5, {0, 0, 0, 0, 0, 0, 0, 0, 0});
            f->NuovaDomanda();
        } else if (gesto == QStringLiteral("H")) {
            f->hide();
            f->show();
            QVERIFY(QTest::qWaitForWindowExposed(f));
        } else {
            QFAIL(qPrintable(g));
        }
    }
    QCOMPARE(Caselle(f), caselle);
    QCOMPARE(Modulo1::NumeroEsatti, std::int16_t(esatti));
    QCOMPARE(Modulo1::NumeroErrati, std::int16_t(errati));
    QCOMPARE(Sollevata(f), sollevata);
    // Nothing but the drops counted, coloured or sounded.
    QCOMPARE(amb.suoni.percorsi.size(), errati);
    QCOMPARE(f->ColoreSfondo() == 0, errati > 0); // every row with a wrong drop ends on one
    QVERIFY(draws.Finiti());
    // Each box's name tells its place and what it shows.
    for (int i = 0; i < 9; ++i) {
        const QString numero = caselle.mid(i, 1);
        QCOMPARE(f->Label4[std::size_t(i)]->accessibleName(),
                 numero == QStringLiteral(".") ? QStringLiteral("casella %1, vuota").arg(i + 1)
                                               : QStringLiteral("casella %1: %2").arg(i + 1).arg(numero));
        QCOMPARE(f->Label3[std::size_t(i)]->accessibleName(), QStringLiteral("numero %1").arg(i + 1));
    }
}

void TestFormOrd::focusConITasti_data()
{
    // From the focus a new game gives (the leftmost tile), the keys given; the control
    // that has the focus then. The deal puts 4, 5, 6, 7, 8, 9, 1, 2, 3 in the bottom row;
    // "sistemata" places tile 1 (number 2, at the far right) first.
    QTest::addColumn<QString>("tasti");
    QTest::addColumn<bool>("sistemata");
    QTest::addColumn<QString>("focus");
    QTest::newRow("all'inizio") << "" << false << "Label3(3)";
    QTest::newRow("Tab") << "Tab" << false << "Label3(4)";
    QTest::newRow("Tab fino a destra") << "Tab Tab Tab Tab Tab Tab Tab Tab" << false << "Label3(2)";
    QTest::newRow("Tab dopo l'ultima tessera") << "Tab Tab Tab Tab Tab Tab Tab Tab Tab" << false << "Label4(0)";
    QTest::newRow("Shift+Tab") << "Backtab" << false << "Label4(8)";
    QTest::newRow("Shift+Tab fra le caselle") << "Backtab Backtab" << false << "Label4(7)";
    QTest::newRow("destra") << "Right Right" << false << "Label3(5)";
    QTest::newRow("sinistra al bordo") << "Left" << false << "Label3(3)";
    QTest::newRow("destra al bordo") << "Right Right Right Right Right Right Right Right Right" << false
                                     << "Label3(2)";
    QTest::newRow("su") << "Right Up" << false << "Label4(1)";
    QTest::newRow("su al bordo") << "Up Up" << false << "Label4(0)";
    QTest::newRow("su e giu") << "Up Right Right Down" << false << "Label3(5)";
    QTest::newRow("tessera sistemata saltata") << "Right Right Right Right Right Right Right Right" << true
                                               << "Label3(2)";
    QTest::newRow("Tab salta la tessera sistemata") << "Tab Tab Tab Tab Tab Tab Tab Tab" << true << "Label4(0)";
    QTest::newRow("giu sotto una tessera sistemata") << "Up Right Right Right Right Right Right Right Down" << true
                                                     << "Label3(0)";
}

void TestFormOrd::focusConITasti()
{
    QFETCH(QString, tasti);
    QFETCH(bool, sistemata);
    QFETCH(QString, focus);
    Ambiente amb;
    CasualeScriptato draws;
    auto* f = Apri(draws, 4, {3, 3, 3, 3, 3, 3, 3, 3, 3});
    QVERIFY(QTest::qWaitForWindowActive(f));
    if (sistemata)
        f->Label4_DragDrop(1, f->Label3[1]);
    const QMap<QString, Qt::Key> nomi = {{"Tab", Qt::Key_Tab},   {"Backtab", Qt::Key_Backtab}, {"Left", Qt::Key_Left},
                                         {"Right", Qt::Key_Right}, {"Up", Qt::Key_Up},           {"Down", Qt::Key_Down}};
    for (const QString& t : tasti.split(u' ', Qt::SkipEmptyParts)) {
        QVERIFY(nomi.contains(t));
        QTest::keyClick(QApplication::focusWidget(), nomi[t]);
    }
    QVERIFY(QApplication::focusWidget());
    QCOMPARE(QApplication::focusWidget()->objectName(), focus);
    // The keys moved nothing, picked nothing up, counted nothing.
    QCOMPARE(Sollevata(f), -1);
    QCOMPARE(Modulo1::NumeroErrati, std::int16_t(0));
    QVERIFY(draws.Finiti());
}

void TestFormOrd::anelloDelFocus_data()
{
    // The ring around the focused control, on the darkest and on the lightest window.
    QTest::addColumn<QString>("controllo");
    QTest::addColumn<unsigned>("colore");
    for (unsigned colore : {0x000000u, 0xFFFFFFu}) {
        const QByteArray c = colore ? " su bianco" : " su nero";
        QTest::newRow("tessera" + c) << "Label3(4)" << colore;
        QTest::newRow("casella" + c) << "Label4(0)" << colore;
        QTest::newRow("avanti" + c) << "BottoneAvanti" << colore;
        QTest::newRow("bottone del menu" + c) << "Command5" << colore;
    }
}

void TestFormOrd::anelloDelFocus()
{
    QFETCH(QString, controllo);
    QFETCH(unsigned, colore);
    Ambiente amb;
    CasualeScriptato draws;
    Finestra* f = nullptr;
    if (controllo == QStringLiteral("Command5")) {
        draws.DaUnoA(1, 18);
        f = Finestre::Mostra<FormMenu>();
    } else {
        auto* o = Apri(draws, 4, {0, 0, 0, 0, 0, 0, 0, 0, 0});
        o->BottoneAvanti->setEnabled(true);
        f = o;
    }
    QVERIFY(draws.Finiti());
    QVERIFY(QTest::qWaitForWindowActive(f));
    f->ImpostaColoreSfondo(colore);
    auto* w = Controllo(f, controllo);
    QVERIFY(w);
    QWidget* prima = QApplication::focusWidget();
    QVERIFY(prima && prima != w);
    QVERIFY(Anello(f, prima));
    w->setFocus(Qt::TabFocusReason);
    QVERIFY(Anello(f, w));
    // The ring went with the focus. It stands in the window, but a screen reader does
    // not see it as a control.
    QVERIFY(!Anello(f, prima));
    auto* anello = f->findChild<QWidget*>(QStringLiteral("anelloFocus"));
    QVERIFY(anello && anello->parentWidget() == f);
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(f);
    QVERIFY(a && a->childCount() > 0);
    for (int i = 0; i < a->childCount(); ++i)
        QVERIFY(a->child(i)->object() != anello);
}

QTEST_MAIN(TestFormOrd)
#include "test_formord.moc"
