#include "app/MessaggiQt.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QTranslator>

namespace {
QWidget* Padre()
{
    // The translation is read before the first box, not at start-up.
    CaricaTraduzioneItaliana();
    return QApplication::activeWindow();
}
} // namespace

void MessaggiQt::Informazione(const QString& testo)
{
    QMessageBox box(QMessageBox::Information, QStringLiteral("Tivoro"), testo, QMessageBox::Ok, Padre());
    box.exec();
}

bool MessaggiQt::Domanda(const QString& testo)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Tivoro"), testo, QMessageBox::Yes | QMessageBox::No,
                    Padre());
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

void MessaggiQt::Avviso(const QString& testo)
{
    QMetaObject::invokeMethod(
        qApp,
        [testo] {
            QMessageBox box(QMessageBox::Warning, QStringLiteral("Tivoro"), testo, QMessageBox::Ok, Padre());
            box.exec();
        },
        Qt::QueuedConnection);
}

void CaricaTraduzioneItaliana()
{
    static QTranslator traduttore;
    static bool caricata = false;
    if (caricata)
        return;
    caricata = true;
    if (traduttore.load(QLocale(QLocale::Italian, QLocale::Italy), QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&traduttore);
}
