#include "ui/Finestra.h"

#include "ui/Twips.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMenuBar>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <algorithm>

namespace {
QColor DaColoreProgramma(ColoreBGR c)
{
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

// The client area paints its background colour itself. Were the colour in its palette,
// every new colour would make each control resolve a palette of its own anew, and the
// style would draw every button again from scratch and keep one more cached drawing of
// it for each palette (a new question changes the colour every time).
class AreaCliente : public QWidget {
public:
    explicit AreaCliente(QWidget* padre) : QWidget(padre) { setAttribute(Qt::WA_OpaquePaintEvent); }

    QColor colore;

protected:
    void paintEvent(QPaintEvent* e) override { QPainter(this).fillRect(e->rect(), colore); }
};
} // namespace

Finestra::Finestra(const char* nome, QSize clientTwips, QWidget* parent)
    : QMainWindow(parent), client_(new AreaCliente(this)), clientPx_(Twips::Dim(clientTwips))
{
    setObjectName(QString::fromLatin1(nome));
    setWindowTitle(QStringLiteral("Tivoro"));
    client_->setObjectName(QStringLiteral("client"));
    client_->setFixedSize(clientPx_);
    setCentralWidget(client_);
    ImpostaColoreSfondo(colore_);
    FissaDimensioni();
}

void Finestra::ImpostaColoreSfondo(ColoreBGR colore)
{
    colore_ = colore & 0xFFFFFF;
    static_cast<AreaCliente*>(client_)->colore = DaColoreProgramma(colore_);
    client_->update();
}

void Finestra::FissaDimensioni()
{
    int altezzaMenu = 0;
    if (auto* mb = menuWidget())
        altezzaMenu = mb->sizeHint().height();
    setFixedSize(clientPx_.width(), clientPx_.height() + altezzaMenu);
    Colloca();
}

namespace {
// Where a length starts in a stretch of the screen: centred when it fits, else at the
// stretch's start, so that the menu bar and the first controls stay within reach.
int Inizio(int inizio, int spazio, int centro, int lunghezza)
{
    if (lunghezza > spazio)
        return inizio;
    return std::clamp(centro - lunghezza / 2, inizio, inizio + spazio - lunghezza);
}
} // namespace

void Finestra::Colloca()
{
    // The screen the child is looking at: the one of the window this one replaces.
    const QWidget* attiva = QApplication::activeWindow();
    const QScreen* schermo = attiva && attiva != this ? attiva->screen() : screen();
    if (!schermo)
        return;
    const QRect area = schermo->availableGeometry();
    // With a window manager the frame counts too; before the window is framed, and
    // without a window manager, the frame is the window itself.
    const QRect cornice = frameGeometry();
    const QMargins bordi(geometry().left() - cornice.left(), geometry().top() - cornice.top(),
                         cornice.right() - geometry().right(), cornice.bottom() - geometry().bottom());
    senzaCornice_ = bordi.isNull();
    const QSize esterna = size().grownBy(bordi);
    // move() places a window by the top-left corner of its frame.
    move(Inizio(area.left(), area.width(), area.center().x(), esterna.width()),
         Inizio(area.top(), area.height(), area.center().y(), esterna.height()));
}

void Finestra::moveEvent(QMoveEvent* event)
{
    QMainWindow::moveEvent(event);
    // Once the window manager has framed the window, the frame must be on the screen
    // too: a window whose frame spills over is placed again, frame and all, once.
    if (senzaCornice_ && isVisible() && frameGeometry() != geometry()) {
        senzaCornice_ = false;
        if (const QScreen* schermo = screen(); schermo && !schermo->availableGeometry().contains(frameGeometry()))
            Colloca();
    }
}

void Finestra::closeEvent(QCloseEvent* event)
{
    // The registry unloads windows without closing them, so a close that reaches a
    // window comes from its close control; the owner decides what follows.
    event->accept();
    emit Chiusa();
}
