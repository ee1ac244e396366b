#include "app/Modulo1.h"
#include "app/Piattaforma.h"
#include "ui/Figure.h"
#include "ui/Finestre.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tivoro"));
    QApplication::setApplicationVersion(QStringLiteral("1.00"));
    Modulo1::Main();
    const int esito = QApplication::exec();
    // Windows, sounds and pictures go while Qt is still there to release them.
    Finestre::ScaricaTutte();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    Piattaforma::Ripristina();
    Figure::Dimentica();
    return esito;
}
