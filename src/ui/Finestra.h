#pragma once
// A window of the program: fixed client area, title "Tivoro", a background colour.
#include <QMainWindow>
#include <cstdint>

// A colour as the program stores it: red in the low byte, then green, then blue (BBGGRR).
using ColoreBGR = std::uint32_t;

class Finestra : public QMainWindow {
    Q_OBJECT
public:
    // clientTwips: the size of the client area (the part under the menu bar).
    Finestra(const char* nome, QSize clientTwips, QWidget* parent = nullptr);

    // The area in which the controls stand.
    QWidget* Client() const { return client_; }

    ColoreBGR ColoreSfondo() const { return colore_; }
    void ImpostaColoreSfondo(ColoreBGR colore);

    // Runs when the window has become the program's active window after being shown
    // by the registry; only some windows do something here.
    virtual void Form_Activate() {}

    // Places the window in the middle of the free area of the screen the child looks at;
    // a window that does not fit starts at that area's top left, so that its menu bar and
    // first controls stay within reach.
    void Colloca();

signals:
    // The user closed the window with its close control; the window has accepted it.
    void Chiusa();

protected:
    // Fixes the window's size once the menu bar (if any) is in place, and places it.
    void FissaDimensioni();
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    QWidget* client_;
    QSize clientPx_;
    ColoreBGR colore_ = 0xFFFFFF;
    // Placed without knowing the window manager's frame (see moveEvent).
    bool senzaCornice_ = true;
};
