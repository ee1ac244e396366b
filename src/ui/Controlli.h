#pragma once
// The controls the windows are built of, in the program's own vocabulary: labels,
// push buttons (plain and graphical), and the helpers that place them in twips.
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

namespace Controlli {

// A font as the layouts give it ("Arial" 18 pt bold), sized in pixels at 96 dpi.
QFont Carattere(const QString& famiglia, double punti, bool grassetto = true);

// A picture compiled into the program (assets/icone/<nome>.png), made once per run.
QIcon Icona(const QString& nome);
QPixmap Figurina(const QString& nome);

// A mouse pointer made from a picture of the program; the hot spot is given at 32 x 32.
// Made once per run for each picture and hot spot.
QCursor Cursore(const QString& nome, QPoint puntoCaldo);

// A name for a control-array element: "Image1(3)".
QString NomeElemento(const char* nome, int indice);

// A label: window-text colour, transparent background, text at the top left,
// no focus. Placed at a rectangle given in twips.
QLabel* Etichetta(QWidget* padre, const QString& nome, const QRect& twips, const QString& testo, const QFont& font);

} // namespace Controlli

// A push button with text only. Enter presses it, as Space does; a key held down, once.
class Pulsante : public QPushButton {
    Q_OBJECT
public:
    Pulsante(QWidget* padre, const QString& nome, const QRect& twips, const QString& testo, const QFont& font);

protected:
    void keyPressEvent(QKeyEvent* e) override;
};

// A graphical push button: a picture above an optional caption, an optional background
// colour and mouse pointer. Enter presses it, as Space does; a key held down, once.
class PulsanteGrafico : public QToolButton {
    Q_OBJECT
public:
    PulsanteGrafico(QWidget* padre, const QString& nome, const QRect& twips, const QString& testo,
                    const QIcon& icona, const QFont& font = QFont());
    void ImpostaColoreSfondo(const QColor& colore);

protected:
    void keyPressEvent(QKeyEvent* e) override;
};
