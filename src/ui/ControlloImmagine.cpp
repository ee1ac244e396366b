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

QSize ControlloImmagine::Dispositivo() const
{
    const qreal dpr = devicePixelRatioF();
    return QSize(qRound(width() * dpr), qRound(height() * dpr));
}

void ControlloImmagine::Prepara(const QString& percorso) const { Figure::Scalata(percorso, Dispositivo()); }

void ControlloImmagine::ImpostaFigura(const QString& percorso)
{
    percorso_ = percorso;
    Prepara(percorso); // decoded now, so a question is ready when it is shown
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
    // The picture has the control's size in device pixels: drawn over the whole control,
    // one pixel to one pixel.
    QPainter(this).drawPixmap(rect(), Figure::Scalata(percorso_, Dispositivo()));
}
