// The counting window with repeated pictures: its layout, its question and its
// pictures, good and broken.
#include "ContaComune.h"

#include "app/Modulo1.h"
#include "app/ModuloColoriSuoni.h"
#include "ui/CasellaRisposta.h"

#include <QLabel>
#include <QSet>
#include <QToolButton>

namespace {
ColoreBGR Voce(int n) { return ModuloColoriSuoni::Colori(TabellaColori::Esercizi)[std::size_t(n)]; }

const PostiFigure::Posti& Schiera(FormEs1* f, int a) { return a == 1 ? f->Image1 : a == 2 ? f->Image2 : f->Image3; }

// Every one of the 27 cells: full with `file` where (arrangement, index) is in `piene`,
// empty and unmarked everywhere else.
void ControllaCelle(FormEs1* f, int schiera, const QSet<int>& piene, const QString& file)
{
    for (int a = 1; a <= 3; ++a) {
        for (int i = 0; i < 9; ++i) {
            ControlloImmagine* c = Schiera(f, a)[std::size_t(i)];
            const QString nome = c->objectName();
            if (a == schiera && piene.contains(i)) {
                QVERIFY2(c->Tag == QStringLiteral("pieno"), qPrintable(nome));
                QVERIFY2(c->Figura() == file, qPrintable(nome));
            } else {
                QVERIFY2(c->Tag.isEmpty(), qPrintable(nome));
                QVERIFY2(c->Vuoto(), qPrintable(nome));
            }
        }
    }
}
} // namespace

class TestFormEs1 : public QObject {
    Q_OBJECT
private slots:
    void disposizioneComeDaTabella();
    void nuovaDomandaSegueLeEstrazioni_data();
    void nuovaDomandaSegueLeEstrazioni();
    void nuovaDomandaNonLasciaNullaDellaPrecedente();
    void figureRotteMostranoIlSegnapostoEUnAvviso_data();
    void figureRotteMostranoIlSegnapostoEUnAvviso();
};

void TestFormEs1::disposizioneComeDaTabella()
{
    Ambiente amb;
    FormEs1 f; // built but not opened: the layout states
    QCOMPARE(f.objectName(), QStringLiteral("FormEs1"));
    QCOMPARE(f.Client()->size(), QSize(638, 459));
    QVERIFY(f.FileFigura.isEmpty());

    for (int a = 1; a <= 3; ++a) {
        for (int i = 0; i < 9; ++i) {
            const QString nome = QStringLiteral("Image%1(%2)").arg(a).arg(i);
            auto* c = Controllo<ControlloImmagine>(&f, nome);
            QVERIFY2(c, qPrintable(nome));
            QCOMPARE(c, Schiera(&f, a)[std::size_t(i)]);
            QCOMPARE(c->geometry(), Posto(QStringLiteral("FormEs1"), a, i));
            QVERIFY(c->Vuoto());
            QVERIFY(c->Tag.isEmpty());
            QCOMPARE(c->focusPolicy(), Qt::NoFocus);
        }
    }

    auto* t = Controllo<CasellaRisposta>(&f, QStringLiteral("Text1"));
    QCOMPARE(t, f.Text1);
    QCOMPARE(t->geometry(), Px(7200, 3720, 1095, 915));
    QCOMPARE(t->font().pixelSize(), 48);
    QVERIFY(t->font().bold());
    QCOMPARE(t->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    QCOMPARE(t->palette().color(QPalette::Text), QColor(Qt::black));
    QVERIFY(t->isEnabled());
    QVERIFY(t->text().isEmpty());

    // The frame stands where the counting windows have it.
    QCOMPARE(f.ComandoIconaNo->geometry(), Cornice(QStringLiteral("bassa"), QStringLiteral("facce")));
    QCOMPARE(f.ComandoIconaSi->geometry(), Cornice(QStringLiteral("bassa"), QStringLiteral("facce")));
    QCOMPARE(f.Label1->geometry(), Px(6960, 2160, 735, 375));
    QCOMPARE(f.Label2->geometry(), Px(6960, 2760, 735, 495));
    QCOMPARE(f.EtichettaEsatti->geometry(), Cornice(QStringLiteral("bassa"), QStringLiteral("esatti")));
    QCOMPARE(f.EtichettaErrati->geometry(), Cornice(QStringLiteral("bassa"), QStringLiteral("errati")));
    QCOMPARE(f.BottoneAvanti->geometry(), Cornice(QStringLiteral("bassa"), QStringLiteral("avanti")));
    QVERIFY(!f.BottoneAvanti->isEnabled());
    QVERIFY(f.ComandoIconaSi->isHidden());
    QVERIFY(!f.ComandoIconaNo->isHidden());

    // Tab order: the two faces, "avanti", the answer box, and round again.
    const QList<QWidget*> ordine = {f.ComandoIconaNo, f.ComandoIconaSi, f.BottoneAvanti, f.Text1, f.ComandoIconaNo};
    for (int i = 1; i < ordine.size(); ++i) {
        QWidget* w = ordine[i - 1]->nextInFocusChain();
        while (w->focusPolicy() == Qt::NoFocus || f.Tastierino1->isAncestorOf(w)) // hidden until a touch
            w = w->nextInFocusChain();
        QCOMPARE(w, ordine[i]);
    }
}

void TestFormEs1::nuovaDomandaSegueLeEstrazioni_data()
{
    QTest::addColumn<int>("colore");
    QTest::addColumn<int>("figura");
    QTest::addColumn<int>("quanti");
    QTest::addColumn<int>("schiera");
    QTest::addColumn<QList<int>>("celle"); // the cell draws, taken cells included
    QTest::addColumn<QList<int>>("piene");

    QTest::newRow("uno nella griglia") << 4 << 1 << 1 << 1 << QList<int>{8} << QList<int>{8};
    QTest::newRow("tre sparsi, con celle già prese") << 18 << 15 << 3 << 2 << QList<int>{2, 2, 5, 2, 5, 0}
                                                     << QList<int>{0, 2, 5};
    QTest::newRow("nove su due righe") << 10 << 20 << 9 << 3 << QList<int>{8, 7, 6, 5, 4, 3, 2, 1, 0}
                                       << QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8};
    QTest::newRow("nove nella griglia, tante ripetizioni")
        << 6 << 9 << 9 << 1 << QList<int>{4, 4, 0, 4, 0, 8, 1, 1, 2, 3, 5, 8, 6, 7}
        << QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8};
    QTest::newRow("sei sparsi") << 7 << 12 << 6 << 2 << QList<int>{3, 1, 3, 7, 8, 1, 0, 6}
                                << QList<int>{0, 1, 3, 6, 7, 8};
}

void TestFormEs1::nuovaDomandaSegueLeEstrazioni()
{
    QFETCH(int, colore);
    QFETCH(int, figura);
    QFETCH(int, quanti);
    QFETCH(int, schiera);
    QFETCH(QList<int>, celle);
    QFETCH(QList<int>, piene);

    CartellaFigure cartella;
    Ambiente amb(cartella.Percorso());
    Modulo1::NumeroEsatti = 5;
    Modulo1::NumeroErrati = 3;
    CasualeScriptato draws;
    draws.DaUnoA(colore, 18);
    draws.DaUnoA(figura, 20);
    draws.DaUnoA(quanti, 9);
    draws.DaUnoA(schiera, 3);
    for (int c : celle)
        draws.Indice(c, 9);

    auto* f = Finestre::Mostra<FormEs1>();
    QVERIFY(QTest::qWaitForWindowExposed(f));
    QVERIFY(draws.Finiti());

    const QString file = cartella.Percorso() + QStringLiteral("/gif/%1.gif").arg(figura);
    QCOMPARE(f->FileFigura, file);
    QCOMPARE(Modulo1::NumeroGiusto, std::int16_t(quanti));
    QCOMPARE(f->ColoreSfondo(), Voce(colore));
    ControllaCelle(f, schiera, QSet<int>(piene.begin(), piene.end()), file);

    // What the child sees: the picture in the filled cells, the background elsewhere.
    const QColor sfondo = SfondoVisto(f);
    for (int i = 0; i < 9; ++i) {
        const bool piena = piene.contains(i);
        QCOMPARE(Dipinto(Schiera(f, schiera)[std::size_t(i)]),
                 piena ? CartellaFigure::Colore(QStringLiteral("%1.gif").arg(figura)) : sfondo);
    }

    // The question leaves the counts, the faces and "avanti" alone; the box is ready.
    QCOMPARE(Modulo1::NumeroEsatti, std::int16_t(5));
    QCOMPARE(Modulo1::NumeroErrati, std::int16_t(3));
    QCOMPARE(f->EtichettaEsatti->text(), QStringLiteral("0"));
    QCOMPARE(f->EtichettaErrati->text(), QStringLiteral("0"));
    QVERIFY(!f->BottoneAvanti->isEnabled());
    QVERIFY(f->ComandoIconaSi->isHidden());
    QVERIFY(f->ComandoIconaNo->isVisible());
    QVERIFY(f->Text1->isEnabled());
    QVERIFY(f->Text1->text().isEmpty());
    QCOMPARE(f->focusWidget(), f->Text1);
    QVERIFY(amb.messaggi.avvisi.isEmpty());
    QVERIFY(amb.suoni.percorsi.isEmpty());
}

void TestFormEs1::nuovaDomandaNonLasciaNullaDellaPrecedente()
{
    CartellaFigure cartella;
    Ambiente amb(cartella.Percorso());
    CasualeScriptato draws;
    DomandaEs1(draws, 2, 4, 9, 2, {0, 1, 2, 3, 4, 5, 6, 7, 8});
    auto* f = Finestre::Mostra<FormEs1>();
    QVERIFY(QTest::qWaitForWindowExposed(f));
    QVERIFY(draws.Finiti());
    ControllaCelle(f, 2, {0, 1, 2, 3, 4, 5, 6, 7, 8}, cartella.File(QStringLiteral("4.gif")));

    // Right answer, "avanti": the same arrangement again with two copies of another
    // picture. Cell 4 was taken before; it must be free again at its first draw, or the
    // loop would draw once more and run out of draws.
    QTest::keyClick(f->Text1, Qt::Key_9);
    draws.DaUnoA(1, 4); // the praise sound
    QTest::keyClick(f->Text1, Qt::Key_Return);
    QVERIFY(f->BottoneAvanti->isEnabled());
    DomandaEs1(draws, 3, 11, 2, 2, {4, 4, 7});
    QTest::mouseClick(f->BottoneAvanti, Qt::LeftButton);
    QVERIFY(draws.Finiti());
    const QString undici = cartella.File(QStringLiteral("11.gif"));
    ControllaCelle(f, 2, {4, 7}, undici);
    const QColor sfondo = SfondoVisto(f);
    QCOMPARE(Dipinto(f->Image2[0]), sfondo);
    QCOMPARE(Dipinto(f->Image2[4]), CartellaFigure::Colore(QStringLiteral("11.gif")));

    // A question in another arrangement empties the scatter completely.
    DomandaEs1(draws, 3, 11, 1, 3, {5});
    f->NuovaDomanda();
    QVERIFY(draws.Finiti());
    ControllaCelle(f, 3, {5}, undici);
    DomandaEs1(draws, 9, 20, 3, 1, {0, 4, 8});
    f->NuovaDomanda();
    QVERIFY(draws.Finiti());
    ControllaCelle(f, 1, {0, 4, 8}, cartella.File(QStringLiteral("20.gif")));
    QCOMPARE(Dipinto(f->Image3[5]), SfondoVisto(f));
    QCOMPARE(Dipinto(f->Image1[8]), CartellaFigure::Colore(QStringLiteral("20.gif")));
}

void TestFormEs1::figureRotteMostranoIlSegnapostoEUnAvviso_data()
{
    QTest::addColumn<QString>("guasto");
    QTest::newRow("mancante") << "mancante";
    QTest::newRow("vuota") << "vuota";
    QTest::newRow("troncata") << "troncata";
    QTest::newRow("testo") << "testo";
}

void TestFormEs1::figureRotteMostranoIlSegnapostoEUnAvviso()
{
    QFETCH(QString, guasto);
    CartellaFigure cartella;
    const QString nome = QStringLiteral("13.gif");
    cartella.Guasta(nome, guasto);

    Ambiente amb(cartella.Percorso());
    CasualeScriptato draws;
    DomandaEs1(draws, 1, 13, 4, 3, {1, 6, 6, 2, 8});
    auto* f = Finestre::Mostra<FormEs1>();
    QVERIFY(QTest::qWaitForWindowExposed(f));
    QVERIFY(draws.Finiti());

    // The question is there, every copy shows the placeholder, one message names the file.
    const QString file = cartella.File(nome);
    ControllaCelle(f, 3, {1, 2, 6, 8}, file);
    for (int i : {1, 2, 6, 8})
        QCOMPARE(Dipinto(f->Image3[std::size_t(i)]), GrigioSegnaposto());
    QCOMPARE(amb.messaggi.avvisi.size(), 1);
    QVERIFY2(amb.messaggi.avvisi.front().contains(nome), qPrintable(amb.messaggi.avvisi.front()));

    // It can still be answered: wrong, then right.
    QTest::keyClick(f->Text1, Qt::Key_3);
    QTest::keyClick(f->Text1, Qt::Key_Return);
    QCOMPARE(f->EtichettaErrati->text(), QStringLiteral(" 1"));
    QTest::keyClick(f->Text1, Qt::Key_4);
    draws.DaUnoA(2, 4);
    QTest::keyClick(f->Text1, Qt::Key_Return);
    QCOMPARE(f->EtichettaEsatti->text(), QStringLiteral(" 1"));
    QVERIFY(!f->Text1->isEnabled());

    // The same file again in a later question: no second message. A good file beside it
    // still shows its own picture.
    DomandaEs1(draws, 1, 13, 1, 1, {0});
    QTest::mouseClick(f->BottoneAvanti, Qt::LeftButton);
    QCOMPARE(Dipinto(f->Image1[0]), GrigioSegnaposto());
    DomandaEs1(draws, 1, 14, 1, 1, {0});
    f->NuovaDomanda();
    QVERIFY(draws.Finiti());
    QCOMPARE(Dipinto(f->Image1[0]), CartellaFigure::Colore(QStringLiteral("14.gif")));
    QCOMPARE(amb.messaggi.avvisi.size(), 1);
}

QTEST_MAIN(TestFormEs1)
#include "test_formes1.moc"
