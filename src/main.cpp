#include "app/Modulo1.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tivoro"));
    QApplication::setApplicationVersion(QStringLiteral("1.00"));
    Modulo1::Main();
    return QApplication::exec();
}
