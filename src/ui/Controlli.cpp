#include "ui/Controlli.h"

#include "ui/FigurinePixel.h"
#include "ui/TastoTenuto.h"
#include "ui/Twips.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QHash>
#include <QImage>
#include <QKeyEvent>

namespace Controlli {
namespace {
// The pictures compiled into the program, each read once per run, with the icons and
// pointers made of them: every window that shows one shares it, and with it the
// drawings that Qt caches for it.
struct Archivio {
    QHash<QString, QPixmap> figurine;
    QHash<QString, QIcon> icone;
    QHash<QString, QCursor> cursori;
};

Archivio*& Puntatore()
{
    static Archivio* a = nullptr;
    return a;
}

Archivio& ArchivioFigurine()
{
    Archivio*& a = Puntatore();
    if (!a) {
        a = new Archivio;
        // Released with the application, while Qt can still release pictures.
        qAddPostRoutine([] {
            delete Puntatore();
            Puntatore() = nullptr;
        });
    }
    return *a;
}

// They are compiled in as ready pixels: nothing to decode, and Qt's image reader, which
// looks through every image plugin of the system before it reads a first picture, is not
// needed by the title window.
QPixmap LeggiFigurina(const QString& nome)
{
    for (std::size_t i = 0; i < FigurinePixel::Numero; ++i) {
        const FigurinePixel::Figurina& f = FigurinePixel::Tutte[i];
        if (nome == QLatin1String(f.nome))
            return QPixmap::fromImage(QImage(reinterpret_cast<const uchar*>(f.pixel), f.larghezza, f.altezza,
                                             f.larghezza * 4, QImage::Format_ARGB32_Premultiplied));
    }
    return QPixmap();
}
} // namespace

QFont Carattere(const QString& famiglia, double punti, bool grassetto)
{
    QFont f(famiglia);
    f.setPixelSize(Twips::PuntiPx(punti));
    f.setBold(grassetto);
    return f;
}

QIcon Icona(const QString& nome)
{
    auto it = ArchivioFigurine().icone.constFind(nome);
    if (it == ArchivioFigurine().icone.constEnd())
        it = ArchivioFigurine().icone.insert(nome, QIcon(Figurina(nome)));
    return it.value();
}

QPixmap Figurina(const QString& nome)
{
    auto it = ArchivioFigurine().figurine.constFind(nome);
    if (it == ArchivioFigurine().figurine.constEnd())
        it = ArchivioFigurine().figurine.insert(nome, LeggiFigurina(nome));
    return it.value();
}

QCursor Cursore(const QString& nome, QPoint puntoCaldo)
{
    const QString chiave = QStringLiteral("%1 %2 %3").arg(nome).arg(puntoCaldo.x()).arg(puntoCaldo.y());
    auto it = ArchivioFigurine().cursori.constFind(chiave);
    if (it != ArchivioFigurine().cursori.constEnd())
        return it.value();
    QPixmap p = Figurina(nome);
    QCursor cursore(Qt::ArrowCursor);
    // Qt for the browser cannot show a picture as the pointer: it warns, each time one is
    // set, and shows the arrow. There the pointer stays the browser's arrow, unasked.
    if (!p.isNull() && QGuiApplication::platformName() != QLatin1String("wasm")) {
        // The pictures are drawn at twice their size, so they stay sharp on a 2x screen.
        const qreal scala = p.width() / 32.0;
        p.setDevicePixelRatio(scala);
        cursore = QCursor(p, puntoCaldo.x(), puntoCaldo.y());
    }
    return ArchivioFigurine().cursori.insert(chiave, cursore).value();
}

QString NomeElemento(const char* nome, int indice)
{
    return QStringLiteral("%1(%2)").arg(QLatin1String(nome)).arg(indice);
}

QLabel* Etichetta(QWidget* padre, const QString& nome, const QRect& twips, const QString& testo, const QFont& font)
{
    auto* l = new QLabel(testo, padre);
    l->setObjectName(nome);
    l->setGeometry(Twips::Rett(twips));
    l->setFont(font);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    l->setFocusPolicy(Qt::NoFocus);
    l->setTextFormat(Qt::PlainText);
    return l;
}

} // namespace Controlli

namespace {
// Enter presses a push button as Space does: true when it did. The repeats of a held key
// never get here (TastoTenuto::UnaVolta).
bool InvioPreme(QAbstractButton* bottone, QKeyEvent* e)
{
    if (e->key() != Qt::Key_Return && e->key() != Qt::Key_Enter)
        return false;
    e->accept();
    bottone->click();
    return true;
}
} // namespace

Pulsante::Pulsante(QWidget* padre, const QString& nome, const QRect& twips, const QString& testo, const QFont& font)
    : QPushButton(testo, padre)
{
    setObjectName(nome);
    setGeometry(Twips::Rett(twips));
    setFont(font);
    setAutoDefault(false);
    TastoTenuto::UnaVolta(this);
}

void Pulsante::keyPressEvent(QKeyEvent* e)
{
    if (!InvioPreme(this, e))
        QPushButton::keyPressEvent(e);
}

PulsanteGrafico::PulsanteGrafico(QWidget* padre, const QString& nome, const QRect& twips, const QString& testo,
                                 const QIcon& icona, const QFont& font)
    : QToolButton(padre)
{
    setObjectName(nome);
    setGeometry(Twips::Rett(twips));
    setFont(font);
    setText(testo);
    setIcon(icona);
    setIconSize(QSize(32, 32));
    setToolButtonStyle(testo.isEmpty() ? Qt::ToolButtonIconOnly : Qt::ToolButtonTextUnderIcon);
    setFocusPolicy(Qt::StrongFocus);
    TastoTenuto::UnaVolta(this);
}

void PulsanteGrafico::ImpostaColoreSfondo(const QColor& colore)
{
    setStyleSheet(QStringLiteral("QToolButton { background-color: %1; border: 2px outset %1; }"
                                 "QToolButton:pressed { border-style: inset; }")
                      .arg(colore.name()));
}

void PulsanteGrafico::keyPressEvent(QKeyEvent* e)
{
    if (!InvioPreme(this, e))
        QToolButton::keyPressEvent(e);
}
