// Drags of the number tiles with the pointer: a press on a tile, moves to any widget of
// the window and beyond it, and a release, as Qt delivers them.
#include "Supporto.h"

#include "app/Casuale.h"
#include "app/Modulo1.h"
#include "app/ModuloColoriSuoni.h"
#include "exercises/FormOrd.h"
#include "ui/Casella.h"
#include "ui/Controlli.h"
#include "ui/Finestre.h"
#include "ui/Tessera.h"

#include <QApplication>
#include <QtTest>

#include <functional>

namespace {

ColoreBGR Voce(int n) { return ModuloColoriSuoni::Colori(TabellaColori::Ordina)[std::size_t(n)]; }

FormOrd* Apri(CasualeScriptato& d, int colore, int posto)
{
    d.DaUnoA(colore, 18);
    for (int j = 0; j < 9; ++j)
        d.Indice(posto, 9);
    auto* f = Finestre::Mostra<FormOrd>();
    return f;
}

QStringList RigaCaselle(FormOrd* f)
{
    QStringList l;
    for (Casella* c : f->Label4)
        l << c->text();
    return l;
}

// The picture of the dragged tile, while a drag runs.
QLabel* Figura(QWidget* f) { return f->findChild<QLabel*>(QStringLiteral("figuraTrascinata")); }

struct Tappa {
    QWidget* widget;
    QPoint punto;                   // in the widget
    std::function<void()> poi = {}; // done there, the button still held
};

struct Esito {
    bool iniziato = false;    // the tile's picture showed once the mouse moved as far as the drag distance
    bool figuraSegue = false; // it followed the pointer at every move, drawn above the controls
    QSize figura;             // the size of that picture
    bool sparita = false;     // no picture left after the release
};

// Presses the tile at `presa` and moves the mouse as far as the drag distance, which
// starts the drag; then moves it through the stops in a few steps each, each move sent
// to the stop's widget as a test sends it (the platform sends them to the tile, which
// holds the mouse), and releases it at the last one.
Esito Trascina(Tessera* t, QPoint presa, const QList<Tappa>& tappe)
{
    Esito e;
    e.figuraSegue = true;
    QWidget* f = t->window();
    QTest::mousePress(t, Qt::LeftButton, {}, presa);
    const QPoint via = presa + QPoint(0, QApplication::startDragDistance());
    QTest::mouseMove(t, via);
    e.iniziato = Figura(f) && Figura(f)->isVisible();
    QPoint da = t->mapToGlobal(via);
    for (const Tappa& tp : tappe) {
        const QPoint a = tp.widget->mapToGlobal(tp.punto);
        for (int k = 1; k <= 4; ++k) {
            const QPoint g = da + (a - da) * k / 4;
            QTest::mouseMove(tp.widget, tp.widget->mapFromGlobal(g));
            QLabel* l = Figura(f);
            // Within the window, the window shows the tile's picture there.
            if (!l || !l->isVisible() || l->pos() != f->mapFromGlobal(g) - presa ||
                (f->rect().contains(l->geometry()) && f->grab(l->geometry()).toImage() != t->grab().toImage()))
                e.figuraSegue = false;
            else
                e.figura = l->size();
        }
        if (tp.poi)
            tp.poi();
        da = a;
    }
    const Tappa& ultima = tappe.last();
    QTest::mouseRelease(ultima.widget, Qt::LeftButton, {}, ultima.punto);
    e.sparita = !Figura(f);
    return e;
}

Tappa Centro(QWidget* w) { return {w, w->rect().center()}; }

} // namespace

class TestTrascinamento : public QObject {
    Q_OBJECT
private slots:
    void trascinataSullaSuaCasella();
    void trascinataSuUnAltraCasella();
    void lasciataAltrove_data();
    void lasciataAltrove();
    void tesseraSistemataNonSiTrascina();
    void unaPartitaIntera();
};

void TestTrascinamento::trascinataSullaSuaCasella()
{
    Ambiente amb;
    CasualeScriptato draws;
    auto* f = Apri(draws, 4, 8); // bottom row 9, 1, 2, ..., 8
    QVERIFY(QTest::qWaitForWindowExposed(f));
    Tessera* cinque = f->Label3[4];
    // Through the window, over a wrong box, and onto box 4.
    const Esito e = Trascina(cinque, QPoint(12, 40),
                             {{f->Client(), QPoint(300, 150)}, Centro(f->Label4[7]), {f->Label4[4], QPoint(50, 20)}});
    QVERIFY(e.iniziato);
    QVERIFY(e.figuraSegue);
    QCOMPARE(e.figura, cinque->size());
    QVERIFY(e.sparita);

    QCOMPARE(RigaCaselle(f), (QStringList{"", "", "", "", "5", "", "", "", ""}));
    QCOMPARE(cinque->text(), QString());
    QVERIFY(!cinque->isEnabled());
    QCOMPARE(f->EtichettaEsatti->text(), QStringLiteral(" 1"));
    QCOMPARE(f->EtichettaErrati->text(), QStringLiteral("0"));
    QVERIFY(f->ComandoIconaSi->isVisible());
    QVERIFY(!f->ComandoIconaNo->isVisible());
    QVERIFY(amb.suoni.percorsi.isEmpty());
    QVERIFY(draws.Finiti());
}

void TestTrascinamento::trascinataSuUnAltraCasella()
{
    Ambiente amb;
    CasualeScriptato draws;
    auto* f = Apri(draws, 4, 0);
    QVERIFY(QTest::qWaitForWindowExposed(f));
    const Esito e = Trascina(f->Label3[0], QPoint(30, 30), {Centro(f->Label4[3])});
    QVERIFY(e.iniziato);
    QVERIFY(e.sparita);
    QCOMPARE(RigaCaselle(f), QStringList(9));
    QCOMPARE(f->EtichettaErrati->text(), QStringLiteral(" 1"));
    QCOMPARE(f->ColoreSfondo(), 0u);
    QVERIFY(f->ComandoIconaNo->isVisible());
    QVERIFY(!f->ComandoIconaSi->isVisible());
    QCOMPARE(amb.suoni.percorsi, QStringList{ModuloColoriSuoni::FileSuono(QStringLiteral("no.wav"))});
    QVERIFY(f->Label3[0]->isEnabled());

    // Dragged again, this time right: a colour comes back.
    draws.DaUnoA(3, 18);
    Trascina(f->Label3[0], QPoint(30, 30), {Centro(f->Label4[0])});
    QVERIFY(draws.Finiti());
    QCOMPARE(f->ColoreSfondo(), Voce(3));
    QCOMPARE(RigaCaselle(f), (QStringList{"1", "", "", "", "", "", "", "", ""}));
}

void TestTrascinamento::lasciataAltrove_data()
{
    QTest::addColumn<QString>("dove");
    QTest::addColumn<bool>("presa");      // another tile picked up by a tap before the drag
    QTest::addColumn<QString>("durante"); // done over the tile's own box, the button held
    QTest::newRow("sulla finestra") << "finestra" << false << "";
    QTest::newRow("su un'altra tessera") << "tessera" << false << "";
    QTest::newRow("su se stessa") << "se stessa" << false << "";
    QTest::newRow("su un'etichetta") << "etichetta" << false << "";
    QTest::newRow("su avanti") << "avanti" << false << "";
    QTest::newRow("fuori dalla finestra") << "fuori" << false << "";
    QTest::newRow("sulla sua casella, sotto un'altra finestra") << "coperta" << false << "";
    QTest::newRow("con un'altra tessera presa") << "finestra" << true << "";
    QTest::newRow("su se stessa, con un'altra tessera presa") << "se stessa" << true << "";
    // Cancelled over the box it belongs in, and released there.
    QTest::newRow("Esc") << "sua casella" << false << "Esc";
    QTest::newRow("tessera disabilitata") << "sua casella" << false << "disabilitata";
    QTest::newRow("finestra nascosta") << "sua casella" << false << "nascosta";
    QTest::newRow("rilascio perso") << "sua casella" << false << "senza tasto";
    QTest::newRow("finestra modale aperta") << "sua casella" << false << "modale";
}

void TestTrascinamento::lasciataAltrove()
{
    QFETCH(QString, dove);
    QFETCH(bool, presa);
    QFETCH(QString, durante);
    Ambiente amb;
    CasualeScriptato draws;
    auto* f = Apri(draws, 4, 0);
    QVERIFY(QTest::qWaitForWindowExposed(f));
    int rilasci = 0;
    QObject ascolto;
    for (Casella* c : f->Label4)
        QObject::connect(c, &Casella::Rilasciata, &ascolto, [&rilasci] { ++rilasci; });
    if (presa) {
        QTest::mouseClick(f->Label3[1], Qt::LeftButton);
        QCOMPARE(f->Label3[1]->accessibleDescription(), QStringLiteral("preso"));
    }
    Tessera* t = f->Label3[6];
    Tappa fine = Centro(f->Client());
    if (dove == QStringLiteral("finestra"))
        fine = {f->Client(), QPoint(600, 450)};
    else if (dove == QStringLiteral("tessera"))
        fine = Centro(f->Label3[1]);
    else if (dove == QStringLiteral("se stessa"))
        fine = Centro(t);
    else if (dove == QStringLiteral("etichetta"))
        fine = Centro(f->Label1);
    else if (dove == QStringLiteral("avanti"))
        fine = Centro(f->BottoneAvanti);
    else if (dove == QStringLiteral("sua casella") || dove == QStringLiteral("coperta"))
        fine = Centro(f->Label4[6]);
    else
        fine = {f, QPoint(-30, -30)};
    Tappa sopra = Centro(f->Label4[6]);
    bool figuraDopo = true; // the picture still there after what was done mid-drag
    QWidget modale;
    modale.setWindowModality(Qt::ApplicationModal);
    QWidget coperta; // another window, over the tile's own box
    if (dove == QStringLiteral("coperta")) {
        coperta.setGeometry(QRect(f->Label4[6]->mapToGlobal(QPoint(-20, -20)), f->Label4[6]->size() + QSize(40, 40)));
        coperta.show();
    }
    if (!durante.isEmpty()) {
        sopra.poi = [&] {
            if (durante == QStringLiteral("Esc")) {
                QTest::keyClick(f->focusWidget() ? f->focusWidget() : f, Qt::Key_Escape);
            } else if (durante == QStringLiteral("disabilitata")) {
                t->setEnabled(false);
            } else if (durante == QStringLiteral("nascosta")) {
                f->hide();
            } else if (durante == QStringLiteral("modale")) {
                modale.show();
            } else {
                // A move with the button up: its release went elsewhere.
                const QPoint p = f->Label4[6]->rect().center();
                QMouseEvent m(QEvent::MouseMove, p, f->Label4[6]->mapToGlobal(p), Qt::NoButton, Qt::NoButton,
                              Qt::NoModifier);
                QApplication::sendEvent(t, &m);
            }
            figuraDopo = Figura(f);
        };
    }
    // Over its own box first, then away and released there.
    const Esito e = Trascina(t, QPoint(30, 30), {sopra, fine});
    QVERIFY(e.iniziato);
    QVERIFY(e.sparita);
    QCOMPARE(figuraDopo, durante.isEmpty());
    QCOMPARE(rilasci, 0);
    if (durante == QStringLiteral("disabilitata"))
        t->setEnabled(true);
    modale.hide();
    coperta.hide();
    if (durante == QStringLiteral("nascosta")) {
        f->show();
        QVERIFY(QTest::qWaitForWindowExposed(f));
    }
    // A drag is no tap, and puts down what was picked up.
    for (Tessera* k : f->Label3)
        QCOMPARE(k->accessibleDescription(), QString());
    QCOMPARE(RigaCaselle(f), QStringList(9));
    QCOMPARE(t->text(), QStringLiteral("7"));
    QVERIFY(t->isEnabled());
    QCOMPARE(f->EtichettaEsatti->text(), QStringLiteral("0"));
    QCOMPARE(f->EtichettaErrati->text(), QStringLiteral("0"));
    QCOMPARE(f->ColoreSfondo(), Voce(4));
    QVERIFY(amb.suoni.percorsi.isEmpty());
    QVERIFY(draws.Finiti());
    // The window goes on as before: the same tile can still be placed.
    Trascina(t, QPoint(30, 30), {Centro(f->Label4[6])});
    QCOMPARE(f->Label4[6]->text(), QStringLiteral("7"));
    QCOMPARE(rilasci, 1);
}

void TestTrascinamento::tesseraSistemataNonSiTrascina()
{
    Ambiente amb;
    CasualeScriptato draws;
    auto* f = Apri(draws, 4, 0);
    QVERIFY(QTest::qWaitForWindowExposed(f));
    Trascina(f->Label3[2], QPoint(30, 30), {Centro(f->Label4[2])});
    QCOMPARE(f->EtichettaEsatti->text(), QStringLiteral(" 1"));

    // The blank tile: no drag begins, so the moves and the release come after the
    // press, outside any drag, and land nowhere.
    const Esito e = Trascina(f->Label3[2], QPoint(30, 30), {Centro(f->Label4[3])});
    QVERIFY(!e.iniziato);
    QCOMPARE(RigaCaselle(f), (QStringList{"", "", "3", "", "", "", "", "", ""}));
    QCOMPARE(f->EtichettaEsatti->text(), QStringLiteral(" 1"));
    QCOMPARE(f->EtichettaErrati->text(), QStringLiteral("0"));
    QVERIFY(draws.Finiti());
}

void TestTrascinamento::unaPartitaIntera()
{
    Ambiente amb;
    CasualeScriptato draws;
    auto* f = Apri(draws, 4, 3); // bottom row 4, 5, 6, 7, 8, 9, 1, 2, 3
    QVERIFY(QTest::qWaitForWindowExposed(f));
    for (int i = 8; i >= 0; --i) {
        QVERIFY(!f->BottoneAvanti->isEnabled());
        Trascina(f->Label3[std::size_t(i)], QPoint(33, 33), {Centro(f->Label4[std::size_t(i)])});
    }
    QCOMPARE(RigaCaselle(f), (QStringList{"1", "2", "3", "4", "5", "6", "7", "8", "9"}));
    QCOMPARE(f->EtichettaEsatti->text(), QStringLiteral(" 9"));
    QVERIFY(f->BottoneAvanti->isEnabled());
    QVERIFY(draws.Finiti());

    draws.DaUnoA(8, 18);
    for (int j = 0; j < 9; ++j)
        draws.Indice(0, 9);
    QTest::mouseClick(f->BottoneAvanti, Qt::LeftButton);
    QVERIFY(draws.Finiti());
    QCOMPARE(RigaCaselle(f), QStringList(9));
    Trascina(f->Label3[0], QPoint(33, 33), {Centro(f->Label4[0])});
    QCOMPARE(f->EtichettaEsatti->text(), QStringLiteral(" 10"));
}

QTEST_MAIN(TestTrascinamento)
#include "test_trascinamento.moc"
