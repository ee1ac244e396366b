#include "app/MessaggiQt.h"

#include "ui/Finestra.h"
#include "ui/TastoTenuto.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QTranslator>

#include <utility>

namespace {
// Loads Qt's Italian translation so that the buttons read "Sì" and "No".
void CaricaTraduzioneItaliana()
{
    static QTranslator traduttore;
    static bool caricata = false;
    if (caricata)
        return;
    caricata = true;
    // Qt's own folder first; where Qt has none (the browser), the one beside the program.
    const QLocale italiano(QLocale::Italian, QLocale::Italy);
    for (const QString& cartella : {QLibraryInfo::path(QLibraryInfo::TranslationsPath),
                                    QCoreApplication::applicationDirPath() + QStringLiteral("/translations")}) {
        if (traduttore.load(italiano, QStringLiteral("qtbase"), QStringLiteral("_"), cartella)) {
            QCoreApplication::installTranslator(&traduttore);
            return;
        }
    }
}

// The program's window the box belongs to: the active one, or the one on the screen
// when none is active (a box over no window would block them all and be placed anywhere).
QWidget* Padre()
{
    for (QWidget* w = QApplication::activeWindow(); w; w = w->parentWidget() ? w->parentWidget()->window() : nullptr)
        if (qobject_cast<Finestra*>(w))
            return w;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<Finestra*>(w) && w->isVisible())
            return w;
    return nullptr;
}

// Opens a box and returns it, or returns nullptr when the same text is already on the
// screen: a child pressing "Esci" again and again gets one question, not a pile of them.
// The box belongs to the window under it, so it goes when the window goes, and it
// deletes itself once closed.
QMessageBox* Apri(QMessageBox::Icon icona, const QString& testo, QMessageBox::StandardButtons bottoni)
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* b = qobject_cast<QMessageBox*>(w); b && b->isVisible() && b->text() == testo)
            return nullptr;
    // The translation is read before the first box, not at start-up.
    CaricaTraduzioneItaliana();
    auto* box = new QMessageBox(icona, QStringLiteral("Tivoro"), testo, bottoni, Padre());
    box->setAttribute(Qt::WA_DeleteOnClose);
    // The Enter that opened the box, held down, must not answer it.
    for (QAbstractButton* b : box->buttons())
        TastoTenuto::UnaVolta(b);
    return box;
}
} // namespace

void MessaggiQt::Informazione(const QString& testo)
{
    if (QMessageBox* box = Apri(QMessageBox::Information, testo, QMessageBox::Ok))
        box->open();
}

void MessaggiQt::Domanda(const QString& testo, std::function<void(bool si)> risposta)
{
    QMessageBox* box = Apri(QMessageBox::Question, testo, QMessageBox::Yes | QMessageBox::No);
    if (!box)
        return;
    box->setDefaultButton(QMessageBox::Yes);
    box->setEscapeButton(QMessageBox::No);
    // finished comes once the box has closed, however: Yes, No, Escape or the close
    // control (which leaves no button clicked, so it counts as No). A box deleted with
    // its window never sends it.
    QObject::connect(box, &QDialog::finished, box, [box, risposta = std::move(risposta)]() mutable {
        const bool si = box->standardButton(box->clickedButton()) == QMessageBox::Yes;
        if (auto r = std::exchange(risposta, nullptr))
            r(si);
    });
    box->open();
}

void MessaggiQt::Avviso(const QString& testo)
{
    QMetaObject::invokeMethod(
        qApp,
        [testo] {
            if (QMessageBox* box = Apri(QMessageBox::Warning, testo, QMessageBox::Ok))
                box->open();
        },
        Qt::QueuedConnection);
}
