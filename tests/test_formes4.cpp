// The one-to-one correspondence window: the question, the three answer buttons and
// the way from one question to the next.
#include "CartellaFigure.h"
#include "Supporto.h"

#include "app/Casuale.h"
#include "app/Modulo1.h"
#include "app/ModuloColoriSuoni.h"
#include "exercises/FormEs4.h"
#include "ui/ControlloImmagine.h"
#include "ui/Controlli.h"
#include "ui/Finestre.h"

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QtTest>

namespace {

ColoreBGR Voce(int n) { return ModuloColoriSuoni::Colori(TabellaColori::Esercizi)[std::size_t(n)]; }

// The draws of one question: colour, picture A, picture B (with its re-draws), how many,
// which array, and the places (with their re-draws).
void Domanda(CasualeScriptato& d, int colore, int a, std::initializer_list<int> b, int quanti, int g,
             std::initializer_list<int> posti)
{
    d.DaUnoA(colore, 18);
    d.DaUnoA(a, 20);
    for (int x : b)
        d.DaUnoA(x, 20);
    d.DaUnoA(quanti, 9);
    d.DaUnoA(g, 2);
    for (int p : posti)
        d.Indice(p, 9);
}

QStringList Figure(const PostiFigure::Posti& posti)
{
    QStringList l;
    for (auto* p : posti)
        l << p->Figura();
    return l;
}

QStringList Tag(const PostiFigure::Posti& posti)
{
    QStringList l;
    for (auto* p : posti)
        l << p->Tag;
    return l;
}

// The expected pictures of an array: `file` at the given indices, nothing elsewhere.
QStringList Attese(const QString& file, std::initializer_list<int> indici)
{
    QStringList l(9);
    for (int i : indici)
        l[i] = file;
    return l;
}

QStringList TagAttesi(std::initializer_list<int> indici)
{
    QStringList l(9);
    for (int i : indici)
        l[i] = QStringLiteral("pieno");
    return l;
}

void Premi(QWidget* w, int volte = 1)
{
    for (int i = 0; i < volte; ++i)
        QTest::mouseClick(w, Qt::LeftButton);
}

QColor ColoreAlBordo(QWidget* w) { return w->grab().toImage().pixelColor(4, 4); }

} // namespace

class TestFormEs4 : public QObject {
    Q_OBJECT
private slots:
    void domandaComeDaEstrazioni();
    void nuovaDomandaSvuotaTuttoPrimaDiRiempire();
    void quantiNoveRiempieTuttaLaSchiera();
    void finestraComeDaTabella();
    void decimaPressioneIgnorata();
    void grigliaVuotaSempreSbagliata();
    void svuotaDopoErroreEControllaDiNuovo();
    void risoltoPoiAvanti();
    void molteDomandeCoerenti();
    void figuraIllegibileSegnalataConLaDomanda();
};

void TestFormEs4::domandaComeDaEstrazioni()
{
    CartellaFigure c;
    Ambiente amb(c.Percorso());
    CasualeScriptato draws;
    // Colour 4; A = 7; B drawn as 7 twice, then 12; three pictures in Image2, at 4, 4
    // again (taken), 0 and 8.
    Domanda(draws, 4, 7, {7, 7, 12}, 3, 2, {4, 4, 0, 8});
    auto* f = Finestre::Mostra<FormEs4>();
    QVERIFY(draws.Finiti());

    QCOMPARE(f->ColoreSfondo(), Voce(4));
    QCOMPARE(f->FileFigura1, c.File(7));
    QCOMPARE(f->FileFigura2, c.File(12));
    QCOMPARE(f->Quanti, std::int16_t(3));
    QCOMPARE(f->Messi(), std::int16_t(0));
    QCOMPARE(Figure(f->Image2), Attese(c.File(7), {0, 4, 8}));
    QCOMPARE(Tag(f->Image2), TagAttesi({0, 4, 8}));
    QCOMPARE(Figure(f->Image1), Attese(QString(), {}));
    QCOMPARE(Tag(f->Image1), TagAttesi({}));
    QCOMPARE(Figure(f->Image3), Attese(QString(), {}));
    QCOMPARE(f->EtichettaEsatti->text(), QStringLiteral("0"));
    QCOMPARE(f->EtichettaErrati->text(), QStringLiteral("0"));
    QVERIFY(amb.suoni.percorsi.isEmpty());
    QVERIFY(amb.messaggi.avvisi.isEmpty());

    // The child's pictures are those of B.
    Premi(f->Command1, 2);
    QCOMPARE(Figure(f->Image3), Attese(c.File(12), {0, 1}));
}

void TestFormEs4::nuovaDomandaSvuotaTuttoPrimaDiRiempire()
{
    CartellaFigure c;
    Ambiente amb(c.Percorso());
    CasualeScriptato draws;
    Domanda(draws, 1, 20, {1}, 2, 1, {3, 6});
    auto* f = Finestre::Mostra<FormEs4>();
    Premi(f->Command1, 4);
    QCOMPARE(Figure(f->Image1), Attese(c.File(20), {3, 6}));

    // The next question uses Image1 again at place 3: free once the tags are cleared,
    // so one draw is enough for it.
    Domanda(draws, 18, 5, {6}, 2, 1, {3, 0});
    f->NuovaDomanda();
    QVERIFY(draws.Finiti());
    QCOMPARE(f->ColoreSfondo(), Voce(18));
    QCOMPARE(Figure(f->Image1), Attese(c.File(5), {0, 3}));
    QCOMPARE(Tag(f->Image1), TagAttesi({0, 3}));
    QCOMPARE(Figure(f->Image3), Attese(QString(), {}));
    QCOMPARE(Tag(f->Image3), TagAttesi({}));
    QCOMPARE(f->Messi(), std::int16_t(0));

    // And the question after that switches to Image2: Image1 is left empty.
    Domanda(draws, 2, 9, {10}, 1, 2, {7});
    f->NuovaDomanda();
    QVERIFY(draws.Finiti());
    QCOMPARE(Figure(f->Image1), Attese(QString(), {}));
    QCOMPARE(Tag(f->Image1), TagAttesi({}));
    QCOMPARE(Figure(f->Image2), Attese(c.File(9), {7}));
}

void TestFormEs4::quantiNoveRiempieTuttaLaSchiera()
{
    CartellaFigure c;
    Ambiente amb(c.Percorso());
    CasualeScriptato draws;
    Domanda(draws, 9, 3, {4}, 9, 1, {8, 0, 8, 4, 2, 6, 0, 1, 3, 5, 2, 7});
    auto* f = Finestre::Mostra<FormEs4>();
    QVERIFY(draws.Finiti());
    QCOMPARE(f->Quanti, std::int16_t(9));
    QCOMPARE(Figure(f->Image1), Attese(c.File(3), {0, 1, 2, 3, 4, 5, 6, 7, 8}));
    QCOMPARE(Figure(f->Image2), Attese(QString(), {}));

    // Nine presses give the right answer.
    Premi(f->Command1, 9);
    draws.DaUnoA(2, 4);
    Premi(f->Command2);
    QVERIFY(draws.Finiti());
    QCOMPARE(f->EtichettaEsatti->text(), QStringLiteral(" 1"));
    QCOMPARE(amb.suoni.percorsi, QStringList{ModuloColoriSuoni::FileSuono(QStringLiteral("si2.wav"))});
}

void TestFormEs4::finestraComeDaTabella()
{
    CartellaFigure c;
    Ambiente amb(c.Percorso());
    CasualeScriptato draws;
    Domanda(draws, 1, 1, {2}, 1, 1, {0});
    auto* f = Finestre::Mostra<FormEs4>();
    QVERIFY(QTest::qWaitForWindowExposed(f));
    QCOMPARE(f->Client()->size(), QSize(638, 459));
    QCOMPARE(f->windowTitle(), QStringLiteral("Tivoro"));

    for (int i = 0; i < 9; ++i) {
        for (int s = 1; s <= 3; ++s) {
            const QByteArray schiera = "Image" + QByteArray::number(s);
            auto* p = Controllo<ControlloImmagine>(f, Controlli::NomeElemento(schiera.constData(), i));
            QVERIFY(p);
            QCOMPARE(p->geometry(), Posto(QStringLiteral("FormEs4"), s, i));
        }
    }

    struct Bottone {
        const char* nome;
        int left;
        QColor sfondo;
        const char* figura;
        const char* puntatore;
    };
    const Bottone bottoni[] = {{"Command1", 720, QColor(0, 0, 255), "freccia", "freccia"},
                               {"Command2", 2760, QColor(0, 192, 0), "spunta", "spunta"},
                               {"Command3", 4800, QColor(255, 0, 0), "cestino", "cestino_colorato"}};
    for (const Bottone& b : bottoni) {
        auto* w = Controllo<PulsanteGrafico>(f, QString::fromLatin1(b.nome));
        QVERIFY2(w, b.nome);
        QCOMPARE(w->geometry(), Px(b.left, 4680, 1575, 975));
        QVERIFY(w->text().isEmpty());
        QCOMPARE(w->toolButtonStyle(), Qt::ToolButtonIconOnly);
        QVERIFY(w->isEnabled());
        QCOMPARE(ColoreAlBordo(w), b.sfondo);
        QCOMPARE(w->icon().pixmap(32).toImage(),
                 Controlli::Icona(QString::fromLatin1(b.figura)).pixmap(32).toImage());
        QVERIFY(w->testAttribute(Qt::WA_SetCursor));
        const QCursor atteso = Controlli::Cursore(QString::fromLatin1(b.puntatore), QPoint());
        QCOMPARE(w->cursor().shape(), atteso.shape());
        QCOMPARE(w->cursor().pixmap().toImage(), atteso.pixmap().toImage());
    }
    // The three pointers are three different pictures when the pictures are there.
    if (!Controlli::Figurina(QStringLiteral("cestino_colorato")).isNull()) {
        QVERIFY(f->Command1->cursor().pixmap().toImage() != f->Command2->cursor().pixmap().toImage());
        QVERIFY(f->Command3->cursor().pixmap().toImage() != f->Command2->cursor().pixmap().toImage());
    }

    // The frame's column at the right.
    QCOMPARE(f->BottoneAvanti->geometry(), Cornice(QStringLiteral("alta"), QStringLiteral("avanti")));
    QVERIFY(!f->BottoneAvanti->isEnabled());
    QCOMPARE(f->ComandoIconaSi->geometry(), Cornice(QStringLiteral("alta"), QStringLiteral("facce")));
    QVERIFY(!f->ComandoIconaSi->isVisible());
    QVERIFY(f->ComandoIconaNo->isVisible());
    QCOMPARE(f->EtichettaEsatti->geometry(), Cornice(QStringLiteral("alta"), QStringLiteral("esatti")));
}

void TestFormEs4::decimaPressioneIgnorata()
{
    CartellaFigure c;
    Ambiente amb(c.Percorso());
    CasualeScriptato draws;
    Domanda(draws, 3, 11, {14}, 5, 2, {1, 2, 3, 4, 5});
    auto* f = Finestre::Mostra<FormEs4>();
    QVERIFY(QTest::qWaitForWindowExposed(f));
    // Eight presses, the second by Enter and the third by Space held down on the focused
    // button as X11 gives them on a busy machine (each acts once, Space as it is let go),
    // the fourth and fifth by Enter as a screen reader's bridge hands keys on (the key code
    // kept, the time lost), the others clicks; then the ninth press by Enter.
    f->Command1->setFocus();
    for (int n = 1; n <= 9; ++n) {
        if (n == 2 || n == 3) {
            TieniPremuto(f->Command1, n == 2 ? Qt::Key_Return : Qt::Key_Space, {}, 5, true, n == 2 ? 36 : 65);
        } else if (n == 4 || n == 5) {
            for (QEvent::Type t : {QEvent::KeyPress, QEvent::KeyRelease}) {
                QKeyEvent e(t, Qt::Key_Return, Qt::NoModifier, 36, 0, 0, QStringLiteral("\r"));
                QApplication::sendEvent(f->Command1, &e);
            }
        } else if (n < 9) {
            Premi(f->Command1);
        } else {
            QTest::keyClick(f->Command1, Qt::Key_Return);
        }
        QTRY_COMPARE(f->Messi(), std::int16_t(n));
        // Row by row from the top left: the first n places and no other.
        QStringList attese(9);
        for (int i = 0; i < n; ++i)
            attese[i] = c.File(14);
        QCOMPARE(Figure(f->Image3), attese);
    }
    // The given set is untouched, and nothing was drawn, counted or heard.
    QCOMPARE(Figure(f->Image2), Attese(c.File(11), {1, 2, 3, 4, 5}));
    QVERIFY(draws.Finiti());
    QVERIFY(amb.suoni.percorsi.isEmpty());
    QCOMPARE(f->EtichettaErrati->text(), QStringLiteral("0"));

    // A tenth press, clicked or by Enter, changes nothing at all.
    auto stato = [&] {
        return QStringList{QString::number(f->Messi()),
                           f->EtichettaEsatti->text(),
                           f->EtichettaErrati->text(),
                           QString::number(Modulo1::NumeroEsatti),
                           QString::number(Modulo1::NumeroErrati),
                           QString::number(f->ComandoIconaSi->isVisible()),
                           QString::number(f->ComandoIconaNo->isVisible()),
                           QString::number(f->BottoneAvanti->isEnabled())} +
               Figure(f->Image3) + Tag(f->Image3) + Figure(f->Image1) + Figure(f->Image2) + amb.suoni.percorsi;
    };
    const QStringList pieno = stato();
    Premi(f->Command1);
    QCOMPARE(stato(), pieno);
    QTest::keyClick(f->Command1, Qt::Key_Return);
    QCOMPARE(stato(), pieno);
    QVERIFY(draws.Finiti());
}

void TestFormEs4::grigliaVuotaSempreSbagliata()
{
    CartellaFigure c;
    Ambiente amb(c.Percorso());
    CasualeScriptato draws;
    Domanda(draws, 3, 2, {3}, 1, 1, {4});
    auto* f = Finestre::Mostra<FormEs4>();
    QVERIFY(QTest::qWaitForWindowExposed(f));
    const QString no = ModuloColoriSuoni::FileSuono(QStringLiteral("no.wav"));

    Premi(f->Command2);
    QCOMPARE(Modulo1::NumeroErrati, std::int16_t(1));
    QCOMPARE(f->EtichettaErrati->text(), QStringLiteral(" 1"));
    QCOMPARE(f->EtichettaEsatti->text(), QStringLiteral("0"));
    QCOMPARE(amb.suoni.percorsi, QStringList{no});
    QVERIFY(f->ComandoIconaNo->isVisible());
    QVERIFY(!f->ComandoIconaSi->isVisible());
    // The question stays open: every answer button still responds, "avanti" does not.
    QVERIFY(f->Command1->isEnabled() && f->Command2->isEnabled() && f->Command3->isEnabled());
    QVERIFY(!f->BottoneAvanti->isEnabled());

    Premi(f->Command2);
    QCOMPARE(f->EtichettaErrati->text(), QStringLiteral(" 2"));
    QCOMPARE(amb.suoni.percorsi, (QStringList{no, no}));
    QVERIFY(draws.Finiti());
}

void TestFormEs4::svuotaDopoErroreEControllaDiNuovo()
{
    CartellaFigure c;
    Ambiente amb(c.Percorso());
    CasualeScriptato draws;
    Domanda(draws, 3, 8, {9}, 2, 2, {6, 2});
    auto* f = Finestre::Mostra<FormEs4>();
    QVERIFY(QTest::qWaitForWindowExposed(f));

    Premi(f->Command1, 3);
    Premi(f->Command2);
    QCOMPARE(f->EtichettaErrati->text(), QStringLiteral(" 1"));
    QCOMPARE(Figure(f->Image3), Attese(c.File(9), {0, 1, 2})); // the check leaves the grid

    Premi(f->Command3);
    QCOMPARE(f->Messi(), std::int16_t(0));
    QCOMPARE(Figure(f->Image3), Attese(QString(), {}));
    // Emptying gives no feedback at all.
    QCOMPARE(amb.suoni.percorsi.size(), 1);
    QCOMPARE(f->EtichettaErrati->text(), QStringLiteral(" 1"));
    QCOMPARE(f->EtichettaEsatti->text(), QStringLiteral("0"));
    QVERIFY(f->ComandoIconaNo->isVisible());
    QVERIFY(!f->ComandoIconaSi->isVisible());
    QCOMPARE(Figure(f->Image2), Attese(c.File(8), {2, 6}));

    // Emptying an empty grid and checking again counts again.
    Premi(f->Command3);
    Premi(f->Command2);
    QCOMPARE(f->EtichettaErrati->text(), QStringLiteral(" 2"));

    Premi(f->Command1, 2);
    QCOMPARE(Figure(f->Image3), Attese(c.File(9), {0, 1}));
    draws.DaUnoA(4, 4);
    Premi(f->Command2);
    QVERIFY(draws.Finiti());
    QCOMPARE(f->EtichettaEsatti->text(), QStringLiteral(" 1"));
    QCOMPARE(Modulo1::NumeroEsatti, std::int16_t(1));
    QCOMPARE(amb.suoni.percorsi.last(), ModuloColoriSuoni::FileSuono(QStringLiteral("si4.wav")));
    QVERIFY(f->ComandoIconaSi->isVisible());
    QVERIFY(!f->ComandoIconaNo->isVisible());
}

void TestFormEs4::risoltoPoiAvanti()
{
    CartellaFigure c;
    Ambiente amb(c.Percorso());
    CasualeScriptato draws;
    Domanda(draws, 3, 15, {16}, 1, 1, {5});
    auto* f = Finestre::Mostra<FormEs4>();
    QVERIFY(QTest::qWaitForWindowExposed(f));
    Premi(f->Command1);
    draws.DaUnoA(1, 4);
    Premi(f->Command2);

    // Solved: only "avanti" (and the menu) responds.
    QVERIFY(!f->Command1->isEnabled());
    QVERIFY(!f->Command2->isEnabled());
    QVERIFY(!f->Command3->isEnabled());
    QVERIFY(f->BottoneAvanti->isEnabled());
    Premi(f->Command1);
    Premi(f->Command2);
    Premi(f->Command3);
    QCOMPARE(f->Messi(), std::int16_t(1));
    QCOMPARE(Figure(f->Image3), Attese(c.File(16), {0}));
    QCOMPARE(amb.suoni.percorsi.size(), 1);
    QCOMPARE(f->EtichettaEsatti->text(), QStringLiteral(" 1"));
    QVERIFY(draws.Finiti());

    // "avanti": a new question in a new colour, the buttons back, the praise face stays.
    Domanda(draws, 10, 6, {17}, 4, 2, {0, 1, 2, 3});
    Premi(f->BottoneAvanti);
    QVERIFY(draws.Finiti());
    QCOMPARE(f->ColoreSfondo(), Voce(10));
    QVERIFY(f->Command1->isEnabled() && f->Command2->isEnabled() && f->Command3->isEnabled());
    QVERIFY(!f->BottoneAvanti->isEnabled());
    QVERIFY(f->ComandoIconaSi->isVisible());
    QVERIFY(!f->ComandoIconaNo->isVisible());
    QCOMPARE(f->Quanti, std::int16_t(4));
    QCOMPARE(f->Messi(), std::int16_t(0));
    QCOMPARE(Figure(f->Image3), Attese(QString(), {}));
    QCOMPARE(Figure(f->Image1), Attese(QString(), {}));
    QCOMPARE(Figure(f->Image2), Attese(c.File(6), {0, 1, 2, 3}));
    QCOMPARE(f->EtichettaEsatti->text(), QStringLiteral(" 1"));

    // The new question is answered as before.
    Premi(f->Command1, 4);
    draws.DaUnoA(3, 4);
    Premi(f->Command2);
    QCOMPARE(f->EtichettaEsatti->text(), QStringLiteral(" 2"));
    QVERIFY(draws.Finiti());
}

void TestFormEs4::molteDomandeCoerenti()
{
    CartellaFigure c;
    Ambiente amb(c.Percorso());
    Casuale::Semina(20240607);
    auto* f = Finestre::Mostra<FormEs4>();
    QSet<QString> sinistra, destra;
    QSet<int> quanti;
    for (int q = 0; q < 400; ++q) {
        f->NuovaDomanda();
        QVERIFY(f->FileFigura1 != f->FileFigura2);
        QVERIFY(f->Quanti >= 1 && f->Quanti <= 9);
        int pieni1 = 0, pieni2 = 0;
        for (int i = 0; i < 9; ++i) {
            pieni1 += f->Image1[std::size_t(i)]->Tag == QStringLiteral("pieno");
            pieni2 += f->Image2[std::size_t(i)]->Tag == QStringLiteral("pieno");
            QVERIFY(f->Image3[std::size_t(i)]->Vuoto());
            for (auto* p : {f->Image1[std::size_t(i)], f->Image2[std::size_t(i)]})
                QCOMPARE(p->Vuoto(), p->Tag.isEmpty());
        }
        // One array holds exactly Quanti pictures, the other none.
        QVERIFY((pieni1 == f->Quanti && pieni2 == 0) || (pieni2 == f->Quanti && pieni1 == 0));
        sinistra.insert(f->FileFigura1);
        destra.insert(f->FileFigura2);
        quanti.insert(f->Quanti);
    }
    // Any picture can turn up on either side, and any count.
    QCOMPARE(sinistra.size(), 20);
    QCOMPARE(destra.size(), 20);
    QCOMPARE(quanti.size(), 9);
    QVERIFY(amb.messaggi.avvisi.isEmpty());
}

void TestFormEs4::figuraIllegibileSegnalataConLaDomanda()
{
    CartellaFigure c;
    c.Togli(QStringLiteral("12.gif"));
    Ambiente amb(c.Percorso());
    CasualeScriptato draws;
    Domanda(draws, 3, 7, {12}, 2, 1, {0, 1});
    auto* f = Finestre::Mostra<FormEs4>();
    QVERIFY(draws.Finiti());
    // The missing picture of the child's set is reported once, with the question.
    QCOMPARE(amb.messaggi.avvisi.size(), 1);
    QVERIFY(amb.messaggi.avvisi.front().contains(QStringLiteral("12.gif")));
    // The exercise still works: the places show a stand-in picture.
    Premi(f->Command1, 2);
    QCOMPARE(Figure(f->Image3), Attese(c.File(12), {0, 1}));
    QCOMPARE(amb.messaggi.avvisi.size(), 1);
    draws.DaUnoA(1, 4);
    Premi(f->Command2);
    QCOMPARE(f->EtichettaEsatti->text(), QStringLiteral(" 1"));
}

QTEST_MAIN(TestFormEs4)
#include "test_formes4.moc"
