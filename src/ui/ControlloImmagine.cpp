#include "ui/ControlloImmagine.h"

#include "ui/Figure.h"
#include "ui/Twips.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPainter>

namespace {
// A picture for screen readers: an image with the name of what it shows, invisible
// while the control is empty, so that a child who counts the pictures by ear hears
// only the ones on the screen.
class ImmagineAccessibile : public QAccessibleWidget {
public:
    explicit ImmagineAccessibile(ControlloImmagine* c) : QAccessibleWidget(c, QAccessible::Graphic) {}

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        if (static_cast<const ControlloImmagine*>(widget())->Vuoto()) {
            s.invisible = true;
            s.offscreen = true;
        }
        return s;
    }
};

QAccessibleInterface* Fabbrica(const QString& classe, QObject* oggetto)
{
    if (classe == QLatin1String("ControlloImmagine"))
        if (auto* c = qobject_cast<ControlloImmagine*>(oggetto))
            return new ImmagineAccessibile(c);
    return nullptr;
}
} // namespace

ControlloImmagine::ControlloImmagine(QWidget* padre, const QString& nome, const QRect& twips) : QWidget(padre)
{
    static const bool fabbricaInstallata = (QAccessible::installFactory(&Fabbrica), true);
    Q_UNUSED(fabbricaInstallata);
    setObjectName(nome);
    setGeometry(Twips::Rett(twips));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

QSize ControlloImmagine::Dispositivo() const
{
    const qreal dpr = devicePixelRatioF();
    return QSize(qRound(width() * dpr), qRound(height() * dpr));
}

void ControlloImmagine::Prepara(const QString& percorso) const { Figure::Scalata(percorso, Dispositivo()); }

void ControlloImmagine::ImpostaFigura(const QString& percorso, const QString& nome)
{
    const bool eraVuoto = Vuoto();
    percorso_ = percorso;
    propria_ = QImage();
    scalata_ = QPixmap();
    Prepara(percorso); // decoded now, so a question is ready when it is shown
    Cambiata(eraVuoto, nome);
}

void ControlloImmagine::ImpostaFigura(const QImage& figura, const QString& nome)
{
    const bool eraVuoto = Vuoto();
    percorso_.clear();
    propria_ = figura;
    scalata_ = QPixmap();
    Cambiata(eraVuoto, nome);
}

void ControlloImmagine::Svuota()
{
    if (Vuoto())
        return;
    percorso_.clear();
    propria_ = QImage();
    scalata_ = QPixmap();
    Cambiata(false, QString());
}

void ControlloImmagine::Cambiata(bool eraVuoto, const QString& nome)
{
    if (!nome.isEmpty())
        setAccessibleName(nome);
    if (eraVuoto != Vuoto())
        AnnunciaVisibilita();
    update();
}

void ControlloImmagine::AnnunciaVisibilita()
{
    if (!QAccessible::isActive())
        return;
    QAccessible::State cambiato;
    cambiato.invisible = true;
    cambiato.offscreen = true;
    QAccessibleStateChangeEvent evento(this, cambiato);
    QAccessible::updateAccessibility(&evento);
}

void ControlloImmagine::paintEvent(QPaintEvent*)
{
    // The picture has the control's size in device pixels: drawn over the whole control,
    // one pixel to one pixel.
    if (!percorso_.isEmpty()) {
        QPainter(this).drawPixmap(rect(), Figure::Scalata(percorso_, Dispositivo()));
    } else if (!propria_.isNull()) {
        if (scalata_.size() != Dispositivo())
            scalata_ = Figure::Scala(propria_, Dispositivo());
        QPainter(this).drawPixmap(rect(), scalata_);
    }
}
