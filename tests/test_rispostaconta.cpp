// The answer box of the two counting windows, driven with real key events, and the
// frame's reactions, menu items and counters as these windows show them.
#include "ContaComune.h"

#include "app/Modulo1.h"
#include "ui/CasellaRisposta.h"
#include "windows/FormMenu.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

namespace {
// What a key may or may not change in a window.
struct Stato {
    QString esatti, errati, testo;
    std::int16_t numeroEsatti, numeroErrati;
    bool si, no, casella, avanti;
    qsizetype suoni;

    static Stato Di(FormConta* f, const Ambiente& amb)
    {
        return {f->EtichettaEsatti->text(), f->EtichettaErrati->text(), f->Text1->text(),
                Modulo1::NumeroEsatti,       Modulo1::NumeroErrati,       f->ComandoIconaSi->isVisible(),
                f->ComandoIconaNo->isVisible(), f->Text1->isEnabled(), f->BottoneAvanti->isEnabled(),
                amb.suoni.percorsi.size()};
    }
    bool operator==(const Stato&) const = default;
};

QString Suono(const QString& cartella, const QString& nome) { return cartella + QStringLiteral("/suoni/") + nome; }

void DueFinestre()
{
    QTest::addColumn<QString>("finestra");
    QTest::newRow("FormEs1") << "FormEs1";
    QTest::newRow("FormEs5") << "FormEs5";
}

// The two windows answered with the keys, or with the pad that a finger brings up.
void DueFinestreDueModi()
{
    QTest::addColumn<QString>("finestra");
    QTest::addColumn<bool>("dito");
    for (const char* finestra : {"FormEs1", "FormEs5"}) {
        QTest::addRow("%s, tasti", finestra) << QString::fromLatin1(finestra) << false;
        QTest::addRow("%s, dito", finestra) << QString::fromLatin1(finestra) << true;
    }
}

// A finger's tap on the middle of a control, through the touch screen.
void Tocca(QWidget* w)
{
    static QPointingDevice* schermo = QTest::createTouchDevice();
    const QPoint p = w->mapTo(w->window(), w->rect().center());
    QTest::touchEvent(w->window()->windowHandle(), schermo).press(0, p);
    QTest::touchEvent(w->window()->windowHandle(), schermo).release(0, p);
}

// A key typed into the box, or its key on the pad tapped.
void Batti(FormConta* f, Qt::Key tasto, bool dito)
{
    if (!dito)
        QTest::keyClick(f->Text1, tasto);
    else if (tasto == Qt::Key_Return)
        Tocca(f->Tastierino1->TastoConferma());
    else
        Tocca(f->Tastierino1->TastoCifra(tasto - Qt::Key_0));
}

// A mouse click leaves the pad hidden; the first touch of a finger anywhere brings it up,
// clear of every other control of the window, its keys at least 40 pixels wide and tall
// and in the tab order after the box, named for a screen reader.
void UnDitoMostraIlTastierino(FormConta* f)
{
    QCOMPARE(f->Tastierino1->TastoCifra(5)->accessibleName(), QStringLiteral("cifra 5"));
    QCOMPARE(f->Tastierino1->TastoConferma()->accessibleName(), QStringLiteral("conferma"));
    QVERIFY(f->Tastierino1->isHidden());
    QTest::mouseClick(f->Label1, Qt::LeftButton);
    QVERIFY(f->Tastierino1->isHidden());
    Tocca(f->Label1);
    QVERIFY(f->Tastierino1->isVisible());
    for (QObject* o : f->Client()->children()) {
        auto* w = qobject_cast<QWidget*>(o);
        if (w && w != f->Tastierino1)
            QVERIFY2(!w->geometry().intersects(f->Tastierino1->geometry()), qPrintable(w->objectName()));
    }
    QWidget* prima = f->Text1;
    for (QAbstractButton* tasto : f->Tastierino1->Tasti()) {
        QVERIFY(tasto->width() >= 40 && tasto->height() >= 40);
        QWidget* dopo = prima->nextInFocusChain();
        while (dopo->focusPolicy() == Qt::NoFocus)
            dopo = dopo->nextInFocusChain();
        QCOMPARE(dopo, tasto);
        prima = tasto;
    }
}
} // namespace

class TestRispostaConta : public QObject {
    Q_OBJECT
private slots:
    void valoreNumerico_data();
    void valoreNumerico();
    void ogniTastoSostituisceIlPrecedente_data() { DueFinestreDueModi(); }
    void ogniTastoSostituisceIlPrecedente();
    void tastiCheNonScrivonoSvuotanoLaCasella_data();
    void tastiCheNonScrivonoSvuotanoLaCasella();
    void invioConCasellaVuotaNonFaNulla_data() { DueFinestreDueModi(); }
    void invioConCasellaVuotaNonFaNulla();
    void invioPremutoAltroveNonGiudica_data() { DueFinestre(); }
    void invioPremutoAltroveNonGiudica();
    void invioTenutoGiudicaUnaVolta_data();
    void invioTenutoGiudicaUnaVolta();
    void testoIncollatoValeIlNumeroIniziale_data();
    void testoIncollatoValeIlNumeroIniziale();
    void erratoPoiEsattoPoiAvanti_data() { DueFinestreDueModi(); }
    void erratoPoiEsattoPoiAvanti();
    void azzeraAMetaDomanda_data() { DueFinestre(); }
    void azzeraAMetaDomanda();
    void esciNoNonCambiaNulla_data() { DueFinestre(); }
    void esciNoNonCambiaNulla();
    void esciSiTornaAlMenuEIlConteggioRiparte_data() { DueFinestre(); }
    void esciSiTornaAlMenuEIlConteggioRiparte();
    void contatoriFermiA32767_data() { DueFinestre(); }
    void contatoriFermiA32767();
    void dalMenuAllaDomandaSuccessiva_data() { DueFinestreDueModi(); }
    void dalMenuAllaDomandaSuccessiva();
};

void TestRispostaConta::valoreNumerico_data()
{
    QTest::addColumn<QString>("testo");
    QTest::addColumn<double>("valore");
    QTest::newRow("cifra") << "7" << 7.0;
    QTest::newRow("cifra e lettere") << "3abc" << 3.0;
    QTest::newRow("lettere") << "abc" << 0.0;
    QTest::newRow("spazio davanti") << " 7" << 7.0;
    QTest::newRow("tab e a capo davanti") << "\t\r\n 4" << 4.0;
    QTest::newRow("spazio in mezzo") << "1 2" << 1.0;
    QTest::newRow("solo spazi") << "   " << 0.0;
    QTest::newRow("decimale") << "3.5" << 3.5;
    QTest::newRow("punto iniziale") << ".5" << 0.5;
    QTest::newRow("punto finale") << "3." << 3.0;
    QTest::newRow("virgola") << "3,9" << 3.0;
    QTest::newRow("segno") << "-2" << -2.0;
    QTest::newRow("più") << "+6" << 6.0;
    QTest::newRow("esponente") << "7e0" << 7.0;
    QTest::newRow("esponente monco") << "8e" << 8.0;
    QTest::newRow("troppo grande") << "1e400" << 0.0;
    QTest::newRow("solo segno") << "-" << 0.0;
    QTest::newRow("cifra di un'altra scrittura") << QString(QChar(0x0667)) << 0.0;
}

void TestRispostaConta::valoreNumerico()
{
    QFETCH(QString, testo);
    QFETCH(double, valore);
    QCOMPARE(ValoreNumerico(testo), valore);
}

void TestRispostaConta::ogniTastoSostituisceIlPrecedente()
{
    QFETCH(QString, finestra);
    QFETCH(bool, dito);
    CartellaFigure cartella;
    Ambiente amb(cartella.Percorso());
    CasualeScriptato draws;
    Domanda(finestra, draws, 3);
    FormConta* f = Apri(finestra);
    QVERIFY(draws.Finiti());
    if (dito)
        UnDitoMostraIlTastierino(f);

    Batti(f, Qt::Key_3, dito);
    Batti(f, Qt::Key_4, dito);
    QCOMPARE(f->Text1->text(), QStringLiteral("4"));
    Batti(f, Qt::Key_Return, dito); // 4 is judged: wrong
    QCOMPARE(f->EtichettaErrati->text(), QStringLiteral(" 1"));
    QCOMPARE(f->EtichettaEsatti->text(), QStringLiteral("0"));

    // A letter (the pad has none: 0) replaces the digit and is a wrong answer too; then 3
    // alone is right.
    Batti(f, dito ? Qt::Key_0 : Qt::Key_A, dito);
    QCOMPARE(f->Text1->text(), dito ? QStringLiteral("0") : QStringLiteral("a"));
    Batti(f, Qt::Key_Return, dito);
    QCOMPARE(f->EtichettaErrati->text(), QStringLiteral(" 2"));
    Batti(f, Qt::Key_3, dito);
    QCOMPARE(f->Text1->text(), QStringLiteral("3"));
    draws.DaUnoA(2, 4);
    Batti(f, Qt::Key_Return, dito);
    QVERIFY(draws.Finiti());
    QCOMPARE(f->EtichettaEsatti->text(), QStringLiteral(" 1"));
    QCOMPARE(amb.suoni.percorsi,
             QStringList({Suono(cartella.Percorso(), QStringLiteral("no.wav")),
                          Suono(cartella.Percorso(), QStringLiteral("no.wav")),
                          Suono(cartella.Percorso(), QStringLiteral("si2.wav"))}));
}

void TestRispostaConta::tastiCheNonScrivonoSvuotanoLaCasella_data()
{
    QTest::addColumn<QString>("finestra");
    QTest::addColumn<int>("tasto");
    const std::pair<const char*, Qt::Key> tasti[] = {{"Maiuscole", Qt::Key_Shift},     {"Ctrl", Qt::Key_Control},
                                                     {"freccia sinistra", Qt::Key_Left}, {"freccia destra", Qt::Key_Right},
                                                     {"freccia su", Qt::Key_Up},         {"Inizio", Qt::Key_Home},
                                                     {"Canc", Qt::Key_Delete},           {"Backspace", Qt::Key_Backspace},
                                                     {"Esc", Qt::Key_Escape},            {"F2", Qt::Key_F2}};
    for (const char* finestra : {"FormEs1", "FormEs5"})
        for (const auto& [nome, tasto] : tasti)
            QTest::addRow("%s, %s", finestra, nome) << QString::fromLatin1(finestra) << int(tasto);
}

void TestRispostaConta::tastiCheNonScrivonoSvuotanoLaCasella()
{
    QFETCH(QString, finestra);
    QFETCH(int, tasto);
    CartellaFigure cartella;
    Ambiente amb(cartella.Percorso());
    CasualeScriptato draws;
    Domanda(finestra, draws, 5);
    FormConta* f = Apri(finestra);

    QTest::keyClick(f->Text1, Qt::Key_5); // the right answer, if it stayed
    QCOMPARE(f->Text1->text(), QStringLiteral("5"));
    const Stato prima = Stato::Di(f, amb);
    QTest::keyClick(f->Text1, Qt::Key(tasto));
    QCOMPARE(f->Text1->text(), QString());

    // Enter released now finds an empty box: nothing happens.
    QTest::keyClick(f->Text1, Qt::Key_Return);
    Stato dopo = Stato::Di(f, amb);
    dopo.testo = prima.testo;
    QVERIFY(dopo == prima);
    QCOMPARE(f->EtichettaEsatti->text(), QStringLiteral("0"));
    QVERIFY(amb.suoni.percorsi.isEmpty());
    QVERIFY(draws.Finiti());
}

void TestRispostaConta::invioConCasellaVuotaNonFaNulla()
{
    QFETCH(QString, finestra);
    QFETCH(bool, dito);
    CartellaFigure cartella;
    Ambiente amb(cartella.Percorso());
    CasualeScriptato draws;
    Domanda(finestra, draws, 2);
    FormConta* f = Apri(finestra);
    if (dito)
        UnDitoMostraIlTastierino(f);
    const Stato prima = Stato::Di(f, amb);
    Batti(f, Qt::Key_Return, dito);
    QTest::keyClick(f->Text1, Qt::Key_Enter, Qt::KeypadModifier);
    TieniPremuto(f->Text1, Qt::Key_Return, Qt::NoModifier, 4);
    QVERIFY(Stato::Di(f, amb) == prima);
    QVERIFY(f->ComandoIconaNo->isVisible());
    QVERIFY(f->ComandoIconaSi->isHidden());
    QVERIFY(amb.suoni.percorsi.isEmpty());
    QVERIFY(draws.Finiti());
}

void TestRispostaConta::invioPremutoAltroveNonGiudica()
{
    QFETCH(QString, finestra);
    CartellaFigure cartella;
    Ambiente amb(cartella.Percorso());
    CasualeScriptato draws;
    Domanda(finestra, draws, 2);
    FormConta* f = Apri(finestra);
    QTest::keyClick(f->Text1, Qt::Key_8);
    const Stato prima = Stato::Di(f, amb);
    // Enter went down in a message box or on the menu bar; only its release reaches the box.
    QTest::keyRelease(f->Text1, Qt::Key_Return);
    QTest::keyRelease(f->Text1, Qt::Key_Enter, Qt::KeypadModifier);
    // Held down there, its repeats and its release reach the box.
    QKeyEvent ripetuta(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"), true);
    QApplication::sendEvent(f->Text1, &ripetuta);
    QTest::keyRelease(f->Text1, Qt::Key_Return);
    QVERIFY(Stato::Di(f, amb) == prima);
    QVERIFY(amb.suoni.percorsi.isEmpty());
    // Pressed and released in the box, it is judged.
    QTest::keyClick(f->Text1, Qt::Key_Return);
    QCOMPARE(f->EtichettaErrati->text(), QStringLiteral(" 1"));
    // Held down, as X11 gives it, while the program was too busy to read the first repeat
    // in time: that release is judged once the wait for a repeat runs out, and the release
    // that really ends the hold is no second answer.
    auto x11 = [&](QEvent::Type tipo, quint64 ora) {
        QKeyEvent e(tipo, Qt::Key_Return, Qt::NoModifier, 36, 0, 0, QStringLiteral("\r"));
        e.setTimestamp(ora);
        QApplication::sendEvent(f->Text1, &e);
    };
    x11(QEvent::KeyPress, 100);
    x11(QEvent::KeyRelease, 600);
    QTRY_COMPARE(f->EtichettaErrati->text(), QStringLiteral(" 2"));
    x11(QEvent::KeyPress, 600);
    x11(QEvent::KeyRelease, 633);
    x11(QEvent::KeyPress, 633);
    x11(QEvent::KeyRelease, 700);
    QTest::qWait(200);
    QCOMPARE(f->EtichettaErrati->text(), QStringLiteral(" 2"));
    // A press in the box whose release comes after the box lost the focus is no answer.
    QTest::keyPress(f->Text1, Qt::Key_Return);
    QFocusEvent via(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(f->Text1, &via);
    QTest::keyRelease(f->Text1, Qt::Key_Return);
    QCOMPARE(f->EtichettaErrati->text(), QStringLiteral(" 2"));
    QVERIFY(draws.Finiti());
}

void TestRispostaConta::invioTenutoGiudicaUnaVolta_data()
{
    QTest::addColumn<QString>("finestra");
    QTest::addColumn<int>("tasto");
    QTest::addColumn<bool>("giusto");
    QTest::addColumn<int>("nativo"); // the key code of the keyboard, as X11 gives it; 0: none
    for (const char* finestra : {"FormEs1", "FormEs5"}) {
        const QString nome = QString::fromLatin1(finestra);
        QTest::addRow("%s, Invio, sbagliato", finestra) << nome << int(Qt::Key_Return) << false << 0;
        QTest::addRow("%s, Invio, giusto", finestra) << nome << int(Qt::Key_Return) << true << 0;
        QTest::addRow("%s, Invio del tastierino, sbagliato", finestra) << nome << int(Qt::Key_Enter) << false << 0;
        QTest::addRow("%s, Invio del tastierino, giusto", finestra) << nome << int(Qt::Key_Enter) << true << 0;
        QTest::addRow("%s, Invio da X11, giusto", finestra) << nome << int(Qt::Key_Return) << true << 36;
        QTest::addRow("%s, Invio del tastierino da X11, sbagliato", finestra)
            << nome << int(Qt::Key_Enter) << false << 104;
    }
}

void TestRispostaConta::invioTenutoGiudicaUnaVolta()
{
    QFETCH(QString, finestra);
    QFETCH(int, tasto);
    QFETCH(bool, giusto);
    QFETCH(int, nativo);
    const Qt::KeyboardModifiers mod = tasto == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier;
    CartellaFigure cartella;
    Ambiente amb(cartella.Percorso());
    CasualeScriptato draws;
    Domanda(finestra, draws, 6);
    FormConta* f = Apri(finestra);
    QTest::keyClick(f->Text1, giusto ? Qt::Key_6 : Qt::Key_8);

    // Held down: nothing is judged while the key is down, however long.
    const Stato prima = Stato::Di(f, amb);
    TieniPremuto(f->Text1, Qt::Key(tasto), mod, 6, false, quint32(nativo));
    QTest::qWait(nativo ? 200 : 0);
    QVERIFY(Stato::Di(f, amb) == prima);

    // Released: judged once, with the text the box held then, whatever key follows at once
    // (here 1, which would replace the text).
    if (giusto)
        draws.DaUnoA(3, 4);
    QKeyEvent su(QEvent::KeyRelease, tasto, mod, quint32(nativo), 0, 0, QStringLiteral("\r"));
    su.setTimestamp(nativo ? 2000 : 0);
    QApplication::sendEvent(f->Text1, &su);
    if (nativo) {
        QKeyEvent dopo(QEvent::KeyPress, Qt::Key_1, Qt::NoModifier, 10, 0, 0, QStringLiteral("1"));
        dopo.setTimestamp(2001);
        QApplication::sendEvent(f->Text1, &dopo);
    }
    QVERIFY(draws.Finiti());
    QCOMPARE(amb.suoni.percorsi.size(), 1);
    if (giusto) {
        QCOMPARE(f->EtichettaEsatti->text(), QStringLiteral(" 1"));
        QCOMPARE(f->EtichettaErrati->text(), QStringLiteral("0"));
        QCOMPARE(amb.suoni.percorsi.front(), Suono(cartella.Percorso(), QStringLiteral("si3.wav")));
        QVERIFY(!f->Text1->isEnabled());
        QVERIFY(f->BottoneAvanti->isEnabled());
    } else {
        QCOMPARE(f->EtichettaEsatti->text(), QStringLiteral("0"));
        QCOMPARE(f->EtichettaErrati->text(), QStringLiteral(" 1"));
        QCOMPARE(amb.suoni.percorsi.front(), Suono(cartella.Percorso(), QStringLiteral("no.wav")));
        QVERIFY(f->Text1->isEnabled());
        // A second press and release of the same key counts again.
        QTest::keyClick(f->Text1, Qt::Key(tasto), mod);
        QCOMPARE(f->EtichettaErrati->text(), QStringLiteral(" 2"));
    }
}

void TestRispostaConta::testoIncollatoValeIlNumeroIniziale_data()
{
    QTest::addColumn<QString>("finestra");
    QTest::addColumn<QString>("testo");
    QTest::addColumn<bool>("giusto");
    const std::pair<const char*, bool> testi[] = {{" 7", true},     {"7abc", true},    {"  7 gatti", true},
                                                  {"\n7", true},    {"7.0", true},     {"07", true},
                                                  {"abc", false},   {"-7", false},     {"77", false},
                                                  {"7.5", false},   {"sette", false},  {" ", false}};
    for (const char* finestra : {"FormEs1", "FormEs5"})
        for (const auto& [testo, giusto] : testi)
            QTest::addRow("%s, \"%s\"", finestra, testo)
                << QString::fromLatin1(finestra) << QString::fromUtf8(testo) << giusto;
}

void TestRispostaConta::testoIncollatoValeIlNumeroIniziale()
{
    QFETCH(QString, finestra);
    QFETCH(QString, testo);
    QFETCH(bool, giusto);
    CartellaFigure cartella;
    Ambiente amb(cartella.Percorso());
    CasualeScriptato draws;
    Domanda(finestra, draws, 7);
    FormConta* f = Apri(finestra);

    QApplication::clipboard()->setText(testo);
    QTest::keyClick(f->Text1, Qt::Key_9);
    QTest::keyClick(f->Text1, Qt::Key_V, Qt::ControlModifier); // Ctrl empties, V pastes
    QCOMPARE(f->Text1->text(), testo);
    if (giusto)
        draws.DaUnoA(1, 4);
    QTest::keyClick(f->Text1, Qt::Key_Return);
    QVERIFY(draws.Finiti());
    QCOMPARE(f->EtichettaEsatti->text(), giusto ? QStringLiteral(" 1") : QStringLiteral("0"));
    QCOMPARE(f->EtichettaErrati->text(), giusto ? QStringLiteral("0") : QStringLiteral(" 1"));
}

void TestRispostaConta::erratoPoiEsattoPoiAvanti()
{
    QFETCH(QString, finestra);
    QFETCH(bool, dito);
    CartellaFigure cartella;
    Ambiente amb(cartella.Percorso());
    CasualeScriptato draws;
    Domanda(finestra, draws, 4);
    FormConta* f = Apri(finestra);
    QVERIFY(QTest::qWaitForWindowActive(f));
    QCOMPARE(QApplication::focusWidget(), f->Text1);
    if (dito)
        UnDitoMostraIlTastierino(f);

    // Wrong: sad face, error sound, " 1"; the question stays open with the wrong digit.
    Batti(f, Qt::Key_2, dito);
    Batti(f, Qt::Key_Return, dito);
    QVERIFY(f->ComandoIconaNo->isVisible());
    QVERIFY(f->ComandoIconaSi->isHidden());
    QCOMPARE(f->EtichettaErrati->text(), QStringLiteral(" 1"));
    QCOMPARE(Modulo1::NumeroErrati, std::int16_t(1));
    QCOMPARE(f->Text1->text(), QStringLiteral("2"));
    QVERIFY(f->Text1->isEnabled());
    QVERIFY(!f->BottoneAvanti->isEnabled());
    // Enter again without typing: another wrong answer.
    Batti(f, Qt::Key_Return, dito);
    QCOMPARE(f->EtichettaErrati->text(), QStringLiteral(" 2"));

    // Right: laughing face, a praise sound, " 1"; the box is locked, "avanti" open.
    Batti(f, Qt::Key_4, dito);
    draws.DaUnoA(3, 4);
    Batti(f, Qt::Key_Return, dito);
    QVERIFY(draws.Finiti());
    QVERIFY(f->ComandoIconaSi->isVisible());
    QVERIFY(f->ComandoIconaNo->isHidden());
    QCOMPARE(f->EtichettaEsatti->text(), QStringLiteral(" 1"));
    QCOMPARE(f->EtichettaErrati->text(), QStringLiteral(" 2"));
    QCOMPARE(Modulo1::NumeroEsatti, std::int16_t(1));
    QVERIFY(!f->Text1->isEnabled());
    QCOMPARE(f->Tastierino1->isEnabled(), false);
    QVERIFY(f->BottoneAvanti->isEnabled());
    const QString no = Suono(cartella.Percorso(), QStringLiteral("no.wav"));
    QCOMPARE(amb.suoni.percorsi, QStringList({no, no, Suono(cartella.Percorso(), QStringLiteral("si3.wav"))}));

    // The locked box takes no input, whether keys are sent to it or to the window.
    const Stato bloccato = Stato::Di(f, amb);
    QTest::keyClick(f->Text1, Qt::Key_7);
    QTest::keyClick(f->Text1, Qt::Key_Return);
    QTest::keyClick(f->windowHandle(), Qt::Key_7);
    QTest::keyClick(f->windowHandle(), Qt::Key_Return);
    if (dito) {
        Batti(f, Qt::Key_7, dito);
        Batti(f, Qt::Key_Return, dito);
    }
    QVERIFY(Stato::Di(f, amb) == bloccato);
    QCOMPARE(f->Text1->text(), QStringLiteral("4"));

    // "avanti": a new question, the box open, empty and focused; the laughing face stays.
    Domanda(finestra, draws, 8, 12);
    QTest::mouseClick(f->BottoneAvanti, Qt::LeftButton);
    QVERIFY(draws.Finiti());
    QCOMPARE(Modulo1::NumeroGiusto, std::int16_t(8));
    QVERIFY(!f->BottoneAvanti->isEnabled());
    QVERIFY(f->Text1->isEnabled());
    QVERIFY(f->Tastierino1->isEnabled());
    QCOMPARE(f->Tastierino1->isVisible(), dito);
    QVERIFY(f->Text1->text().isEmpty());
    QCOMPARE(QApplication::focusWidget(), f->Text1);
    QVERIFY(f->ComandoIconaSi->isVisible());
    QVERIFY(f->ComandoIconaNo->isHidden());
    QCOMPARE(f->EtichettaEsatti->text(), QStringLiteral(" 1"));

    // Typing now goes into the box through the window.
    QTest::keyClick(f->windowHandle(), Qt::Key_8);
    QCOMPARE(f->Text1->text(), QStringLiteral("8"));
    draws.DaUnoA(4, 4);
    QTest::keyClick(f->windowHandle(), Qt::Key_Enter, Qt::KeypadModifier);
    QVERIFY(draws.Finiti());
    QCOMPARE(f->EtichettaEsatti->text(), QStringLiteral(" 2"));
    QCOMPARE(amb.suoni.percorsi.back(), Suono(cartella.Percorso(), QStringLiteral("si4.wav")));
}

void TestRispostaConta::azzeraAMetaDomanda()
{
    QFETCH(QString, finestra);
    CartellaFigure cartella;
    Ambiente amb(cartella.Percorso());
    CasualeScriptato draws;
    Domanda(finestra, draws, 5);
    FormConta* f = Apri(finestra);
    Modulo1::NumeroEsatti = 6;
    QTest::keyClick(f->Text1, Qt::Key_1);
    QTest::keyClick(f->Text1, Qt::Key_Return);
    QTest::keyClick(f->Text1, Qt::Key_Return);
    QCOMPARE(f->EtichettaErrati->text(), QStringLiteral(" 2"));
    const auto colore = f->ColoreSfondo();
    const QString file = f->FileFigura;

    // In the middle of the question: both counts read "0", nothing else moves and
    // nothing is drawn.
    f->MenuAzzera->trigger();
    QCOMPARE(f->EtichettaEsatti->text(), QStringLiteral("0"));
    QCOMPARE(f->EtichettaErrati->text(), QStringLiteral("0"));
    QCOMPARE(Modulo1::NumeroEsatti, std::int16_t(0));
    QCOMPARE(Modulo1::NumeroErrati, std::int16_t(0));
    QCOMPARE(f->Text1->text(), QStringLiteral("1"));
    QVERIFY(f->Text1->isEnabled());
    QVERIFY(!f->BottoneAvanti->isEnabled());
    QVERIFY(f->ComandoIconaNo->isVisible());
    QCOMPARE(f->ColoreSfondo(), colore);
    QCOMPARE(f->FileFigura, file);
    QCOMPARE(Modulo1::NumeroGiusto, std::int16_t(5));
    QCOMPARE(amb.suoni.percorsi.size(), 2);

    // Counting restarts from 0.
    QTest::keyClick(f->Text1, Qt::Key_Return);
    QCOMPARE(f->EtichettaErrati->text(), QStringLiteral(" 1"));
    QTest::keyClick(f->Text1, Qt::Key_5);
    draws.DaUnoA(1, 4);
    QTest::keyClick(f->Text1, Qt::Key_Return);
    QCOMPARE(f->EtichettaEsatti->text(), QStringLiteral(" 1"));

    // After a right answer it leaves the box locked and "avanti" open.
    f->MenuAzzera->trigger();
    QCOMPARE(f->EtichettaEsatti->text(), QStringLiteral("0"));
    QVERIFY(!f->Text1->isEnabled());
    QVERIFY(f->BottoneAvanti->isEnabled());
    QVERIFY(f->ComandoIconaSi->isVisible());
    QVERIFY(draws.Finiti());
}

void TestRispostaConta::esciNoNonCambiaNulla()
{
    QFETCH(QString, finestra);
    CartellaFigure cartella;
    Ambiente amb(cartella.Percorso());
    CasualeScriptato draws;
    Domanda(finestra, draws, 3);
    FormConta* f = Apri(finestra);
    QTest::keyClick(f->Text1, Qt::Key_9);
    QTest::keyClick(f->Text1, Qt::Key_Return);
    const Stato prima = Stato::Di(f, amb);

    amb.messaggi.risposte = {false};
    f->mnuEsci->trigger();
    QCOMPARE(amb.messaggi.domande, QStringList{QStringLiteral("Vuoi tornare al menù?")});
    Consegna();
    QCOMPARE(FinestreVisibili(), QList<Finestra*>{f});
    QVERIFY(Stato::Di(f, amb) == prima);
    QCOMPARE(Modulo1::NumeroErrati, std::int16_t(1));
    QVERIFY(draws.Finiti());
}

void TestRispostaConta::esciSiTornaAlMenuEIlConteggioRiparte()
{
    QFETCH(QString, finestra);
    CartellaFigure cartella;
    Ambiente amb(cartella.Percorso());
    CasualeScriptato draws;
    Domanda(finestra, draws, 3);
    FormConta* f = Apri(finestra);
    QTest::keyClick(f->Text1, Qt::Key_9);
    QTest::keyClick(f->Text1, Qt::Key_Return);
    QTest::keyClick(f->Text1, Qt::Key_3);
    draws.DaUnoA(1, 4);
    QTest::keyClick(f->Text1, Qt::Key_Return);
    QCOMPARE(Modulo1::NumeroEsatti, std::int16_t(1));

    amb.messaggi.risposte = {true};
    draws.DaUnoA(7, 18); // the menu's colour
    f->mnuEsci->trigger();
    QVERIFY(draws.Finiti());
    Consegna();
    const auto aperte = FinestreVisibili();
    QCOMPARE(aperte.size(), 1);
    auto* menu = qobject_cast<FormMenu*>(aperte.front());
    QVERIFY(menu);
    QCOMPARE(Modulo1::NumeroEsatti, std::int16_t(0));
    QCOMPARE(Modulo1::NumeroErrati, std::int16_t(0));

    // The same window again from the menu: counts "0", and counting starts from 0.
    Domanda(finestra, draws, 2);
    QTest::mouseClick(finestra == QLatin1String("FormEs1") ? menu->Command7 : menu->Command4, Qt::LeftButton);
    QVERIFY(draws.Finiti());
    Consegna();
    QCOMPARE(FinestreVisibili().size(), 1);
    auto* g = qobject_cast<FormConta*>(FinestreVisibili().front());
    QVERIFY(g);
    QCOMPARE(g->objectName(), finestra);
    QCOMPARE(g->EtichettaEsatti->text(), QStringLiteral("0"));
    QCOMPARE(g->EtichettaErrati->text(), QStringLiteral("0"));
    QTest::keyClick(g->Text1, Qt::Key_5);
    QTest::keyClick(g->Text1, Qt::Key_Return);
    QCOMPARE(g->EtichettaErrati->text(), QStringLiteral(" 1"));
    QTest::keyClick(g->Text1, Qt::Key_2);
    draws.DaUnoA(2, 4);
    QTest::keyClick(g->Text1, Qt::Key_Return);
    QCOMPARE(g->EtichettaEsatti->text(), QStringLiteral(" 1"));
    QVERIFY(draws.Finiti());
}

void TestRispostaConta::contatoriFermiA32767()
{
    QFETCH(QString, finestra);
    CartellaFigure cartella;
    Ambiente amb(cartella.Percorso());
    Modulo1::NumeroEsatti = 32766;
    Modulo1::NumeroErrati = 32766;
    CasualeScriptato draws;
    Domanda(finestra, draws, 1);
    FormConta* f = Apri(finestra);
    QCOMPARE(f->EtichettaErrati->text(), QStringLiteral("0")); // opening does not show the counters

    QTest::keyClick(f->Text1, Qt::Key_2);
    QTest::keyClick(f->Text1, Qt::Key_Return);
    QCOMPARE(f->EtichettaErrati->text(), QStringLiteral(" 32767"));
    QTest::keyClick(f->Text1, Qt::Key_Return);
    QCOMPARE(f->EtichettaErrati->text(), QStringLiteral(" 32767"));
    QCOMPARE(Modulo1::NumeroErrati, std::int16_t(32767));

    for (int volta = 0; volta < 2; ++volta) {
        QTest::keyClick(f->Text1, Qt::Key_1);
        draws.DaUnoA(1, 4);
        QTest::keyClick(f->Text1, Qt::Key_Return);
        QCOMPARE(f->EtichettaEsatti->text(), QStringLiteral(" 32767"));
        QCOMPARE(Modulo1::NumeroEsatti, std::int16_t(32767));
        Domanda(finestra, draws, 1);
        QTest::mouseClick(f->BottoneAvanti, Qt::LeftButton);
    }
    QVERIFY(draws.Finiti());
    QCOMPARE(amb.suoni.percorsi.size(), 4);
}

void TestRispostaConta::dalMenuAllaDomandaSuccessiva()
{
    QFETCH(QString, finestra);
    QFETCH(bool, dito);
    CartellaFigure cartella;
    Ambiente amb(cartella.Percorso());
    CasualeScriptato draws;
    draws.DaUnoA(2, 18); // the menu's colour
    auto* menu = Finestre::Mostra<FormMenu>();
    QVERIFY(QTest::qWaitForWindowActive(menu));

    // FormEs1: picture 16, three copies in the scatter; FormEs5: the picture of 3.
    if (finestra == QLatin1String("FormEs1"))
        DomandaEs1(draws, 5, 16, 3, 2, {6, 1, 6, 3});
    else
        DomandaEs5(draws, 5, 3);
    // A finger that opens the window from the menu brings the pad up with it.
    QWidget* bottone = finestra == QLatin1String("FormEs1") ? menu->Command7 : menu->Command4;
    if (dito)
        Tocca(bottone);
    else
        QTest::mouseClick(bottone, Qt::LeftButton);
    QVERIFY(draws.Finiti());
    Consegna();
    QVERIFY(!Caricata<FormMenu>());
    QCOMPARE(FinestreVisibili().size(), 1);
    auto* f = qobject_cast<FormConta*>(FinestreVisibili().front());
    QVERIFY(f);
    QCOMPARE(f->objectName(), finestra);
    QVERIFY(QTest::qWaitForWindowActive(f));
    QCOMPARE(QApplication::focusWidget(), f->Text1);
    QCOMPARE(f->EtichettaEsatti->text(), QStringLiteral("0"));
    QCOMPARE(f->EtichettaErrati->text(), QStringLiteral("0"));
    QCOMPARE(f->Tastierino1->isVisible(), dito);
    if (auto* es1 = qobject_cast<FormEs1*>(f)) {
        for (int i : {1, 3, 6}) {
            QCOMPARE(es1->Image2[std::size_t(i)]->Tag, QStringLiteral("pieno"));
            QCOMPARE(Dipinto(es1->Image2[std::size_t(i)]), CartellaFigure::Colore(QStringLiteral("16.gif")));
        }
    } else {
        QCOMPARE(Dipinto(qobject_cast<FormEs5*>(f)->Image1), CartellaFigure::Colore(QStringLiteral("m3.gif")));
    }

    // Everything from here on through the keyboard and the mouse, or by finger, as the
    // child does it.
    QWindow* w = f->windowHandle();
    auto batti = [&](Qt::Key tasto) {
        if (dito)
            Batti(f, tasto, dito);
        else
            QTest::keyClick(w, tasto);
    };
    batti(Qt::Key_4);
    batti(Qt::Key_Return);
    QCOMPARE(f->EtichettaErrati->text(), QStringLiteral(" 1"));
    batti(Qt::Key_3);
    draws.DaUnoA(4, 4);
    batti(Qt::Key_Return);
    QCOMPARE(f->EtichettaEsatti->text(), QStringLiteral(" 1"));
    QVERIFY(!f->Text1->isEnabled());
    QVERIFY(f->BottoneAvanti->isEnabled());

    Domanda(finestra, draws, 9, 16);
    if (dito)
        Tocca(f->BottoneAvanti);
    else
        QTest::mouseClick(f->BottoneAvanti, Qt::LeftButton);
    QVERIFY(draws.Finiti());
    QCOMPARE(QApplication::focusWidget(), f->Text1);
    QCOMPARE(f->ColoreSfondo(), ModuloColoriSuoni::Colori(TabellaColori::Esercizi)[16]);
    batti(Qt::Key_9);
    draws.DaUnoA(2, 4);
    batti(Qt::Key_Return);
    QVERIFY(draws.Finiti());
    QCOMPARE(f->EtichettaEsatti->text(), QStringLiteral(" 2"));
    QCOMPARE(f->EtichettaErrati->text(), QStringLiteral(" 1"));
    const QString c = cartella.Percorso();
    QCOMPARE(amb.suoni.percorsi, QStringList({Suono(c, QStringLiteral("no.wav")), Suono(c, QStringLiteral("si4.wav")),
                                              Suono(c, QStringLiteral("si2.wav"))}));
    QVERIFY(amb.messaggi.avvisi.isEmpty());
}

QTEST_MAIN(TestRispostaConta)
#include "test_rispostaconta.moc"
