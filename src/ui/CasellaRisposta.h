#pragma once
// A single-line answer box whose key presses and key releases reach the window as
// key-down and key-up events with a key code. Both Enter keys have code 13; the
// releases of a held key (auto-repeat) are not key-ups.
#include <QLineEdit>
#include <QTimer>

#include <optional>

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
    void hideEvent(QHideEvent* e) override;
    void changeEvent(QEvent* e) override;
    bool eventFilter(QObject* oggetto, QEvent* e) override;

private:
    // A release of a key of the keyboard, as much of it as tells a repeat: a held key
    // repeats with a release and a press of the same key at the same time.
    struct Rilascio {
        int tasto = 0;
        quint32 nativo = 0;
        quint64 ora = 0;
        bool RipetutoDa(const QKeyEvent* pressione) const;
    };

    void Rilasciato(int codice);
    void Conferma();
    void Dimentica();

    // Enter went down in this box. The release of an Enter pressed elsewhere (to close a
    // message box, to choose a menu item, on "avanti") is not an answer.
    bool invioPremuto_ = false;
    // A release that may still turn out to be a repeat, until the next event says so.
    std::optional<Rilascio> sospeso_;
    // The last release that was taken as real.
    Rilascio confermato_;
    QTimer attesa_;
};

// The value of a text as a number: the number the text begins with, blanks skipped;
// 0 when it begins with no number.
double ValoreNumerico(const QString& testo);
