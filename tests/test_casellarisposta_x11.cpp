// The answer box under a real X server: a key held down repeats, and X11 sends a release
// before every repeated press; keys typed by a program come faster than any child's.
// Each press and release of Enter in the box must give exactly one key-up, and Enter held
// down a single one, when it is let go.
// The test runs itself again under a private Xvfb and types with xdotool; it is skipped
// where those two programs are missing.
#include "ui/CasellaRisposta.h"

#include <QApplication>
#include <QKeyEvent>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QThread>
#include <QtTest>

namespace {
void Xdotool(const QStringList& argomenti)
{
    QCOMPARE(QProcess::execute(QStringLiteral("xdotool"), argomenti), 0);
}
} // namespace

class TestCasellaRispostaX11 : public QObject {
    Q_OBJECT
private slots:
    void ogniInvioUnSoloRilascio_data();
    void ogniInvioUnSoloRilascio();

private:
    void SottoXvfb();
    void InvioTenuto(CasellaRisposta* casella, QSignalSpy& giu, QSignalSpy& su);
    void Raffica(CasellaRisposta* casella);
};

void TestCasellaRispostaX11::ogniInvioUnSoloRilascio_data()
{
    QTest::addColumn<bool>("raffica");
    QTest::newRow("Invio tenuto") << false;
    QTest::newRow("cifre e Invio a raffica") << true;
}

void TestCasellaRispostaX11::ogniInvioUnSoloRilascio()
{
    QFETCH(bool, raffica);
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        SottoXvfb();
        return;
    }
    QWidget finestra;
    finestra.resize(200, 100);
    auto* casella = new CasellaRisposta(&finestra, QStringLiteral("Text1"), QRect(0, 0, 1500, 900), QFont());
    QSignalSpy giu(casella, &CasellaRisposta::TastoGiu);
    QSignalSpy su(casella, &CasellaRisposta::TastoSu);
    finestra.show();
    QVERIFY(QTest::qWaitForWindowExposed(&finestra));
    Xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), QString::number(finestra.winId())});
    casella->setFocus();
    QTRY_VERIFY(casella->hasFocus());
    if (raffica)
        Raffica(casella);
    else
        InvioTenuto(casella, giu, su);
}

void TestCasellaRispostaX11::SottoXvfb()
{
    const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    if (xvfb.isEmpty() || QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
        QSKIP("Xvfb and xdotool are needed to type on a real X server");

    // Xvfb picks a free display and writes its number on its output.
    QProcess server;
    server.start(xvfb, {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                        QStringLiteral("0"), QStringLiteral("640x480x24"), QStringLiteral("-nolisten"),
                        QStringLiteral("tcp")});
    QVERIFY(server.waitForStarted());
    QByteArray numero;
    while (!numero.contains('\n') && server.waitForReadyRead(10000))
        numero += server.readAllStandardOutput();
    numero = numero.trimmed();
    QVERIFY2(!numero.isEmpty(), "Xvfb gave no display number");

    QProcess figlio;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.insert(QStringLiteral("DISPLAY"), QStringLiteral(":") + QString::fromLatin1(numero));
    figlio.setProcessEnvironment(env);
    figlio.setProcessChannelMode(QProcess::MergedChannels);
    figlio.start(QCoreApplication::applicationFilePath(),
                 {QStringLiteral("-platform"), QStringLiteral("xcb"),
                  QStringLiteral("ogniInvioUnSoloRilascio:") + QString::fromUtf8(QTest::currentDataTag())});
    const bool finito = figlio.waitForFinished(60000);
    const QByteArray uscita = figlio.readAll();
    server.terminate();
    server.waitForFinished(5000);
    QVERIFY2(finito, uscita.constData());
    QVERIFY2(figlio.exitStatus() == QProcess::NormalExit && figlio.exitCode() == 0, uscita.constData());
}

void TestCasellaRispostaX11::InvioTenuto(CasellaRisposta* casella, QSignalSpy& giu, QSignalSpy& su)
{
    // The first real press of Enter, as X11 reported it.
    struct Pressione : QObject {
        quint32 codice = 0;
        quint64 ora = 0;
        bool eventFilter(QObject*, QEvent* e) override
        {
            if (e->type() == QEvent::KeyPress && codice == 0) {
                codice = static_cast<QKeyEvent*>(e)->nativeScanCode();
                ora = static_cast<QKeyEvent*>(e)->timestamp();
            }
            return false;
        }
    } filtro;
    casella->installEventFilter(&filtro);
    Xdotool({QStringLiteral("keydown"), QStringLiteral("Return")});
    QTRY_VERIFY(filtro.codice != 0);
    auto manda = [&](QEvent::Type tipo) {
        QKeyEvent e(tipo, Qt::Key_Return, Qt::NoModifier, filtro.codice, 0, 0, QStringLiteral("\r"));
        e.setTimestamp(filtro.ora);
        QApplication::sendEvent(casella, &e);
    };

    // A repeat that Qt could not mark as one (the press was not read yet when the release
    // came): a release and a press at the same time, neither marked. No key-up.
    manda(QEvent::KeyRelease);
    manda(QEvent::KeyPress);
    QTest::qWait(200);
    QCOMPARE(su.size(), 0);

    // Held for well over the server's repeat delay, then let go: one key-up.
    QTest::qWait(1300);
    QCOMPARE(su.size(), 0);
    Xdotool({QStringLiteral("keyup"), QStringLiteral("Return")});
    QTRY_COMPARE(su.size(), 1);
    QTest::qWait(200);
    QCOMPARE(su.size(), 1);
    QCOMPARE(su.front().front().toInt(), CasellaRisposta::Invio);
    QVERIFY2(giu.size() > 3, "the key did not repeat: the test proves nothing");

    // With the key up, a release whose press this box did not get is no answer either.
    manda(QEvent::KeyRelease);
    QTest::qWait(200);
    QCOMPARE(su.size(), 1);

    // Quick presses each give their key-up.
    Xdotool({QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("50"), QStringLiteral("Return"),
             QStringLiteral("KP_Enter"), QStringLiteral("Return")});
    QTRY_COMPARE(su.size(), 4);
    QTest::qWait(200);
    QCOMPARE(su.size(), 4);
}

void TestCasellaRispostaX11::Raffica(CasellaRisposta* casella)
{
    // Ten rounds of "1 Return 2 Return ... 9 Return", a key every millisecond. The window
    // works as the counting windows do: a digit replaces the text, Enter takes a few
    // milliseconds over the answer, so that the keys pile up behind it.
    QStringList tasti = {QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("1")};
    QStringList attese;
    for (int giro = 0; giro < 10; ++giro)
        for (int n = 1; n <= 9; ++n) {
            tasti << QString::number(n) << QStringLiteral("Return");
            attese << QString::number(n);
        }
    QStringList giudicate;
    connect(casella, &CasellaRisposta::TastoGiu, this, [casella](int codice) {
        if (codice != CasellaRisposta::Invio)
            casella->clear();
    });
    connect(casella, &CasellaRisposta::TastoSu, this, [&giudicate, casella](int codice) {
        if (codice != CasellaRisposta::Invio)
            return;
        giudicate << casella->text();
        QThread::msleep(3);
    });

    // The box reads the keys while they come.
    QProcess xdotool;
    xdotool.start(QStringLiteral("xdotool"), tasti);
    QVERIFY(xdotool.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(xdotool.state() == QProcess::NotRunning, 30000);
    QCOMPARE(xdotool.exitCode(), 0);
    // Every Enter judged once, in order, each with the digit typed just before it.
    QTRY_COMPARE(giudicate.size(), attese.size());
    QTest::qWait(200);
    QCOMPARE(giudicate, attese);
}

QTEST_MAIN(TestCasellaRispostaX11)
#include "test_casellarisposta_x11.moc"
