#pragma once
// The squares of a game of tiles and boxes: a white square with a thin black border and a
// large text in the middle. A square takes the focus; the arrow keys move it among the
// squares of one parent by where they stand, and Space or Enter acts on the focused one
// (a key held down acts once).
#include <QLabel>

class Quadrato : public QLabel {
    Q_OBJECT
public:
    Quadrato(QWidget* padre, const QString& nome, const QRect& twips, const QFont& font);

    // Whether a widget is a square (tile or box).
    static bool Di(const QWidget* w);

protected:
    // Space or Enter, without Ctrl, Alt or Meta, on the focused square.
    virtual void Azione() = 0;

    void keyPressEvent(QKeyEvent* e) override;
};
