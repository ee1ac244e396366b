// Start-up, the title window, the main menu and the way out of the program.
#include "Supporto.h"

#include "app/Casuale.h"
#include "app/MessaggiQt.h"
#include "app/Modulo1.h"
#include "exercises/FormEs1.h"
#include "exercises/FormEs2.h"
#include "exercises/FormEs3.h"
#include "exercises/FormEs4.h"
#include "exercises/FormEs5.h"
#include "exercises/FormOrd.h"
#include "frame/FormEsercizio.h"
#include "ui/Controlli.h"
#include "ui/Finestre.h"
#include "windows/FormAvvio.h"
#include "windows/FormMenu.h"

#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>
#include <array>

namespace {
void ControllaCarattere(QWidget* w, int pixel, bool grassetto)
{
    QVERIFY(w);
    QCOMPARE(w->font().pixelSize(), pixel);
    QCOMPARE(w->font().bold(), grassetto);
}

// The program's windows as they appear and go, seen from outside: "+FormMenu" when a
// window is shown, "-FormAvvio" when it is hidden.
class Comparse : public QObject {
public:
    Comparse() { qApp->installEventFilter(this); }
    QStringList eventi;

protected:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if ((e->type() == QEvent::Show || e->type() == QEvent::Hide) && qobject_cast<Finestra*>(o))
            eventi << (e->type() == QEvent::Show ? QStringLiteral("+") : QStringLiteral("-")) + o->objectName();
        return false;
    }
};

// The message boxes that exist, shown or not.
QList<QMessageBox*> Scatole()
{
    QList<QMessageBox*> l;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* b = qobject_cast<QMessageBox*>(w))
            l.append(b);
    return l;
}
} // namespace

class TestAvvio : public QObject {
    Q_OBJECT
private slots:
    void mainMostraIlTitoloNelColoreEstratto();
    void titoloComeDaTabella();
    void invioESpazioSuAvvioApronoIlMenu_data();
    void invioESpazioSuAvvioApronoIlMenu();
    void menuComeDaTabella();
    void ogniBottoneApreLaSuaFinestraEChiudeIlMenu_data();
    void ogniBottoneApreLaSuaFinestraEChiudeIlMenu();
    void esciDelMenuNoNonCambiaNulla();
    void esciDelMenuSiTerminaIlProgramma();
    void chiusuraDellaFinestraTerminaIlProgramma();
    void ritornoDaUnEsercizioDaUnMenuNuovoInUnNuovoColore();
    void scatoleVereRispondonoDopo_data();
    void scatoleVereRispondonoDopo();
};

void TestAvvio::mainMostraIlTitoloNelColoreEstratto()
{
    // Main seeds the generator from the clock: two starts some milliseconds apart, from the
    // same state of the generator, go on with different draws. The script stands in for
    // the generator only for the title's colour (entry 6, which the exercises' tables lack).
    std::array<float, 2> seguito[2];
    for (auto& dopo : seguito) {
        Ambiente amb;
        Casuale::Semina(1);
        {
            CasualeScriptato colore;
            colore.DaUnoA(6, 18);
            Modulo1::Main();
            QVERIFY(colore.Finiti());
        }
        // The windows without an icon of their own (the menu) show the program's.
        QCOMPARE(QApplication::windowIcon().cacheKey(), Controlli::Icona(QStringLiteral("animale")).cacheKey());
        const auto aperte = FinestreVisibili();
        QCOMPARE(aperte.size(), 1);
        auto* titolo = qobject_cast<FormAvvio*>(aperte.front());
        QVERIFY(titolo);
        QCOMPARE(titolo->objectName(), QStringLiteral("FormAvvio"));
        QCOMPARE(titolo->ColoreSfondo(), 0xFFFF00u);
        QCOMPARE(SfondoVisto(titolo), QColor(0, 255, 255));
        dopo = {Casuale::Rnd(), Casuale::Rnd()};
        QTest::qSleep(5);
    }
    QVERIFY(seguito[0] != seguito[1]);
}

void TestAvvio::titoloComeDaTabella()
{
    Ambiente amb;
    CasualeScriptato draws{0.0f};
    auto* f = Finestre::Mostra<FormAvvio>();
    QCOMPARE(f->Client()->size(), QSize(668, 518));
    QCOMPARE(f->windowTitle(), QStringLiteral("Tivoro"));
    QVERIFY(!f->windowIcon().isNull());

    auto* titolo = Controllo<QLabel>(f, QStringLiteral("Label2(0)"));
    auto* sotto = Controllo<QLabel>(f, QStringLiteral("Label2(1)"));
    auto* avvio = Controllo<QToolButton>(f, QStringLiteral("Command1"));
    QVERIFY(titolo && sotto && avvio);
    QCOMPARE(titolo->text(), QStringLiteral("Tivoro"));
    QCOMPARE(titolo->geometry(), Px(2520, 1560, 4815, 1575));
    ControllaCarattere(titolo, 96, true);
    QCOMPARE(sotto->text(), QStringLiteral("Esercitazioni matematiche"));
    QCOMPARE(sotto->geometry(), Px(2640, 360, 4935, 855));
    ControllaCarattere(sotto, 24, true);
    QVERIFY(!titolo->autoFillBackground() && !sotto->autoFillBackground());
    QCOMPARE(titolo->focusPolicy(), Qt::NoFocus);

    QCOMPARE(avvio->text(), QStringLiteral("Avvio"));
    QCOMPARE(avvio->geometry(), Px(3240, 4800, 3375, 1215));
    ControllaCarattere(avvio, 19, true);
    QCOMPARE(avvio->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
    // The picture of assets/icone, as the program carries it compiled in, on the button and
    // as the window's icon.
    const QImage animale = QImage(QStringLiteral(TIVORO_ASSETS_DIR "/icone/animale.png"))
                               .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QVERIFY(!animale.isNull());
    QCOMPARE(avvio->icon().pixmap(animale.size()).toImage(), animale);
    QCOMPARE(f->windowIcon().pixmap(animale.size()).toImage(), animale);
    QCOMPARE(f->focusWidget(), avvio);
}

void TestAvvio::invioESpazioSuAvvioApronoIlMenu_data()
{
    QTest::addColumn<int>("tasto");
    QTest::newRow("Invio") << int(Qt::Key_Return);
    QTest::newRow("Invio del tastierino") << int(Qt::Key_Enter);
    QTest::newRow("Spazio") << int(Qt::Key_Space);
}

void TestAvvio::invioESpazioSuAvvioApronoIlMenu()
{
    QFETCH(int, tasto);
    Ambiente amb;
    CasualeScriptato draws;
    draws.DaUnoA(1, 18);
    draws.DaUnoA(6, 18); // the menu's colour: an entry of its own table only
    auto* titolo = Finestre::Mostra<FormAvvio>();
    QVERIFY(QTest::qWaitForWindowExposed(titolo));
    Comparse comparse;
    QTest::keyClick(titolo->Command1, Qt::Key(tasto));
    QVERIFY(draws.Finiti());
    Consegna();
    // The menu comes before the title goes, so that a window is always on the screen.
    QCOMPARE(comparse.eventi, QStringList({QStringLiteral("+FormMenu"), QStringLiteral("-FormAvvio")}));
    const auto aperte = FinestreVisibili();
    QCOMPARE(aperte.size(), 1);
    auto* menu = qobject_cast<FormMenu*>(aperte.front());
    QVERIFY(menu);
    QCOMPARE(menu->ColoreSfondo(), 0xFFFF00u);
    QVERIFY(!Caricata<FormAvvio>());
}

void TestAvvio::menuComeDaTabella()
{
    Ambiente amb;
    CasualeScriptato draws{0.0f};
    auto* m = Finestre::Mostra<FormMenu>();
    QCOMPARE(m->Client()->size(), QSize(640, 480));
    struct Riga {
        const char* nome;
        int top;
        const char* testo;
        int pixel;
    };
    const Riga righe[] = {{"Command7", 240, "Conta fino a 9", 24},       {"Command4", 960, "Conta fino a 9", 24},
                          {"Command2", 1680, "Corrispondenza 1 a 1", 24}, {"Command5", 2400, "Ordina i numeri", 24},
                          {"Command3", 3120, "<  >  =", 48},             {"Command1", 3840, "<  >  =", 48}};
    for (const Riga& r : righe) {
        auto* b = Controllo<QPushButton>(m, QString::fromLatin1(r.nome));
        QVERIFY2(b, r.nome);
        QCOMPARE(b->text(), QString::fromUtf8(r.testo));
        QCOMPARE(b->geometry(), Px(240, r.top, 4095, 615));
        ControllaCarattere(b, r.pixel, true);
    }
    auto* esci = Controllo<QToolButton>(m, QStringLiteral("BottoneEsci"));
    QVERIFY(esci);
    QCOMPARE(esci->text(), QStringLiteral("Esci"));
    QCOMPARE(esci->geometry(), Px(4320, 4800, 3975, 855));
    ControllaCarattere(esci, 18, false);
    QVERIFY(!esci->icon().isNull());
    QCOMPARE(esci->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);

    // Tab order: Command7, Command1, Command2, BottoneEsci, Command3, Command4, Command5.
    const QStringList ordine = {QStringLiteral("Command7"), QStringLiteral("Command1"), QStringLiteral("Command2"),
                                QStringLiteral("BottoneEsci"), QStringLiteral("Command3"), QStringLiteral("Command4"),
                                QStringLiteral("Command5")};
    QWidget* w = Controllo(m, ordine.front());
    for (int i = 1; i < ordine.size(); ++i) {
        w = w->nextInFocusChain();
        while (w->focusPolicy() == Qt::NoFocus)
            w = w->nextInFocusChain();
        QCOMPARE(w->objectName(), ordine[i]);
    }
}

void TestAvvio::ogniBottoneApreLaSuaFinestraEChiudeIlMenu_data()
{
    QTest::addColumn<QString>("bottone");
    QTest::addColumn<QString>("finestra");
    QTest::newRow("Command7") << "Command7" << "FormEs1";
    QTest::newRow("Command4") << "Command4" << "FormEs5";
    QTest::newRow("Command2") << "Command2" << "FormEs4";
    QTest::newRow("Command5") << "Command5" << "FormOrd";
    QTest::newRow("Command3") << "Command3" << "FormEs2";
    QTest::newRow("Command1") << "Command1" << "FormEs3";
}

void TestAvvio::ogniBottoneApreLaSuaFinestraEChiudeIlMenu()
{
    QFETCH(QString, bottone);
    QFETCH(QString, finestra);
    Ambiente amb;
    Casuale::Semina(7);
    auto* m = Finestre::Mostra<FormMenu>();
    Comparse comparse;
    QTest::mouseClick(Controllo<QPushButton>(m, bottone), Qt::LeftButton);
    Consegna();
    QCOMPARE(comparse.eventi, QStringList({QLatin1Char('+') + finestra, QStringLiteral("-FormMenu")}));
    const auto aperte = FinestreVisibili();
    QCOMPARE(aperte.size(), 1);
    QCOMPARE(aperte.front()->objectName(), finestra);
    QVERIFY(!Caricata<FormMenu>());
    auto* es = qobject_cast<FormEsercizio*>(aperte.front());
    QVERIFY(es);
    QCOMPARE(es->EtichettaEsatti->text(), QStringLiteral("0"));
    QCOMPARE(es->EtichettaErrati->text(), QStringLiteral("0"));
}

void TestAvvio::esciDelMenuNoNonCambiaNulla()
{
    Ambiente amb;
    CasualeScriptato draws{0.3f};
    auto* m = Finestre::Mostra<FormMenu>();
    const auto colore = m->ColoreSfondo();
    amb.messaggi.risposte = {false};
    QTest::mouseClick(m->BottoneEsci, Qt::LeftButton);
    QCOMPARE(amb.messaggi.domande, QStringList{QStringLiteral("Vuoi uscire dal programma?")});
    QCOMPARE(amb.terminazioni, 0);
    Consegna();
    QCOMPARE(FinestreVisibili(), QList<Finestra*>{m});
    QCOMPARE(m->ColoreSfondo(), colore);
    QVERIFY(draws.Finiti());
}

void TestAvvio::esciDelMenuSiTerminaIlProgramma()
{
    Ambiente amb;
    CasualeScriptato draws{0.3f};
    auto* m = Finestre::Mostra<FormMenu>();
    amb.messaggi.risposte = {true};
    QTest::mouseClick(m->BottoneEsci, Qt::LeftButton);
    QCOMPARE(amb.messaggi.domande.size(), 1);
    QCOMPARE(amb.terminazioni, 1);
}

void TestAvvio::chiusuraDellaFinestraTerminaIlProgramma()
{
    Ambiente amb;
    CasualeScriptato draws{0.3f};
    auto* t = Finestre::Mostra<FormAvvio>();
    QVERIFY(QTest::qWaitForWindowExposed(t));
    t->close();
    QCOMPARE(amb.terminazioni, 1);
    QVERIFY(amb.messaggi.domande.isEmpty());
    QVERIFY(!Caricata<FormMenu>());
}

void TestAvvio::ritornoDaUnEsercizioDaUnMenuNuovoInUnNuovoColore()
{
    Ambiente amb;
    Casuale::Semina(11);
    auto* m = Finestre::Mostra<FormMenu>();
    QTest::mouseClick(m->Command7, Qt::LeftButton);
    Consegna();
    auto* es = Caricata<FormEs1>();
    QVERIFY(es);
    Modulo1::NumeroEsatti = 4;
    Modulo1::NumeroErrati = 2;
    amb.messaggi.risposte = {true};
    Comparse comparse;
    {
        CasualeScriptato draws;
        draws.DaUnoA(6, 18); // the menu's colour: an entry of its own table only
        es->mnuEsci_Click();
        QVERIFY(draws.Finiti());
    }
    QCOMPARE(amb.messaggi.domande, QStringList{QStringLiteral("Vuoi tornare al menù?")});
    Consegna();
    QCOMPARE(comparse.eventi, QStringList({QStringLiteral("+FormMenu"), QStringLiteral("-FormEs1")}));
    const auto aperte = FinestreVisibili();
    QCOMPARE(aperte.size(), 1);
    auto* nuovo = qobject_cast<FormMenu*>(aperte.front());
    QVERIFY(nuovo);
    QCOMPARE(nuovo->ColoreSfondo(), 0xFFFF00u);
    QCOMPARE(Modulo1::NumeroEsatti, std::int16_t(0));
    QCOMPARE(Modulo1::NumeroErrati, std::int16_t(0));
}

void TestAvvio::scatoleVereRispondonoDopo_data()
{
    QTest::addColumn<QString>("chi");      // "Esci" of the menu or of an exercise, or "Informazioni"
    QTest::addColumn<int>("volte");        // how often it is chosen before the box is answered
    QTest::addColumn<QString>("risposta"); // a button, Escape, the box's close control, or the window unloaded
    QTest::addColumn<bool>("effetto");     // the program ends / the menu comes back

    QTest::newRow("menu, Sì") << "menu" << 1 << "Sì" << true;
    QTest::newRow("menu, No") << "menu" << 1 << "No" << false;
    QTest::newRow("menu, Sì after Esci twice") << "menu" << 2 << "Sì" << true;
    QTest::newRow("menu, Escape") << "menu" << 1 << "Esc" << false;
    QTest::newRow("esercizio, Sì") << "esercizio" << 1 << "Sì" << true;
    QTest::newRow("esercizio, Sì after Esci three times") << "esercizio" << 3 << "Sì" << true;
    QTest::newRow("esercizio, close control") << "esercizio" << 1 << "chiusura" << false;
    QTest::newRow("esercizio, the window gone first") << "esercizio" << 1 << "via" << false;
    QTest::newRow("informazioni, OK after twice") << "informazioni" << 2 << "OK" << false;
}

void TestAvvio::scatoleVereRispondonoDopo()
{
    QFETCH(QString, chi);
    QFETCH(int, volte);
    QFETCH(QString, risposta);
    QFETCH(bool, effetto);
    Ambiente amb;
    Piattaforma::ImpostaMessaggi(std::make_unique<MessaggiQt>());
    Casuale::Semina(5);
    Finestra* finestra = nullptr;
    FormMenu* menu = nullptr;
    FormEsercizio* es = nullptr;
    if (chi == u"menu")
        finestra = menu = Finestre::Mostra<FormMenu>();
    else
        finestra = es = Finestre::Mostra<FormEs1>();
    QVERIFY(QTest::qWaitForWindowExposed(finestra));
    Modulo1::NumeroEsatti = 4;
    Modulo1::NumeroErrati = 2;

    for (int i = 0; i < volte; ++i) {
        if (menu)
            QTest::mouseClick(menu->BottoneEsci, Qt::LeftButton);
        else if (chi == u"esercizio")
            es->mnuEsci->trigger();
        else
            es->MenuInformazioni->trigger();
    }
    // Asked and not yet answered: one box, modal for the window under it, and nothing done.
    const auto scatole = Scatole();
    QCOMPARE(scatole.size(), 1);
    QMessageBox* box = scatole.front();
    QVERIFY(box->isVisible());
    QCOMPARE(box->parentWidget(), finestra);
    QCOMPARE(box->windowModality(), Qt::WindowModal);
    QCOMPARE(QGuiApplication::modalWindow(), box->windowHandle());
    QCOMPARE(box->windowTitle(), QStringLiteral("Tivoro"));
    QCOMPARE(amb.terminazioni, 0);
    QCOMPARE(FinestreVisibili(), QList<Finestra*>{finestra});
    if (chi == u"informazioni") {
        QCOMPARE(box->text(), Modulo1::TestoInformazioni());
        QCOMPARE(box->icon(), QMessageBox::Information);
        QCOMPARE(box->standardButtons(), QMessageBox::Ok);
    } else {
        QCOMPARE(box->text(),
                 menu ? QStringLiteral("Vuoi uscire dal programma?") : QStringLiteral("Vuoi tornare al menù?"));
        QCOMPARE(box->icon(), QMessageBox::Question);
        QCOMPARE(box->standardButtons(), QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(box->button(QMessageBox::Yes)->text(), QStringLiteral("&Sì"));
        QCOMPARE(box->button(QMessageBox::No)->text(), QStringLiteral("&No"));
        QCOMPARE(box->defaultButton(), box->button(QMessageBox::Yes));
    }
    if (menu) {
        // A click on the window under the box, through the window system, does not get there.
        const QPoint p = menu->Command7->mapTo(menu, menu->Command7->rect().center());
        QTest::mouseClick(menu->windowHandle(), Qt::LeftButton, {}, p);
        QVERIFY(!Caricata<FormEs1>());
    }

    if (risposta == u"Sì")
        QTest::mouseClick(box->button(QMessageBox::Yes), Qt::LeftButton);
    else if (risposta == u"No")
        QTest::mouseClick(box->button(QMessageBox::No), Qt::LeftButton);
    else if (risposta == u"OK")
        QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
    else if (risposta == u"Esc")
        QTest::keyClick(box, Qt::Key_Escape);
    else if (risposta == u"chiusura")
        box->close();
    else
        ScaricaFinestre();
    Consegna();
    // Closed, the box is gone; the answer has done its part, once.
    QVERIFY(Scatole().isEmpty());
    if (menu) {
        QCOMPARE(amb.terminazioni, effetto ? 1 : 0);
        QCOMPARE(FinestreVisibili(), QList<Finestra*>{menu});
        return;
    }
    QCOMPARE(amb.terminazioni, 0);
    const bool via = risposta == u"via";
    const auto aperte = FinestreVisibili();
    QCOMPARE(aperte.size(), via ? 0 : 1);
    if (!via)
        QCOMPARE(aperte.front()->objectName(), effetto ? QStringLiteral("FormMenu") : QStringLiteral("FormEs1"));
    QCOMPARE(Modulo1::NumeroEsatti, std::int16_t(effetto ? 0 : 4));
    QCOMPARE(Modulo1::NumeroErrati, std::int16_t(effetto ? 0 : 2));
}

QTEST_MAIN(TestAvvio)
#include "test_avvio.moc"
