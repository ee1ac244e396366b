#include "ui/ControlloImmagine.h"

#include "ui/Figure.h"
#include "ui/Twips.h"

#include <QPainter>

ControlloImmagine::ControlloImmagine(QWidget* padre, const QString& nome, const QRect& twips) : QWidget(padre)
{
    setObjectName(nome);
    setGeometry(Twips::Rett(twips.x(), twips.y(), twips.width(), twips.height()));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

void ControlloImmagine::ImpostaFigura(const QString& percorso)
{
    percorso_ = percorso;
    Figure::Immagine(percorso); // decode now, so a question is ready when it is shown
    update();
}

void ControlloImmagine::Svuota()
{
    if (percorso_.isEmpty())
        return;
    percorso_.clear();
    update();
}

void ControlloImmagine::paintEvent(QPaintEvent*)
{
    if (percorso_.isEmpty())
        return;
    const qreal dpr = devicePixelRatioF();
    const QSize dispositivo(qRound(width() * dpr), qRound(height() * dpr));
    QPixmap p = Figure::Scalata(percorso_, dispositivo);
    p.setDevicePixelRatio(dpr);
    QPainter(this).drawPixmap(0, 0, p);
}
