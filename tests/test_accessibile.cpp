// What a screen reader and the keyboard find in every window: a name on every control
// that takes the focus, look-alike controls told apart, the names that matter, the
// pictures named and the empty places out of sight, the counts named as they change,
// and the menu bar reached without the mouse.
#include "Supporto.h"

#include "app/Casuale.h"
#include "app/Modulo1.h"
#include "exercises/FormEs1.h"
#include "exercises/FormEs2.h"
#include "exercises/FormEs3.h"
#include "exercises/FormEs4.h"
#include "exercises/FormEs5.h"
#include "exercises/FormOrd.h"
#include "ui/CasellaRisposta.h"
#include "ui/Finestre.h"
#include "ui/Tessera.h"
#include "windows/FormAvvio.h"
#include "windows/FormMenu.h"

#include <QAccessible>
#include <QLabel>
#include <QMenuBar>
#include <QSet>
#include <QtTest>

namespace {
Finestra* Apri(const QString& finestra)
{
    if (finestra == QLatin1String("FormAvvio"))
        return Finestre::Mostra<FormAvvio>();
    if (finestra == QLatin1String("FormMenu"))
        return Finestre::Mostra<FormMenu>();
    if (finestra == QLatin1String("FormEs1"))
        return Finestre::Mostra<FormEs1>();
    if (finestra == QLatin1String("FormEs5"))
        return Finestre::Mostra<FormEs5>();
    if (finestra == QLatin1String("FormEs4"))
        return Finestre::Mostra<FormEs4>();
    if (finestra == QLatin1String("FormOrd"))
        return Finestre::Mostra<FormOrd>();
    if (finestra == QLatin1String("FormEs2"))
        return Finestre::Mostra<FormEs2>();
    if (finestra == QLatin1String("FormEs3"))
        return Finestre::Mostra<FormEs3>();
    return nullptr;
}

QString Nome(QObject* o)
{
    QAccessibleInterface* i = QAccessible::queryAccessibleInterface(o);
    return i ? i->text(QAccessible::Name) : QStringLiteral("<no interface>");
}

QString Descrizione(QObject* o)
{
    QAccessibleInterface* i = QAccessible::queryAccessibleInterface(o);
    return i ? i->text(QAccessible::Description) : QString();
}

// The pictures a screen reader finds in a window: the names of the images not hidden
// from it, sorted.
QStringList FigureVisibili(Finestra* f)
{
    QStringList nomi;
    for (ControlloImmagine* c : f->findChildren<ControlloImmagine*>()) {
        QAccessibleInterface* i = QAccessible::queryAccessibleInterface(c);
        if (i->role() == QAccessible::Graphic && !i->state().invisible && !c->isHidden())
            nomi.append(i->text(QAccessible::Name));
    }
    nomi.sort();
    return nomi;
}

// One row per window; the title and the menu have no counts.
void RigheFinestre(bool soloEsercizi)
{
    QTest::addColumn<QString>("finestra");
    for (const char* f : {"FormAvvio", "FormMenu", "FormEs1", "FormEs5", "FormEs4", "FormOrd", "FormEs2", "FormEs3"})
        if (!soloEsercizi || QByteArray(f).startsWith("FormEs") || QByteArray(f) == "FormOrd")
            QTest::newRow(f) << QString::fromLatin1(f);
}
} // namespace

class TestAccessibile : public QObject {
    Q_OBJECT
private slots:
    void ogniControlloCheTieneIlFuocoHaUnNomeSuo_data();
    void ogniControlloCheTieneIlFuocoHaUnNomeSuo();
    void nomi_data();
    void nomi();
    void figureConIlNomeEPostiVuotiNascosti();
    void conteggiConUnNomeSolo_data();
    void conteggiConUnNomeSolo();
    void barraDeiMenuDallaTastiera_data();
    void barraDeiMenuDallaTastiera();
};

void TestAccessibile::ogniControlloCheTieneIlFuocoHaUnNomeSuo_data() { RigheFinestre(false); }

void TestAccessibile::ogniControlloCheTieneIlFuocoHaUnNomeSuo()
{
    QFETCH(QString, finestra);
    Ambiente amb;
    Casuale::Semina(5);
    Finestra* f = Apri(finestra);
    QVERIFY(f);
    QSet<QString> visti;
    for (QWidget* w : f->findChildren<QWidget*>()) {
        if (w->focusPolicy() == Qt::NoFocus)
            continue;
        const QString nome = Nome(w).trimmed();
        QVERIFY2(!nome.isEmpty(), qPrintable(w->objectName() + QStringLiteral(" has no name")));
        // Two controls that read alike must differ in name or description.
        const QString chi = nome + u'|' + Descrizione(w);
        QVERIFY2(!visti.contains(chi), qPrintable(w->objectName() + QStringLiteral(" reads as another: ") + chi));
        visti.insert(chi);
    }
    // The items of the menu bar: named, without the blanks of their captions.
    if (QMenuBar* barra = f->findChild<QMenuBar*>()) {
        QAccessibleInterface* b = QAccessible::queryAccessibleInterface(barra);
        QCOMPARE(b->childCount(), 3);
        for (int i = 0; i < b->childCount(); ++i) {
            const QString nome = b->child(i)->text(QAccessible::Name);
            QVERIFY2(!nome.isEmpty() && nome == nome.trimmed(), qPrintable(u'"' + nome + u'"'));
            QCOMPARE(b->child(i)->role(), QAccessible::MenuItem);
        }
    }
}

void TestAccessibile::nomi_data()
{
    QTest::addColumn<QString>("finestra");
    QTest::addColumn<QString>("controllo");
    QTest::addColumn<QString>("nome");
    auto riga = [](const char* f, const char* c, const char* n) {
        QTest::addRow("%s %s", f, c) << QString::fromLatin1(f) << QString::fromLatin1(c) << QString::fromUtf8(n);
    };
    riga("FormAvvio", "Command1", "Avvio");
    riga("FormMenu", "Command7", "Conta fino a 9, figure ripetute");
    riga("FormMenu", "Command4", "Conta fino a 9, una figura di gruppo");
    riga("FormMenu", "Command2", "Corrispondenza 1 a 1");
    riga("FormMenu", "Command5", "Ordina i numeri");
    riga("FormMenu", "Command3", "minore, maggiore, uguale: gruppi affiancati");
    riga("FormMenu", "Command1", "minore, maggiore, uguale: gruppi mescolati");
    riga("FormMenu", "BottoneEsci", "Esci");
    riga("FormEs1", "ComandoIconaSi", "risposta giusta");
    riga("FormEs1", "ComandoIconaNo", "risposta sbagliata");
    riga("FormEs1", "Text1", "risposta");
    riga("FormEs1", "BottoneAvanti", "avanti");
    riga("FormEs1", "MenuAzzera", "Azzera conteggio");
    riga("FormEs1", "MenuInformazioni", "Informazioni");
    riga("FormEs1", "mnuEsci", "Esci");
    riga("FormEs5", "Text1", "risposta");
    riga("FormEs4", "Command1", "aggiungi una figura");
    riga("FormEs4", "Command2", "controlla");
    riga("FormEs4", "Command3", "svuota");
    riga("FormEs4", "MenuInformazioni", "Informazioni");
    riga("FormEs2", "Command1", "minore");
    riga("FormEs2", "Command3", "uguale");
    riga("FormEs2", "Command2", "maggiore");
    riga("FormEs3", "ComandoIconaNo", "risposta sbagliata");
    riga("FormOrd", "ComandoIconaSi", "risposta giusta");
    riga("FormOrd", "ComandoIconaNo", "risposta sbagliata");
    riga("FormOrd", "MenuAzzera", "Azzera conteggio");
}

void TestAccessibile::nomi()
{
    QFETCH(QString, finestra);
    QFETCH(QString, controllo);
    QFETCH(QString, nome);
    Ambiente amb;
    Casuale::Semina(3);
    Finestra* f = Apri(finestra);
    QObject* o = f->findChild<QObject*>(controllo);
    QVERIFY(o);
    QCOMPARE(Nome(o), nome);
}

void TestAccessibile::figureConIlNomeEPostiVuotiNascosti()
{
    Ambiente amb;
    {
        // Picture 1 (an apple), three copies, the grid; its cells 0, 4 and 8.
        CasualeScriptato draws;
        draws.DaUnoA(2, 18);
        draws.DaUnoA(1, 20);
        draws.DaUnoA(3, 9);
        draws.DaUnoA(1, 3);
        for (int i : {0, 4, 8})
            draws.Indice(i, 9);
        auto* f = Finestre::Mostra<FormEs1>();
        QVERIFY(draws.Finiti());
        QCOMPARE(FigureVisibili(f), QStringList(3, QStringLiteral("mela")));

        // The next question: the grid's cells emptied are out of sight again.
        draws.DaUnoA(1, 4); // the praise sound
        draws.DaUnoA(3, 18);
        draws.DaUnoA(13, 20);
        draws.DaUnoA(1, 9);
        draws.DaUnoA(2, 3);
        draws.Indice(5, 9);
        f->Esatto();
        f->BottoneAvanti_Click();
        QVERIFY(draws.Finiti());
        QCOMPARE(FigureVisibili(f), QStringList{QStringLiteral("pulcino")});
        Finestre::Scarica(f);
    }
    {
        // The group picture names its things, not how many: the count is the answer.
        CasualeScriptato draws;
        draws.DaUnoA(2, 18);
        draws.DaUnoA(3, 9);
        auto* f = Finestre::Mostra<FormEs5>();
        QVERIFY(draws.Finiti());
        QCOMPARE(FigureVisibili(f), QStringList{QStringLiteral("stelle da contare")});
        Finestre::Scarica(f);
    }
    {
        // Corrispondenza: the given set, then each picture the child adds.
        CasualeScriptato draws;
        draws.DaUnoA(2, 18);
        draws.DaUnoA(8, 20);  // the given set: fish
        draws.DaUnoA(19, 20); // the child's: trees
        draws.DaUnoA(2, 9);
        draws.DaUnoA(1, 2);
        draws.Indice(0, 9);
        draws.Indice(1, 9);
        auto* f = Finestre::Mostra<FormEs4>();
        QVERIFY(draws.Finiti());
        QCOMPARE(FigureVisibili(f), (QStringList{QStringLiteral("pesce"), QStringLiteral("pesce")}));
        f->Command1_Click();
        QCOMPARE(FigureVisibili(f), (QStringList{QStringLiteral("albero"), QStringLiteral("pesce"), QStringLiteral("pesce")}));
        f->Command3_Click();
        QCOMPARE(FigureVisibili(f), (QStringList{QStringLiteral("pesce"), QStringLiteral("pesce")}));
    }
}

void TestAccessibile::conteggiConUnNomeSolo_data() { RigheFinestre(true); }

void TestAccessibile::conteggiConUnNomeSolo()
{
    QFETCH(QString, finestra);
    Ambiente amb;
    Casuale::Semina(9);
    auto* f = qobject_cast<FormEsercizio*>(Apri(finestra));
    QVERIFY(f);
    QCOMPARE(Nome(f->EtichettaEsatti), QStringLiteral("Esatti: 0"));
    QCOMPARE(Nome(f->EtichettaErrati), QStringLiteral("Errati: 0"));
    if (auto* o = qobject_cast<FormOrd*>(f)) {
        // The ordering window counts in its own drop handler.
        Tessera* prima = o->Label3[0];
        o->Label4_DragDrop(1, prima);
        o->Label4_DragDrop(0, prima);
    } else {
        f->Errato();
        f->Esatto();
    }
    QCOMPARE(Nome(f->EtichettaEsatti), QStringLiteral("Esatti: 1"));
    QCOMPARE(Nome(f->EtichettaErrati), QStringLiteral("Errati: 1"));
    f->MenuAzzera_Click();
    QCOMPARE(Nome(f->EtichettaEsatti), QStringLiteral("Esatti: 0"));
    QCOMPARE(Nome(f->EtichettaErrati), QStringLiteral("Errati: 0"));
}

void TestAccessibile::barraDeiMenuDallaTastiera_data()
{
    QTest::addColumn<int>("tasto");
    QTest::addColumn<bool>("esci"); // Esc instead of Enter on "Esci"
    QTest::newRow("Alt, Invio") << int(Qt::Key_Alt) << false;
    QTest::newRow("F10, Invio") << int(Qt::Key_F10) << false;
    QTest::newRow("F10, Esc") << int(Qt::Key_F10) << true;
}

void TestAccessibile::barraDeiMenuDallaTastiera()
{
    QFETCH(int, tasto);
    QFETCH(bool, esci);
    Ambiente amb;
    Casuale::Semina(4);
    auto* f = Finestre::Mostra<FormEs1>();
    QVERIFY(QTest::qWaitForWindowActive(f));
    QCOMPARE(QApplication::focusWidget(), f->Text1);
    QWindow* w = f->windowHandle();
    QTest::keyClick(w, Qt::Key(tasto));
    QCOMPARE(QApplication::focusWidget(), f->menuBar());
    QCOMPARE(f->menuBar()->activeAction(), f->MenuAzzera);
    QTest::keyClick(w, Qt::Key_Right);
    QTest::keyClick(w, Qt::Key_Right);
    QCOMPARE(f->menuBar()->activeAction(), f->mnuEsci);
    amb.messaggi.risposte = {false};
    QTest::keyClick(w, esci ? Qt::Key_Escape : Qt::Key_Return);
    QCOMPARE(amb.messaggi.domande, esci ? QStringList() : QStringList{QStringLiteral("Vuoi tornare al menù?")});
    // The focus is back in the answer box, which takes the answer again.
    QCOMPARE(QApplication::focusWidget(), f->Text1);
    QCOMPARE(f->menuBar()->activeAction(), nullptr);
}

QTEST_MAIN(TestAccessibile)
#include "test_accessibile.moc"
