#include "ui/Controlli.h"

#include "ui/Twips.h"

#include <QKeyEvent>

namespace Controlli {

QFont Carattere(const QString& famiglia, double punti, bool grassetto)
{
    QFont f(famiglia);
    f.setPixelSize(Twips::PuntiPx(punti));
    f.setBold(grassetto);
    return f;
}

QIcon Icona(const QString& nome) { return QIcon(QStringLiteral(":/icone/%1.png").arg(nome)); }

QPixmap Figurina(const QString& nome) { return QPixmap(QStringLiteral(":/icone/%1.png").arg(nome)); }

QCursor Cursore(const QString& nome, QPoint puntoCaldo)
{
    QPixmap p = Figurina(nome);
    if (p.isNull())
        return QCursor(Qt::ArrowCursor);
    // The pictures are drawn at twice their size, so they stay sharp on a 2x screen.
    const qreal scala = p.width() / 32.0;
    p.setDevicePixelRatio(scala);
    return QCursor(p, puntoCaldo.x(), puntoCaldo.y());
}

QString NomeElemento(const char* nome, int indice)
{
    return QStringLiteral("%1(%2)").arg(QLatin1String(nome)).arg(indice);
}

QLabel* Etichetta(QWidget* padre, const QString& nome, const QRect& twips, const QString& testo, const QFont& font)
{
    auto* l = new QLabel(testo, padre);
    l->setObjectName(nome);
    l->setGeometry(Twips::Rett(twips.x(), twips.y(), twips.width(), twips.height()));
    l->setFont(font);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    l->setFocusPolicy(Qt::NoFocus);
    l->setTextFormat(Qt::PlainText);
    return l;
}

} // namespace Controlli

namespace {
bool PremeComeClic(QKeyEvent* e)
{
    return (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && !e->isAutoRepeat();
}
} // namespace

Pulsante::Pulsante(QWidget* padre, const QString& nome, const QRect& twips, const QString& testo, const QFont& font)
    : QPushButton(testo, padre)
{
    setObjectName(nome);
    setGeometry(Twips::Rett(twips.x(), twips.y(), twips.width(), twips.height()));
    setFont(font);
    setAutoDefault(false);
}

void Pulsante::keyPressEvent(QKeyEvent* e)
{
    if (PremeComeClic(e)) {
        e->accept();
        click();
        return;
    }
    QPushButton::keyPressEvent(e);
}

PulsanteGrafico::PulsanteGrafico(QWidget* padre, const QString& nome, const QRect& twips, const QString& testo,
                                 const QIcon& icona, const QFont& font)
    : QToolButton(padre)
{
    setObjectName(nome);
    setGeometry(Twips::Rett(twips.x(), twips.y(), twips.width(), twips.height()));
    setFont(font);
    setText(testo);
    setIcon(icona);
    setIconSize(QSize(32, 32));
    setToolButtonStyle(testo.isEmpty() ? Qt::ToolButtonIconOnly : Qt::ToolButtonTextUnderIcon);
    setFocusPolicy(Qt::StrongFocus);
}

void PulsanteGrafico::ImpostaColoreSfondo(const QColor& colore)
{
    setStyleSheet(QStringLiteral("QToolButton { background-color: %1; border: 2px outset %1; }"
                                 "QToolButton:pressed { border-style: inset; }")
                      .arg(colore.name()));
}

void PulsanteGrafico::keyPressEvent(QKeyEvent* e)
{
    if (PremeComeClic(e)) {
        e->accept();
        click();
        return;
    }
    QToolButton::keyPressEvent(e);
}
