#pragma once
// A single-line answer box whose key presses and key releases reach the window as
// key-down and key-up events with a key code. Both Enter keys have code 13; the
// releases of a held key (auto-repeat) are not key-ups.
#include <QLineEdit>

class TastoTenuto;

class CasellaRisposta : public QLineEdit {
    Q_OBJECT
public:
    static constexpr int Invio = 13;

    CasellaRisposta(QWidget* padre, const QString& nome, const QRect& twips, const QFont& font);

    static int CodiceTasto(const QKeyEvent* e);

signals:
    // Sent before the key takes effect in the box.
    void TastoGiu(int codice);
    // Sent once per real release of a key.
    void TastoSu(int codice);

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

private:
    void Rilasciato(int codice);

    // Tells the repeats of a held key, which type on, from the presses, and gives each
    // real release once.
    TastoTenuto* tasto_;
    // Enter went down in this box. The release of an Enter pressed elsewhere (to close a
    // message box, to choose a menu item, on "avanti") is not an answer.
    bool invioPremuto_ = false;
};

// The value of a text as a number: the number the text begins with, blanks skipped;
// 0 when it begins with no number.
double ValoreNumerico(const QString& testo);
