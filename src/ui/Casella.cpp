#include "ui/Casella.h"

#include "ui/Tessera.h"

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMouseEvent>

Casella::Casella(QWidget* padre, const QString& nome, const QRect& twips, const QFont& font, int indice)
    : Quadrato(padre, nome, twips, font), indice_(indice)
{
    setAcceptDrops(true);
}

// Puts the picked-up tile of this window, if any, on this box.
void Casella::Azione()
{
    Tessera* t = Tessera::SollevataNella(this);
    if (!t)
        return;
    t->Posa();
    emit Rilasciata(indice_, t);
}

void Casella::mousePressEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton) {
        Quadrato::mousePressEvent(e);
        return;
    }
    e->accept();
    premuta_ = true;
}

// The second click of a double click does not act again.
void Casella::mouseDoubleClickEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton)
        Quadrato::mouseDoubleClickEvent(e);
    else
        e->accept();
}

void Casella::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton || !premuta_) {
        Quadrato::mouseReleaseEvent(e);
        return;
    }
    e->accept();
    premuta_ = false;
    if (rect().contains(e->position().toPoint()))
        Azione();
}

Tessera* Casella::TesseraAccettabile(const QMimeData* dati) const
{
    Tessera* t = Tessera::DaDati(dati);
    if (!t || !t->isEnabled() || t->window() != window())
        return nullptr;
    return t;
}

void Casella::dragEnterEvent(QDragEnterEvent* e)
{
    if (TesseraAccettabile(e->mimeData())) {
        e->setDropAction(Qt::MoveAction);
        e->accept();
    } else {
        e->ignore();
    }
}

void Casella::dragMoveEvent(QDragMoveEvent* e)
{
    if (TesseraAccettabile(e->mimeData())) {
        e->setDropAction(Qt::MoveAction);
        e->accept(rect());
    } else {
        e->ignore();
    }
}

void Casella::dropEvent(QDropEvent* e)
{
    Tessera* t = TesseraAccettabile(e->mimeData());
    if (!t) {
        e->ignore();
        return;
    }
    e->setDropAction(Qt::MoveAction);
    e->accept();
    emit Rilasciata(indice_, t);
}
