// The two comparison windows: layout, the question and its draws, the answers, and the
// way in from the menu.
#include "CartellaFigure.h"
#include "Supporto.h"

#include "app/Casuale.h"
#include "app/Modulo1.h"
#include "app/ModuloColoriSuoni.h"
#include "exercises/FormConfronto.h"
#include "exercises/FormEs2.h"
#include "exercises/FormEs3.h"
#include "ui/ControlloImmagine.h"
#include "ui/Controlli.h"
#include "ui/Finestre.h"
#include "windows/FormMenu.h"

#include <QLabel>
#include <QPushButton>
#include <QSet>
#include <QtTest>

namespace {
// The four arrays of a window by number 1 to 4.
PostiFigure::Posti& Schiera(FormConfronto* f, int numero)
{
    PostiFigure::Posti* s[] = {&f->Image1, &f->Image2, &f->Image3, &f->Image4};
    return *s[numero - 1];
}

// The draws of one question, in the order the window makes them; the re-draws are
// part of the lists.
struct Domanda {
    int colore = 1;        // 1..18
    QList<int> figure;     // picture numbers 1..20
    int quanti1 = 1;
    int quanti2 = 1;
    QList<int> schiere;    // the array draws: 1..2 in FormEs2, 1..4 in FormEs3
    QList<int> posti1;     // place draws 0..8 of the first group
    QList<int> posti2;     // and of the second
};

void Scrivi(CasualeScriptato& draws, const Domanda& d, int latiSchiere)
{
    draws.DaUnoA(d.colore, 18);
    for (int n : d.figure)
        draws.DaUnoA(n, 20);
    draws.DaUnoA(d.quanti1, 9);
    draws.DaUnoA(d.quanti2, 9);
    for (int a : d.schiere)
        draws.DaUnoA(a, latiSchiere);
    for (int k : d.posti1)
        draws.Indice(k, 9);
    for (int k : d.posti2)
        draws.Indice(k, 9);
}

// What a question must show.
struct Atteso {
    int figura1, figura2;
    int schiera1, schiera2; // 1..4
    QSet<int> posti1, posti2;
};

// Every one of the 36 places, the answer row and the counts of the question.
void Controlla(FormConfronto* f, const CartellaFigure& c, const Atteso& a)
{
    QCOMPARE(int(f->Quanti1), int(a.posti1.size()));
    QCOMPARE(int(f->Quanti2), int(a.posti2.size()));
    for (int s = 1; s <= 4; ++s) {
        for (int i = 0; i < 9; ++i) {
            ControlloImmagine* p = Schiera(f, s)[std::size_t(i)];
            QString file;
            if (s == a.schiera1 && a.posti1.contains(i))
                file = c.File(a.figura1);
            else if (s == a.schiera2 && a.posti2.contains(i))
                file = c.File(a.figura2);
            const QByteArray dove = p->objectName().toLatin1();
            QVERIFY2(p->Figura() == file, dove.constData());
            QVERIFY2(p->Tag == (file.isEmpty() ? QString() : QStringLiteral("pieno")), dove.constData());
        }
    }
    QCOMPARE(f->Image5->Figura(), c.File(a.figura1));
    QCOMPARE(f->Image6->Figura(), c.File(a.figura2));
    QCOMPARE(f->Label4->text(), QString());
}

// Everything an answer may or may not change, as text, to compare before and after.
QStringList Stato(FormConfronto* f)
{
    QStringList s;
    for (int a = 1; a <= 4; ++a)
        for (ControlloImmagine* p : Schiera(f, a))
            s << p->objectName() + u'=' + p->Figura() + u'|' + p->Tag;
    s << f->Image5->Figura() << f->Image6->Figura() << f->Label4->text();
    for (QWidget* w : {static_cast<QWidget*>(f->Command1), static_cast<QWidget*>(f->Command2),
                       static_cast<QWidget*>(f->Command3), static_cast<QWidget*>(f->BottoneAvanti)})
        s << w->objectName() + (w->isEnabled() ? QStringLiteral(" on") : QStringLiteral(" off"));
    s << QString::number(f->ColoreSfondo(), 16);
    return s;
}

FormConfronto* Apri(const QString& nome)
{
    if (nome == QStringLiteral("FormEs2"))
        return Finestre::Mostra<FormEs2>();
    return Finestre::Mostra<FormEs3>();
}

int LatiSchiere(const QString& nome) { return nome == QStringLiteral("FormEs2") ? 2 : 4; }

// A question with two small groups in Image1 and Image3, valid in both windows
// (FormEs2: draws 1, 1; FormEs3: draws 1, 3).
Domanda Semplice(const QString& nome, int quanti1, int quanti2)
{
    Domanda d;
    d.colore = 2;
    d.figure = {4, 11};
    d.quanti1 = quanti1;
    d.quanti2 = quanti2;
    d.schiere = nome == QStringLiteral("FormEs2") ? QList<int>{1, 1} : QList<int>{1, 3};
    for (int i = 0; i < quanti1; ++i)
        d.posti1 << i;
    for (int i = 0; i < quanti2; ++i)
        d.posti2 << 8 - i;
    return d;
}

Atteso AttesoSemplice(int quanti1, int quanti2)
{
    Atteso a{4, 11, 1, 3, {}, {}};
    for (int i = 0; i < quanti1; ++i)
        a.posti1 << i;
    for (int i = 0; i < quanti2; ++i)
        a.posti2 << 8 - i;
    return a;
}

void Clic(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton); }
} // namespace

class TestConfronto : public QObject {
    Q_OBJECT
private slots:
    void postiComeDaTabella_data();
    void postiComeDaTabella();
    void postiSopraLaLineaENellaLoroZona();
    void controlliComeDaTabella_data();
    void controlliComeDaTabella();

    void domandaEs2ConTutteLeRiestrazioni();
    void domandaEs3ConTutteLeRiestrazioni();
    void schiereScelte_data();
    void schiereScelte();
    void domandeCasualiRispettanoLeRegole_data();
    void domandeCasualiRispettanoLeRegole();

    void risposte_data();
    void risposte();
    void ilSegnoRestaFinoAdAvanti_data();
    void ilSegnoRestaFinoAdAvanti();
    void laFinestraMostraLeFigureSulPannello();

    void figureMancantiOGuasteDannoUnSoloAvviso();
    void dalMenuAlleRisposte_data();
    void dalMenuAlleRisposte();
};

void TestConfronto::postiComeDaTabella_data()
{
    QTest::addColumn<QString>("finestra");
    QTest::addColumn<int>("schiera");
    QTest::addColumn<int>("indice");
    for (const char* nome : {"FormEs2", "FormEs3"})
        for (int indice = 0; indice < 9; ++indice)
            for (int s = 1; s <= 4; ++s)
                QTest::addRow("%s Image%d(%d)", nome, s, indice) << QString::fromLatin1(nome) << s << indice;
}

void TestConfronto::postiComeDaTabella()
{
    QFETCH(QString, finestra);
    QFETCH(int, schiera);
    QFETCH(int, indice);
    Ambiente amb;
    std::unique_ptr<FormConfronto> f;
    if (finestra == QStringLiteral("FormEs2"))
        f = std::make_unique<FormEs2>();
    else
        f = std::make_unique<FormEs3>();
    const QString nome = QStringLiteral("Image%1(%2)").arg(schiera).arg(indice);
    auto* p = Controllo<ControlloImmagine>(f.get(), nome);
    QVERIFY(p);
    QCOMPARE(p, Schiera(f.get(), schiera)[std::size_t(indice)]);
    QCOMPARE(p->parentWidget(), f->Client());
    QCOMPARE(p->geometry(), Posto(finestra, schiera, indice));
    QVERIFY(p->Vuoto());
    QVERIFY(p->Tag.isEmpty());
    QVERIFY(p->isVisibleTo(f.get()));
}

void TestConfronto::postiSopraLaLineaENellaLoroZona()
{
    Ambiente amb;
    FormEs2 es2;
    FormEs3 es3;
    for (FormConfronto* f : {static_cast<FormConfronto*>(&es2), static_cast<FormConfronto*>(&es3)}) {
        QList<ControlloImmagine*> tutti;
        for (int s = 1; s <= 4; ++s)
            for (ControlloImmagine* p : Schiera(f, s)) {
                QVERIFY2(p->geometry().bottom() < f->Line1->geometry().top(), qPrintable(p->objectName()));
                tutti << p;
            }
        QCOMPARE(QSet<ControlloImmagine*>(tutti.begin(), tutti.end()).size(), 36);
    }
    // FormEs2: the first two arrays in the left half, the other two in the right half,
    // and the places of one array never overlap one another.
    int destraSinistra = 0, sinistraDestra = 10000;
    for (int s = 1; s <= 4; ++s)
        for (ControlloImmagine* p : Schiera(&es2, s)) {
            if (s <= 2)
                destraSinistra = std::max(destraSinistra, p->geometry().right());
            else
                sinistraDestra = std::min(sinistraDestra, p->geometry().left());
            for (ControlloImmagine* q : Schiera(&es2, s))
                QVERIFY(p == q || !p->geometry().intersects(q->geometry()));
        }
    QVERIFY(destraSinistra < sinistraDestra);
    // FormEs3: no place covers another; five pairs of neighbours share a strip of one pixel.
    QList<ControlloImmagine*> tutti;
    for (int s = 1; s <= 4; ++s)
        for (ControlloImmagine* p : Schiera(&es3, s))
            tutti << p;
    int sovrapposti = 0;
    for (int i = 0; i < tutti.size(); ++i)
        for (int j = i + 1; j < tutti.size(); ++j) {
            const QRect r = tutti[i]->geometry() & tutti[j]->geometry();
            if (r.isEmpty())
                continue;
            ++sovrapposti;
            QVERIFY2(std::min(r.width(), r.height()) == 1,
                     qPrintable(tutti[i]->objectName() + u' ' + tutti[j]->objectName()));
        }
    QCOMPARE(sovrapposti, 5);
}

void TestConfronto::controlliComeDaTabella_data()
{
    QTest::addColumn<QString>("finestra");
    QTest::newRow("FormEs2") << QStringLiteral("FormEs2");
    QTest::newRow("FormEs3") << QStringLiteral("FormEs3");
}

void TestConfronto::controlliComeDaTabella()
{
    QFETCH(QString, finestra);
    CartellaFigure c;
    Ambiente amb(c.Percorso());
    CasualeScriptato draws;
    Scrivi(draws, Semplice(finestra, 1, 1), LatiSchiere(finestra));
    FormConfronto* f = Apri(finestra);
    QVERIFY(draws.Finiti());
    QCOMPARE(f->objectName(), finestra);
    QCOMPARE(f->Client()->size(), QSize(638, 459));

    // The line, five pixels thick, centred on 4560 twips, from 120 to 8280 twips.
    auto* linea = Controllo(f, QStringLiteral("Line1"));
    QCOMPARE(linea, f->Line1);
    QCOMPARE(linea->geometry(), QRect(8, 302, 544, 5));
    QVERIFY(linea->isVisibleTo(f));

    auto* pannello = Controllo<QLabel>(f, QStringLiteral("Label3"));
    QVERIFY(pannello);
    QCOMPARE(pannello->geometry(), Px(1920, 4800, 2655, 855));
    QVERIFY(pannello->autoFillBackground());
    QCOMPARE(pannello->palette().color(QPalette::Window), QColor(Qt::white));
    QCOMPARE(pannello->frameShape(), QFrame::Box);
    QCOMPARE(pannello->frameShadow(), QFrame::Plain);
    QCOMPARE(pannello->lineWidth(), 1);
    QCOMPARE(pannello->text(), QString());

    QCOMPARE(Controllo<ControlloImmagine>(f, QStringLiteral("Image5"))->geometry(), Px(1920, 4800, 855, 855));
    QCOMPARE(Controllo<ControlloImmagine>(f, QStringLiteral("Image6"))->geometry(), Px(3720, 4800, 855, 855));
    auto* segno = Controllo<QLabel>(f, QStringLiteral("Label4"));
    QVERIFY(segno);
    QCOMPARE(segno->geometry(), Px(2880, 4920, 735, 615));
    QVERIFY(!segno->autoFillBackground());
    QCOMPARE(segno->alignment(), Qt::Alignment(Qt::AlignCenter));
    QCOMPARE(segno->font().pixelSize(), 48);
    QVERIFY(segno->font().bold());
    QCOMPARE(segno->text(), QString());

    // The panel lies beneath the two pictures and the sign.
    const QObjectList figli = f->Client()->children();
    for (QWidget* sopra : {static_cast<QWidget*>(f->Image5), static_cast<QWidget*>(f->Label4),
                           static_cast<QWidget*>(f->Image6)})
        QVERIFY(figli.indexOf(pannello) < figli.indexOf(sopra));

    const struct {
        const char* nome;
        int left;
        const char* testo;
    } bottoni[] = {{"Command1", 1680, "<"}, {"Command3", 2760, "="}, {"Command2", 3840, ">"}};
    for (const auto& b : bottoni) {
        auto* p = Controllo<QPushButton>(f, QString::fromLatin1(b.nome));
        QVERIFY2(p, b.nome);
        QCOMPARE(p->text(), QString::fromLatin1(b.testo));
        QCOMPARE(p->geometry(), Px(b.left, 5760, 975, 615));
        QCOMPARE(p->font().pixelSize(), 64);
        QVERIFY(p->font().bold());
        QVERIFY(p->isEnabled());
    }

    // The frame in its upper column.
    QCOMPARE(f->ComandoIconaSi->geometry(), Cornice(QStringLiteral("alta"), QStringLiteral("facce")));
    QCOMPARE(f->ComandoIconaNo->geometry(), Cornice(QStringLiteral("alta"), QStringLiteral("facce")));
    QCOMPARE(f->Label1->geometry(), Px(6960, 1680, 735, 375));
    QCOMPARE(f->Label2->geometry(), Px(6960, 2280, 735, 495));
    QCOMPARE(f->EtichettaEsatti->geometry(), Cornice(QStringLiteral("alta"), QStringLiteral("esatti")));
    QCOMPARE(f->EtichettaErrati->geometry(), Cornice(QStringLiteral("alta"), QStringLiteral("errati")));
    QCOMPARE(f->BottoneAvanti->geometry(), Cornice(QStringLiteral("alta"), QStringLiteral("avanti")));
    QVERIFY(!f->BottoneAvanti->isEnabled());
    QVERIFY(f->ComandoIconaNo->isVisible());
    QVERIFY(!f->ComandoIconaSi->isVisible());
    QCOMPARE(f->EtichettaEsatti->text(), QStringLiteral("0"));
    QCOMPARE(f->EtichettaErrati->text(), QStringLiteral("0"));
    QCOMPARE(f->MenuAzzera->text(), QStringLiteral("Azzera conteggio") + QString(8, u' '));
    QCOMPARE(f->MenuInformazioni->text(), QStringLiteral("Informazioni") + QString(10, u' '));

    // Focus order.
    const QStringList ordine = {QStringLiteral("ComandoIconaNo"), QStringLiteral("ComandoIconaSi"),
                                QStringLiteral("BottoneAvanti"),  QStringLiteral("Command1"),
                                QStringLiteral("Command2"),       QStringLiteral("Command3")};
    QWidget* w = Controllo(f, ordine.front());
    for (int i = 1; i < ordine.size(); ++i) {
        w = w->nextInFocusChain();
        while (w->focusPolicy() == Qt::NoFocus)
            w = w->nextInFocusChain();
        QCOMPARE(w->objectName(), ordine[i]);
    }
}

void TestConfronto::domandaEs2ConTutteLeRiestrazioni()
{
    CartellaFigure c;
    Ambiente amb(c.Percorso());
    CasualeScriptato draws;
    Domanda d;
    d.colore = 5;
    d.figure = {7, 7, 7, 15};          // the second drawn again while equal to the first
    d.quanti1 = 3;
    d.quanti2 = 9;
    d.schiere = {2, 1};                // Image2 and Image3
    d.posti1 = {4, 4, 0, 4, 8};        // 4 is taken the second and third time
    d.posti2 = {8, 7, 6, 5, 5, 4, 3, 8, 2, 1, 0};
    Scrivi(draws, d, 2);
    auto* f = Finestre::Mostra<FormEs2>();
    QVERIFY(draws.Finiti());
    QCOMPARE(f->ColoreSfondo(), ModuloColoriSuoni::Colori(TabellaColori::Esercizi)[5]);
    Controlla(f, c, {7, 15, 2, 3, {0, 4, 8}, {0, 1, 2, 3, 4, 5, 6, 7, 8}});
    QVERIFY(amb.messaggi.avvisi.isEmpty());
}

void TestConfronto::domandaEs3ConTutteLeRiestrazioni()
{
    CartellaFigure c;
    Ambiente amb(c.Percorso());
    CasualeScriptato draws;
    Domanda d;
    d.colore = 18;
    d.figure = {20, 1};
    d.quanti1 = 9;
    d.quanti2 = 1;
    d.schiere = {3, 3, 3, 1};          // A2 drawn again while it equals A1
    d.posti1 = {0, 1, 2, 2, 3, 4, 5, 0, 6, 7, 8};
    d.posti2 = {6};
    Scrivi(draws, d, 4);
    auto* f = Finestre::Mostra<FormEs3>();
    QVERIFY(draws.Finiti());
    QCOMPARE(f->ColoreSfondo(), ModuloColoriSuoni::Colori(TabellaColori::Esercizi)[18]);
    Controlla(f, c, {20, 1, 3, 1, {0, 1, 2, 3, 4, 5, 6, 7, 8}, {6}});

    // The next question empties every place before it fills any, and may reuse the kinds.
    draws.DaUnoA(1, 4); // the praise sound
    Clic(f->Command2);
    QCOMPARE(f->Label4->text(), QStringLiteral(">"));
    Domanda e;
    e.colore = 1;
    e.figure = {1, 20};
    e.quanti1 = 2;
    e.quanti2 = 3;
    e.schiere = {4, 2};
    e.posti1 = {6, 5};
    e.posti2 = {6, 7, 6, 8};
    Scrivi(draws, e, 4);
    Clic(f->BottoneAvanti);
    QVERIFY(draws.Finiti());
    Controlla(f, c, {1, 20, 4, 2, {5, 6}, {6, 7, 8}});
}

void TestConfronto::schiereScelte_data()
{
    QTest::addColumn<QString>("finestra");
    QTest::addColumn<QList<int>>("estratte");
    QTest::addColumn<int>("a1");
    QTest::addColumn<int>("a2");
    QTest::newRow("FormEs2 1 1") << "FormEs2" << QList<int>{1, 1} << 1 << 3;
    QTest::newRow("FormEs2 1 2") << "FormEs2" << QList<int>{1, 2} << 1 << 4;
    QTest::newRow("FormEs2 2 1") << "FormEs2" << QList<int>{2, 1} << 2 << 3;
    QTest::newRow("FormEs2 2 2") << "FormEs2" << QList<int>{2, 2} << 2 << 4;
    for (int a = 1; a <= 4; ++a)
        for (int b = 1; b <= 4; ++b)
            if (a != b)
                QTest::addRow("FormEs3 %d %d", a, b) << "FormEs3" << QList<int>{a, b} << a << b;
}

void TestConfronto::schiereScelte()
{
    QFETCH(QString, finestra);
    QFETCH(QList<int>, estratte);
    QFETCH(int, a1);
    QFETCH(int, a2);
    CartellaFigure c;
    Ambiente amb(c.Percorso());
    CasualeScriptato draws;
    Domanda d;
    d.figure = {3, 9};
    d.quanti1 = 2;
    d.quanti2 = 4;
    d.schiere = estratte;
    d.posti1 = {1, 7};
    d.posti2 = {0, 2, 3, 5};
    Scrivi(draws, d, LatiSchiere(finestra));
    FormConfronto* f = Apri(finestra);
    QVERIFY(draws.Finiti());
    // Exactly the chosen arrays hold pictures; the other two are empty with empty tags.
    Controlla(f, c, {3, 9, a1, a2, {1, 7}, {0, 2, 3, 5}});
}

void TestConfronto::domandeCasualiRispettanoLeRegole_data()
{
    QTest::addColumn<QString>("finestra");
    QTest::newRow("FormEs2") << QStringLiteral("FormEs2");
    QTest::newRow("FormEs3") << QStringLiteral("FormEs3");
}

void TestConfronto::domandeCasualiRispettanoLeRegole()
{
    QFETCH(QString, finestra);
    CartellaFigure c;
    Ambiente amb(c.Percorso());
    Casuale::Semina(20240611);
    FormConfronto* f = Apri(finestra);
    QSet<int> usate, coppie, quantita;
    int uguali = 0;
    for (int n = 0; n < 600; ++n) {
        if (n > 0)
            f->NuovaDomanda();
        const QString file1 = f->Image5->Figura();
        const QString file2 = f->Image6->Figura();
        QVERIFY(file1 != file2);
        QVERIFY(f->Quanti1 >= 1 && f->Quanti1 <= 9 && f->Quanti2 >= 1 && f->Quanti2 <= 9);
        uguali += f->Quanti1 == f->Quanti2;
        quantita << f->Quanti1 * 10 + f->Quanti2;
        int schiera1 = 0, schiera2 = 0;
        for (int s = 1; s <= 4; ++s) {
            int primo = 0, secondo = 0;
            for (ControlloImmagine* p : Schiera(f, s)) {
                QCOMPARE(p->Tag, p->Vuoto() ? QString() : QStringLiteral("pieno"));
                primo += p->Figura() == file1;
                secondo += p->Figura() == file2;
                QVERIFY(p->Vuoto() || p->Figura() == file1 || p->Figura() == file2);
            }
            if (primo) {
                QCOMPARE(primo, int(f->Quanti1));
                QCOMPARE(schiera1, 0);
                schiera1 = s;
            }
            if (secondo) {
                QCOMPARE(secondo, int(f->Quanti2));
                QCOMPARE(schiera2, 0);
                schiera2 = s;
            }
            QVERIFY(!(primo && secondo));
        }
        QVERIFY(schiera1 && schiera2);
        if (finestra == QStringLiteral("FormEs2")) {
            QVERIFY(schiera1 <= 2);
            QVERIFY(schiera2 >= 3);
        }
        usate << schiera1 * 10 + schiera2;
        coppie << file1.section(u'/', -1).section(u'.', 0, 0).toInt() * 100
                      + file2.section(u'/', -1).section(u'.', 0, 0).toInt();
    }
    // Every allowed pair of arrays turns up, and the counts are not steered.
    QCOMPARE(usate.size(), finestra == QStringLiteral("FormEs2") ? 4 : 12);
    QVERIFY(uguali > 30 && uguali < 110); // about one question in nine
    QVERIFY(quantita.size() == 81);
    QVERIFY(coppie.size() > 250);
    QVERIFY(amb.messaggi.avvisi.isEmpty());
}

void TestConfronto::risposte_data()
{
    QTest::addColumn<QString>("finestra");
    QTest::addColumn<int>("quanti1");
    QTest::addColumn<int>("quanti2");
    QTest::addColumn<QString>("giusto");
    QTest::addColumn<QString>("segno");
    QTest::newRow("FormEs2 3 < 7") << "FormEs2" << 3 << 7 << "Command1" << "<";
    QTest::newRow("FormEs2 8 > 2") << "FormEs2" << 8 << 2 << "Command2" << ">";
    QTest::newRow("FormEs2 1 = 1") << "FormEs2" << 1 << 1 << "Command3" << "=";
    QTest::newRow("FormEs2 9 = 9") << "FormEs2" << 9 << 9 << "Command3" << "=";
    QTest::newRow("FormEs3 1 < 9") << "FormEs3" << 1 << 9 << "Command1" << "<";
    QTest::newRow("FormEs3 9 > 8") << "FormEs3" << 9 << 8 << "Command2" << ">";
    QTest::newRow("FormEs3 5 = 5") << "FormEs3" << 5 << 5 << "Command3" << "=";
}

void TestConfronto::risposte()
{
    QFETCH(QString, finestra);
    QFETCH(int, quanti1);
    QFETCH(int, quanti2);
    QFETCH(QString, giusto);
    QFETCH(QString, segno);
    CartellaFigure c;
    Ambiente amb(c.Percorso());
    CasualeScriptato draws;
    Scrivi(draws, Semplice(finestra, quanti1, quanti2), LatiSchiere(finestra));
    FormConfronto* f = Apri(finestra);
    QVERIFY(draws.Finiti());
    Controlla(f, c, AttesoSemplice(quanti1, quanti2));
    const QStringList prima = Stato(f);

    // Both wrong buttons, the first one again: each try counts, nothing else changes.
    QStringList sbagliati = {QStringLiteral("Command1"), QStringLiteral("Command2"), QStringLiteral("Command3")};
    sbagliati.removeOne(giusto);
    sbagliati << sbagliati.front();
    int errori = 0;
    for (const QString& nome : sbagliati) {
        Clic(Controllo(f, nome));
        ++errori;
        QCOMPARE(Stato(f), prima);
        QCOMPARE(f->EtichettaErrati->text(), FormEsercizio::TestoConteggio(std::int16_t(errori)));
        QCOMPARE(f->EtichettaEsatti->text(), QStringLiteral("0"));
        QVERIFY(f->ComandoIconaNo->isVisible());
        QVERIFY(!f->ComandoIconaSi->isVisible());
    }
    QCOMPARE(errori, 3);
    QVERIFY(draws.Finiti()); // a wrong answer draws nothing

    draws.DaUnoA(4, 4);
    Clic(Controllo(f, giusto));
    QVERIFY(draws.Finiti());
    QCOMPARE(f->Label4->text(), segno);
    QCOMPARE(f->EtichettaEsatti->text(), QStringLiteral(" 1"));
    QCOMPARE(f->EtichettaErrati->text(), QStringLiteral(" 3"));
    QVERIFY(!f->Command1->isEnabled() && !f->Command2->isEnabled() && !f->Command3->isEnabled());
    QVERIFY(f->BottoneAvanti->isEnabled());
    QVERIFY(f->ComandoIconaSi->isVisible());
    QVERIFY(!f->ComandoIconaNo->isVisible());
    QCOMPARE(Stato(f).mid(0, 38), prima.mid(0, 38)); // the pictures stay
    const QString no = c.Percorso() + QStringLiteral("/suoni/no.wav");
    QCOMPARE(amb.suoni.percorsi, (QStringList{no, no, no, c.Percorso() + QStringLiteral("/suoni/si4.wav")}));
}

void TestConfronto::ilSegnoRestaFinoAdAvanti_data()
{
    QTest::addColumn<QString>("finestra");
    QTest::newRow("FormEs2") << QStringLiteral("FormEs2");
    QTest::newRow("FormEs3") << QStringLiteral("FormEs3");
}

void TestConfronto::ilSegnoRestaFinoAdAvanti()
{
    QFETCH(QString, finestra);
    CartellaFigure c;
    Ambiente amb(c.Percorso());
    CasualeScriptato draws;
    Scrivi(draws, Semplice(finestra, 6, 2), LatiSchiere(finestra));
    FormConfronto* f = Apri(finestra);
    QVERIFY(draws.Finiti());

    const QStringList domanda = Stato(f).mid(0, 38); // the places and the answer row's pictures
    draws.DaUnoA(2, 4);
    Clic(f->Command2);
    QVERIFY(draws.Finiti());
    QCOMPARE(f->Label4->text(), QStringLiteral(">"));
    QCOMPARE(Stato(f).mid(0, 38), domanda);

    // Disabled buttons, the counts' reset and the information box leave the sign.
    Clic(f->Command1);
    Clic(f->Command3);
    f->MenuAzzera->trigger();
    f->MenuInformazioni->trigger();
    QCOMPARE(amb.messaggi.informazioni.size(), 1);
    QCOMPARE(f->Label4->text(), QStringLiteral(">"));
    QCOMPARE(f->EtichettaEsatti->text(), QStringLiteral("0"));
    QCOMPARE(f->EtichettaErrati->text(), QStringLiteral("0"));
    QVERIFY(!f->Command1->isEnabled());
    QVERIFY(f->BottoneAvanti->isEnabled());

    // "avanti": a new question in a new colour, the sign place empty, the buttons back.
    Domanda d = Semplice(finestra, 2, 2);
    d.colore = 13;
    Scrivi(draws, d, LatiSchiere(finestra));
    Clic(f->BottoneAvanti);
    QVERIFY(draws.Finiti());
    QCOMPARE(f->ColoreSfondo(), ModuloColoriSuoni::Colori(TabellaColori::Esercizi)[13]);
    Controlla(f, c, AttesoSemplice(2, 2));
    QVERIFY(f->Command1->isEnabled() && f->Command2->isEnabled() && f->Command3->isEnabled());
    QVERIFY(!f->BottoneAvanti->isEnabled());
    QVERIFY(f->ComandoIconaSi->isVisible()); // the face of the last answer stays
    QVERIFY(!f->ComandoIconaNo->isVisible());
}

void TestConfronto::laFinestraMostraLeFigureSulPannello()
{
    CartellaFigure c;
    Ambiente amb(c.Percorso());
    CasualeScriptato draws;
    Domanda d;
    d.colore = 16; // E0E0E0, a grey the test pictures do not use
    d.figure = {6, 13};
    d.quanti1 = 1;
    d.quanti2 = 1;
    d.schiere = {2, 2};
    d.posti1 = {4};
    d.posti2 = {8};
    Scrivi(draws, d, 2);
    auto* f = Finestre::Mostra<FormEs2>();
    QVERIFY(draws.Finiti());
    draws.DaUnoA(1, 4);
    Clic(f->Command3);
    QCOMPARE(f->Label4->text(), QStringLiteral("="));

    const QImage img = f->Client()->grab().toImage();
    auto colore = [&](QWidget* w, QPoint dentro = QPoint(-1, -1)) {
        const QPoint p = dentro.x() < 0 ? w->geometry().center() : w->geometry().topLeft() + dentro;
        return QColor(img.pixel(p));
    };
    QCOMPARE(colore(f->Image2[4]), CartellaFigure::Colore(6));
    QCOMPARE(colore(f->Image4[8]), CartellaFigure::Colore(13));
    QCOMPARE(colore(f->Image1[4]), QColor(0xE0, 0xE0, 0xE0)); // an empty place shows the window
    QCOMPARE(colore(f->Image5), CartellaFigure::Colore(6));             // above the white panel
    QCOMPARE(colore(f->Image6), CartellaFigure::Colore(13));
    QCOMPARE(colore(f->Label4, QPoint(1, 1)), QColor(Qt::white)); // the panel through the sign's label
    // Its border, where the two pictures do not cover it.
    QCOMPARE(colore(f->Label3, QPoint(f->Label3->width() / 2, 0)), QColor(Qt::black));
    QCOMPARE(colore(f->Label3, QPoint(f->Label3->width() / 2, f->Label3->height() - 1)), QColor(Qt::black));
    QCOMPARE(colore(f->Line1), QColor(Qt::black));
    // The sign is drawn: the middle of the sign's label holds dark pixels.
    int scuri = 0;
    const QRect r = f->Label4->geometry();
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            scuri += qGray(img.pixel(x, y)) < 100;
    QVERIFY(scuri > 50);
}

void TestConfronto::figureMancantiOGuasteDannoUnSoloAvviso()
{
    CartellaFigure c;
    QFile::remove(c.File(7));
    {
        QFile guasto(c.File(15));
        QVERIFY(guasto.open(QIODevice::WriteOnly | QIODevice::Truncate));
        guasto.write("GIF89a non proprio");
    }
    Ambiente amb(c.Percorso());
    CasualeScriptato draws;
    Domanda d;
    d.figure = {7, 15};
    d.quanti1 = 2;
    d.quanti2 = 3;
    d.schiere = {1, 1, 2};
    d.posti1 = {0, 1};
    d.posti2 = {0, 1, 2};
    Scrivi(draws, d, 4);
    auto* f = Finestre::Mostra<FormEs3>();
    QVERIFY(draws.Finiti());
    // The places show the placeholder; the question can still be answered.
    Controlla(f, c, {7, 15, 1, 2, {0, 1}, {0, 1, 2}});
    QCOMPARE(amb.messaggi.avvisi.size(), 2);
    QVERIFY(amb.messaggi.avvisi[0].contains(QStringLiteral("7.gif")));
    QVERIFY(amb.messaggi.avvisi[1].contains(QStringLiteral("15.gif")));
    // The answer row shows the placeholder, not the white panel.
    const QImage img = f->Client()->grab().toImage();
    int disegnati = 0;
    const QRect r5 = f->Image5->geometry();
    for (int y = r5.top(); y <= r5.bottom(); ++y)
        for (int x = r5.left(); x <= r5.right(); ++x)
            disegnati += QColor(img.pixel(x, y)) != QColor(Qt::white);
    QVERIFY(disegnati > r5.width() * r5.height() / 3);

    draws.DaUnoA(3, 4);
    Clic(f->Command1);
    QCOMPARE(f->EtichettaEsatti->text(), QStringLiteral(" 1"));

    // The same files in the next question: no new message.
    Domanda e;
    e.figure = {15, 7};
    e.quanti1 = 1;
    e.quanti2 = 1;
    e.schiere = {4, 4, 2};
    e.posti1 = {5};
    e.posti2 = {5};
    Scrivi(draws, e, 4);
    Clic(f->BottoneAvanti);
    QVERIFY(draws.Finiti());
    Controlla(f, c, {15, 7, 4, 2, {5}, {5}});
    QCOMPARE(amb.messaggi.avvisi.size(), 2);
}

void TestConfronto::dalMenuAlleRisposte_data()
{
    QTest::addColumn<QString>("bottone");
    QTest::addColumn<QString>("finestra");
    QTest::newRow("Command3 apre FormEs2") << "Command3" << "FormEs2";
    QTest::newRow("Command1 apre FormEs3") << "Command1" << "FormEs3";
}

void TestConfronto::dalMenuAlleRisposte()
{
    QFETCH(QString, bottone);
    QFETCH(QString, finestra);
    CartellaFigure c;
    Ambiente amb(c.Percorso());
    CasualeScriptato draws;
    draws.DaUnoA(9, 18); // the menu's colour
    auto* menu = Finestre::Mostra<FormMenu>();
    QVERIFY(QTest::qWaitForWindowExposed(menu));
    QVERIFY(draws.Finiti());

    Domanda d;
    d.colore = 7;
    d.figure = {12, 12, 2};
    d.quanti1 = 4;
    d.quanti2 = 2;
    d.schiere = finestra == QStringLiteral("FormEs2") ? QList<int>{2, 2} : QList<int>{2, 4};
    d.posti1 = {3, 5, 3, 7, 1};
    d.posti2 = {2, 2, 6};
    Scrivi(draws, d, LatiSchiere(finestra));
    Clic(Controllo<QPushButton>(menu, bottone));
    Consegna();
    QVERIFY(draws.Finiti());
    const auto aperte = FinestreVisibili();
    QCOMPARE(aperte.size(), 1);
    auto* f = qobject_cast<FormConfronto*>(aperte.front());
    QVERIFY(f);
    QCOMPARE(f->objectName(), finestra);
    QVERIFY(!Caricata<FormMenu>());
    QVERIFY(QTest::qWaitForWindowExposed(f));
    QCOMPARE(f->EtichettaEsatti->text(), QStringLiteral("0"));
    QCOMPARE(f->EtichettaErrati->text(), QStringLiteral("0"));
    Controlla(f, c, {12, 2, 2, 4, {1, 3, 5, 7}, {2, 6}});

    Clic(f->Command1); // 4 < 2: wrong
    QCOMPARE(f->EtichettaErrati->text(), QStringLiteral(" 1"));
    QCOMPARE(f->Label4->text(), QString());
    draws.DaUnoA(2, 4);
    Clic(f->Command2); // 4 > 2: right
    QVERIFY(draws.Finiti());
    QCOMPARE(f->Label4->text(), QStringLiteral(">"));
    QCOMPARE(f->EtichettaEsatti->text(), QStringLiteral(" 1"));
    QCOMPARE(Modulo1::NumeroEsatti, std::int16_t(1));
    QCOMPARE(Modulo1::NumeroErrati, std::int16_t(1));
    const QString suoni = c.Percorso() + QStringLiteral("/suoni/");
    QCOMPARE(amb.suoni.percorsi, (QStringList{suoni + QStringLiteral("no.wav"), suoni + QStringLiteral("si2.wav")}));

    Domanda e;
    e.colore = 3;
    e.figure = {19, 8};
    e.quanti1 = 1;
    e.quanti2 = 1;
    e.schiere = finestra == QStringLiteral("FormEs2") ? QList<int>{1, 1} : QList<int>{3, 1};
    e.posti1 = {0};
    e.posti2 = {0};
    Scrivi(draws, e, LatiSchiere(finestra));
    Clic(f->BottoneAvanti);
    QVERIFY(draws.Finiti());
    Controlla(f, c, {19, 8, finestra == QStringLiteral("FormEs2") ? 1 : 3, finestra == QStringLiteral("FormEs2") ? 3 : 1,
                     {0}, {0}});
    QVERIFY(f->Command1->isEnabled() && f->Command2->isEnabled() && f->Command3->isEnabled());
    QVERIFY(!f->BottoneAvanti->isEnabled());
    QCOMPARE(f->EtichettaEsatti->text(), QStringLiteral(" 1"));

    // Back to the menu.
    amb.messaggi.risposte = {true};
    draws.DaUnoA(1, 18);
    f->mnuEsci->trigger();
    Consegna();
    QVERIFY(draws.Finiti());
    QVERIFY(Caricata<FormMenu>());
    QVERIFY(!Caricata<FormEs2>() && !Caricata<FormEs3>());
    QCOMPARE(Modulo1::NumeroEsatti, std::int16_t(0));
}

QTEST_MAIN(TestConfronto)
#include "test_confronto.moc"
