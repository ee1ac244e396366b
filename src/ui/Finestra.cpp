#include "ui/Finestra.h"

#include "app/Piattaforma.h"
#include "ui/Twips.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>

namespace {
QColor DaColoreProgramma(ModuloColoriSuoni::Colore c)
{
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}
} // namespace

Finestra::Finestra(const char* nome, QSize clientTwips, QWidget* parent)
    : QMainWindow(parent), client_(new QWidget(this)), clientPx_(Twips::Dim(clientTwips.width(), clientTwips.height()))
{
    setObjectName(QString::fromLatin1(nome));
    setWindowTitle(QStringLiteral("Tivoro"));
    client_->setObjectName(QStringLiteral("client"));
    client_->setFixedSize(clientPx_);
    client_->setAutoFillBackground(true);
    setCentralWidget(client_);
    ImpostaColoreSfondo(colore_);
    FissaDimensioni();
}

void Finestra::ImpostaColoreSfondo(ModuloColoriSuoni::Colore colore)
{
    colore_ = colore & 0xFFFFFF;
    QPalette p = client_->palette();
    p.setColor(QPalette::Window, DaColoreProgramma(colore_));
    client_->setPalette(p);
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
