// The counting window with a group picture: its layout, its question and its picture,
// good and broken.
#include "ContaComune.h"

#include "app/Modulo1.h"
#include "app/ModuloColoriSuoni.h"
#include "ui/CasellaRisposta.h"

#include <QLabel>
#include <QToolButton>

namespace {
ColoreBGR Voce(int n) { return ModuloColoriSuoni::Colori(TabellaColori::Esercizi)[std::size_t(n)]; }
} // namespace

class TestFormEs5 : public QObject {
    Q_OBJECT
private slots:
    void disposizioneComeDaTabella();
    void ilConteggioSceglieLaFigura_data();
    void ilConteggioSceglieLaFigura();
    void ogniDomandaSostituisceLaFigura();
    void figureRotteMostranoIlSegnapostoEUnAvviso_data();
    void figureRotteMostranoIlSegnapostoEUnAvviso();
};

void TestFormEs5::disposizioneComeDaTabella()
{
    Ambiente amb;
    FormEs5 f; // built but not opened: the layout states
    QCOMPARE(f.objectName(), QStringLiteral("FormEs5"));
    QCOMPARE(f.Client()->size(), QSize(638, 459));
    QVERIFY(f.FileFigura.isEmpty());

    auto* img = Controllo<ControlloImmagine>(&f, QStringLiteral("Image1"));
    QCOMPARE(img, f.Image1);
    QCOMPARE(img->geometry(), Px(1680, 600, 4335, 3735));
    QVERIFY(img->Vuoto());
    QCOMPARE(f.findChildren<ControlloImmagine*>().size(), 1);

    auto* t = Controllo<CasellaRisposta>(&f, QStringLiteral("Text1"));
    QCOMPARE(t, f.Text1);
    QCOMPARE(t->geometry(), Px(3240, 4920, 1095, 915));
    QCOMPARE(t->font().pixelSize(), 48);
    QVERIFY(t->font().bold());
    QCOMPARE(t->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    QCOMPARE(t->palette().color(QPalette::Text), QColor(Qt::black));
    QVERIFY(t->isEnabled());
    QVERIFY(t->text().isEmpty());

    QCOMPARE(f.ComandoIconaSi->geometry(), Cornice(QStringLiteral("bassa"), QStringLiteral("facce")));
    QCOMPARE(f.EtichettaEsatti->geometry(), Cornice(QStringLiteral("bassa"), QStringLiteral("esatti")));
    QCOMPARE(f.BottoneAvanti->geometry(), Cornice(QStringLiteral("bassa"), QStringLiteral("avanti")));
    QVERIFY(f.ComandoIconaSi->isHidden());
    QVERIFY(!f.ComandoIconaNo->isHidden());
    QVERIFY(!f.BottoneAvanti->isEnabled());

    const QList<QWidget*> ordine = {f.ComandoIconaNo, f.ComandoIconaSi, f.BottoneAvanti, f.Text1, f.ComandoIconaNo};
    for (int i = 1; i < ordine.size(); ++i) {
        QWidget* w = ordine[i - 1]->nextInFocusChain();
        while (w->focusPolicy() == Qt::NoFocus || f.Tastierino1->isAncestorOf(w)) // hidden until a touch
            w = w->nextInFocusChain();
        QCOMPARE(w, ordine[i]);
    }
}

void TestFormEs5::ilConteggioSceglieLaFigura_data()
{
    QTest::addColumn<int>("colore");
    QTest::addColumn<int>("quanti");
    QTest::newRow("1") << 3 << 1;
    QTest::newRow("3") << 17 << 3;
    QTest::newRow("9") << 10 << 9;
}

void TestFormEs5::ilConteggioSceglieLaFigura()
{
    QFETCH(int, colore);
    QFETCH(int, quanti);
    CartellaFigure cartella;
    Ambiente amb(cartella.Percorso());
    Modulo1::NumeroEsatti = 2;
    CasualeScriptato draws;
    DomandaEs5(draws, colore, quanti);
    auto* f = Finestre::Mostra<FormEs5>();
    QVERIFY(QTest::qWaitForWindowExposed(f));
    QVERIFY(draws.Finiti());

    const QString nome = QStringLiteral("m%1.gif").arg(quanti);
    QCOMPARE(f->FileFigura, cartella.File(nome));
    QCOMPARE(f->Image1->Figura(), cartella.File(nome));
    QCOMPARE(Dipinto(f->Image1), CartellaFigure::Colore(nome));
    QCOMPARE(Modulo1::NumeroGiusto, std::int16_t(quanti));
    QCOMPARE(f->ColoreSfondo(), Voce(colore));
    QCOMPARE(Modulo1::NumeroEsatti, std::int16_t(2));
    QCOMPARE(f->EtichettaEsatti->text(), QStringLiteral("0"));
    QVERIFY(!f->BottoneAvanti->isEnabled());
    QVERIFY(f->Text1->isEnabled());
    QVERIFY(f->Text1->text().isEmpty());
    QCOMPARE(f->focusWidget(), f->Text1);
    QVERIFY(amb.messaggi.avvisi.isEmpty());
}

void TestFormEs5::ogniDomandaSostituisceLaFigura()
{
    CartellaFigure cartella;
    Ambiente amb(cartella.Percorso());
    CasualeScriptato draws;
    DomandaEs5(draws, 1, 6);
    auto* f = Finestre::Mostra<FormEs5>();
    QVERIFY(draws.Finiti());
    QCOMPARE(Dipinto(f->Image1), CartellaFigure::Colore(QStringLiteral("m6.gif")));

    // Through a right answer and "avanti": the new count's picture replaces the old one.
    QTest::keyClick(f->Text1, Qt::Key_6);
    draws.DaUnoA(4, 4);
    QTest::keyClick(f->Text1, Qt::Key_Return);
    DomandaEs5(draws, 2, 2);
    QTest::mouseClick(f->BottoneAvanti, Qt::LeftButton);
    QVERIFY(draws.Finiti());
    QCOMPARE(f->Image1->Figura(), cartella.File(QStringLiteral("m2.gif")));
    QCOMPARE(Dipinto(f->Image1), CartellaFigure::Colore(QStringLiteral("m2.gif")));

    // The same count again: the same picture, read once (spoilt on disk meanwhile, it
    // still shows as it was read).
    cartella.Testo(QStringLiteral("m6.gif"));
    DomandaEs5(draws, 5, 6);
    f->NuovaDomanda();
    DomandaEs5(draws, 5, 6);
    f->NuovaDomanda();
    QVERIFY(draws.Finiti());
    QCOMPARE(f->Image1->Figura(), cartella.File(QStringLiteral("m6.gif")));
    QCOMPARE(Dipinto(f->Image1), CartellaFigure::Colore(QStringLiteral("m6.gif")));
    QVERIFY(amb.messaggi.avvisi.isEmpty());
}

void TestFormEs5::figureRotteMostranoIlSegnapostoEUnAvviso_data()
{
    QTest::addColumn<QString>("guasto");
    QTest::newRow("mancante") << "mancante";
    QTest::newRow("vuota") << "vuota";
    QTest::newRow("troncata") << "troncata";
    QTest::newRow("testo") << "testo";
}

void TestFormEs5::figureRotteMostranoIlSegnapostoEUnAvviso()
{
    QFETCH(QString, guasto);
    CartellaFigure cartella;
    const QString nome = QStringLiteral("m5.gif");
    cartella.Guasta(nome, guasto);

    Ambiente amb(cartella.Percorso());
    CasualeScriptato draws;
    DomandaEs5(draws, 8, 5);
    auto* f = Finestre::Mostra<FormEs5>();
    QVERIFY(QTest::qWaitForWindowExposed(f));
    QVERIFY(draws.Finiti());
    QCOMPARE(f->Image1->Figura(), cartella.File(nome));
    QCOMPARE(Dipinto(f->Image1), GrigioSegnaposto());
    QCOMPARE(amb.messaggi.avvisi.size(), 1);
    QVERIFY2(amb.messaggi.avvisi.front().contains(nome), qPrintable(amb.messaggi.avvisi.front()));
    QCOMPARE(f->focusWidget(), f->Text1);

    // The question can still be answered.
    QTest::keyClick(f->Text1, Qt::Key_5);
    draws.DaUnoA(1, 4);
    QTest::keyClick(f->Text1, Qt::Key_Return);
    QVERIFY(draws.Finiti());
    QCOMPARE(f->EtichettaEsatti->text(), QStringLiteral(" 1"));
    QCOMPARE(amb.suoni.percorsi, QStringList{cartella.Percorso() + QStringLiteral("/suoni/si1.wav")});

    // A good picture next, then the broken one again: no second message.
    DomandaEs5(draws, 8, 4);
    QTest::mouseClick(f->BottoneAvanti, Qt::LeftButton);
    QCOMPARE(Dipinto(f->Image1), CartellaFigure::Colore(QStringLiteral("m4.gif")));
    DomandaEs5(draws, 8, 5);
    f->NuovaDomanda();
    QVERIFY(draws.Finiti());
    QCOMPARE(Dipinto(f->Image1), GrigioSegnaposto());
    QCOMPARE(amb.messaggi.avvisi.size(), 1);
}

QTEST_MAIN(TestFormEs5)
#include "test_formes5.moc"
