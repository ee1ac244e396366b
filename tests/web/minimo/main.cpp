// A window with a menu bar, a picture from the resources, an animated GIF and a button that
// plays a sound effect. The window's title and the button's text tell a test what happened.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QMovie>
#include <QPushButton>
#include <QSoundEffect>
#include <QTimer>
#include <QVBoxLayout>
#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Prova"));

    QMenu *menu = window.menuBar()->addMenu(QStringLiteral("File"));
    QAction *esci = menu->addAction(QStringLiteral("Esci"));
    QObject::connect(esci, &QAction::triggered, &window, &QWidget::close);

    auto *central = new QWidget;
    central->setAutoFillBackground(true);
    QPalette palette = central->palette();
    palette.setColor(QPalette::Window, QColor(0x33, 0x66, 0xcc));
    central->setPalette(palette);
    auto *layout = new QVBoxLayout(central);

    auto *faccina = new QLabel;
    faccina->setPixmap(QPixmap(QStringLiteral(":/icone/faccina.png")));
    layout->addWidget(faccina);

    auto *gif = new QLabel;
    auto *movie = new QMovie(QStringLiteral(":/gif/m1.gif"), QByteArray(), gif);
    gif->setMovie(movie);
    movie->start();
    layout->addWidget(gif);

    QSoundEffect effect;
    effect.setSource(QUrl(QStringLiteral("qrc:/suoni/si1.wav")));
    auto *button = new QPushButton(QStringLiteral("Suona"));
    button->setMinimumHeight(60);
    layout->addWidget(button);
    layout->addStretch();
    QObject::connect(button, &QPushButton::clicked, [&] {
        effect.play();
        button->setText(QStringLiteral("Premuto"));
        std::printf("minimo: clicked, sound status %d\n", int(effect.status()));
        std::fflush(stdout);
    });
    QObject::connect(&effect, &QSoundEffect::statusChanged, [&] {
        std::printf("minimo: sound status %d\n", int(effect.status()));
        std::fflush(stdout);
    });
    QObject::connect(&effect, &QSoundEffect::playingChanged, [&] {
        std::printf("minimo: playing %d\n", int(effect.isPlaying()));
        std::fflush(stdout);
    });

    // A modal question: exec() runs a nested event loop, which the browser can run only
    // when the program is linked with asyncify.
    auto *domanda = new QPushButton(QStringLiteral("Domanda"));
    layout->addWidget(domanda);
    QObject::connect(domanda, &QPushButton::clicked, [&] {
        std::printf("minimo: question open\n");
        std::fflush(stdout);
        const auto risposta = QMessageBox::question(&window, QStringLiteral("Prova"),
                                                    QStringLiteral("Va bene?"));
        std::printf("minimo: answer %s\n", risposta == QMessageBox::Yes ? "yes" : "no");
        std::fflush(stdout);
    });

    window.setCentralWidget(central);
    window.resize(400, 300);
    window.show();
    // Where the buttons are on the page, once the window has its place.
    QTimer::singleShot(200, [&] {
        const QPoint suona = button->mapToGlobal(button->rect().center());
        const QPoint chiedi = domanda->mapToGlobal(domanda->rect().center());
        std::printf("minimo: shown, gif valid %d, picture %d, suona %d %d, domanda %d %d\n",
                    int(movie->isValid()), int(!faccina->pixmap().isNull()), suona.x(),
                    suona.y(), chiedi.x(), chiedi.y());
        std::fflush(stdout);
    });
    return app.exec();
}
