#pragma once
// A window of the program: fixed client area, title "Tivoro", a background colour.
#include "app/ModuloColoriSuoni.h"

#include <QMainWindow>

class Finestra : public QMainWindow {
    Q_OBJECT
public:
    // clientTwips: the size of the client area (the part under the menu bar).
    Finestra(const char* nome, QSize clientTwips, QWidget* parent = nullptr);

    // The area in which the controls stand.
    QWidget* Client() const { return client_; }

    ModuloColoriSuoni::Colore ColoreSfondo() const { return colore_; }
    void ImpostaColoreSfondo(ModuloColoriSuoni::Colore colore);

    // Runs when the window has become the program's active window after being shown
    // by the registry; only some windows do something here.
    virtual void Form_Activate() {}

protected:
    // Fixes the window's size once the menu bar (if any) is in place.
    void FissaDimensioni();
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* client_;
    QSize clientPx_;
    ModuloColoriSuoni::Colore colore_ = 0xFFFFFF;
};
