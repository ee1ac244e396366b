#pragma once
// The menu bar of the exercise windows: three top-level items, drawn inside the window.
// From the keyboard, Alt or F10 puts the focus on the first item, the arrows move along
// the bar, Enter or Space chooses, Esc (or Alt or F10 again) gives the focus back. The
// captions end in blanks that widen the items; screen readers get the names without them.
#include <QMenuBar>

class QMainWindow;

class BarraMenu : public QMenuBar {
    Q_OBJECT
public:
    explicit BarraMenu(QMainWindow* finestra);

    // Adds an item with its caption (blanks included) and its object name.
    QAction* Voce(const QString& didascalia, const QString& nome);

    // What a screen reader says of an item: its caption without the blanks at its ends.
    static QString NomeVoce(const QAction* voce);

private:
    // Enters or leaves the bar's keyboard mode, as a press and release of Alt would.
    void AttivaDaTastiera();
};
