#include "ui/Quadrato.h"

#include "ui/FrecceFocus.h"
#include "ui/TastoTenuto.h"
#include "ui/Twips.h"

#include <QKeyEvent>

Quadrato::Quadrato(QWidget* padre, const QString& nome, const QRect& twips, const QFont& font) : QLabel(padre)
{
    setObjectName(nome);
    setGeometry(Twips::Rett(twips));
    setFont(font);
    setAlignment(Qt::AlignCenter);
    setTextFormat(Qt::PlainText);
    setFocusPolicy(Qt::StrongFocus);
    setFrameShape(QFrame::Box);
    setFrameShadow(QFrame::Plain);
    setLineWidth(1);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
    TastoTenuto::UnaVolta(this); // a key held down acts once
}

bool Quadrato::Di(const QWidget* w) { return qobject_cast<const Quadrato*>(w) != nullptr; }

void Quadrato::keyPressEvent(QKeyEvent* e)
{
    const int k = e->key();
    if ((k == Qt::Key_Space || k == Qt::Key_Return || k == Qt::Key_Enter) &&
        !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
        e->accept();
        Azione();
        return;
    }
    if (!FrecceFocus::Sposta(this, e, Di))
        QLabel::keyPressEvent(e);
}
