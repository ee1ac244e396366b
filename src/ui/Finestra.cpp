#include "ui/Finestra.h"

#include "app/Piattaforma.h"
#include "ui/Twips.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QMenuBar>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>

namespace {
QColor DaColoreProgramma(ModuloColoriSuoni::Colore c)
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
    : QMainWindow(parent), client_(new AreaCliente(this)), clientPx_(Twips::Dim(clientTwips.width(), clientTwips.height()))
{
    setObjectName(QString::fromLatin1(nome));
    setWindowTitle(QStringLiteral("Tivoro"));
    client_->setObjectName(QStringLiteral("client"));
    client_->setFixedSize(clientPx_);
    setCentralWidget(client_);
    ImpostaColoreSfondo(colore_);
    FissaDimensioni();
}

void Finestra::ImpostaColoreSfondo(ModuloColoriSuoni::Colore colore)
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
    const QSize totale(clientPx_.width(), clientPx_.height() + altezzaMenu);
    setFixedSize(totale);
    if (const QScreen* schermo = QGuiApplication::primaryScreen()) {
        const QRect area = schermo->availableGeometry();
        move(area.center() - QPoint(totale.width() / 2, totale.height() / 2));
    }
}

void Finestra::closeEvent(QCloseEvent* event)
{
    // The registry unloads windows without closing them, so a close that reaches a
    // window comes from its close control: the program ends, without a question.
    event->accept();
    Piattaforma::TerminaProgramma();
}
