// The yardstick of the start-up and memory benchmarks: a bare Qt Widgets program,
// built with the same compiler and flags as the program, that shows one empty window
// of the size of the program's title window (668 x 518 pixels of client area).
#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QWidget finestra;
    finestra.setWindowTitle(QStringLiteral("Tivoro"));
    finestra.setFixedSize(668, 518);
    finestra.show();
    return QApplication::exec();
}
