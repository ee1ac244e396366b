// The answer box under a real X server: a key held down repeats, and X11 sends a release
// before every repeated press. Enter held down must still give a single key-up.
// The test runs itself again under a private Xvfb and holds the key with xdotool; it is
// skipped where those two programs are missing.
#include "ui/CasellaRisposta.h"

#include <QApplication>
#include <QKeyEvent>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
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
    void invioTenutoDaUnSoloRilascio();

private:
    void SottoXvfb();
    void ConIlServerX();
};

void TestCasellaRispostaX11::invioTenutoDaUnSoloRilascio()
{
    if (QGuiApplication::platformName() == QLatin1String("xcb"))
        ConIlServerX();
    else
        SottoXvfb();
}

void TestCasellaRispostaX11::SottoXvfb()
{
    const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    if (xvfb.isEmpty() || QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
        QSKIP("Xvfb and xdotool are needed to hold a key on a real X server");

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
                 {QStringLiteral("-platform"), QStringLiteral("xcb"), QStringLiteral("invioTenutoDaUnSoloRilascio")});
    const bool finito = figlio.waitForFinished(60000);
    const QByteArray uscita = figlio.readAll();
    server.terminate();
    server.waitForFinished(5000);
    QVERIFY2(finito, uscita.constData());
    QVERIFY2(figlio.exitStatus() == QProcess::NormalExit && figlio.exitCode() == 0, uscita.constData());
}

void TestCasellaRispostaX11::ConIlServerX()
{
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

    // The X key code of Enter, from its first real press.
    struct Codice : QObject {
        quint32 codice = 0;
        bool eventFilter(QObject*, QEvent* e) override
        {
            if (e->type() == QEvent::KeyPress && codice == 0)
                codice = static_cast<QKeyEvent*>(e)->nativeScanCode();
            return false;
        }
    } filtro;
    casella->installEventFilter(&filtro);
    Xdotool({QStringLiteral("keydown"), QStringLiteral("Return")});
    QTRY_VERIFY(filtro.codice != 0);
    auto rilascio = [&] {
        QKeyEvent e(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier, filtro.codice, 0, 0, QStringLiteral("\r"));
        QApplication::sendEvent(casella, &e);
    };

    // A release that X11 sends while the key is still down, not marked as auto-repeat
    // (as when Qt has not seen the next press yet): no key-up.
    rilascio();
    QCOMPARE(su.size(), 0);

    // Held for well over the server's repeat delay, then let go: one key-up.
    QTest::qWait(1500);
    QCOMPARE(su.size(), 0);
    Xdotool({QStringLiteral("keyup"), QStringLiteral("Return")});
    QTRY_COMPARE(su.size(), 1);
    QTest::qWait(200);
    QCOMPARE(su.size(), 1);
    QCOMPARE(su.front().front().toInt(), CasellaRisposta::Invio);
    QVERIFY2(giu.size() > 3, "the key did not repeat: the test proves nothing");

    // With the key up, a release whose press this box did not get is no answer either.
    rilascio();
    QCOMPARE(su.size(), 1);

    // Quick presses each give their key-up.
    Xdotool({QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("50"), QStringLiteral("Return"),
             QStringLiteral("KP_Enter"), QStringLiteral("Return")});
    QTRY_COMPARE(su.size(), 4);
}

QTEST_MAIN(TestCasellaRispostaX11)
#include "test_casellarisposta_x11.moc"
