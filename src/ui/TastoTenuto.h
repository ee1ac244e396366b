#pragma once
// A key held down repeats; a control must tell those repeats from new presses, and a real
// release from a repeat's. Qt marks the repeats, but not always: some platforms (X11)
// send a release before every repeated press, at the same time as that press, and Qt marks
// that release and press only when the press has already been read as the release is
// handed out, which a busy machine often has not. One rule, for every control of the
// program:
// - a press is a repeat when Qt marks it, or when it comes at the very time of the last
//   release of the same key (its key code of the keyboard and its time, when known,
//   anywhere in the program: a repeat may reach another control than the press that began
//   the hold);
// - a release that is not marked is held back until it is known to be real: the next press
//   or release of a key, or press of the pointer, anywhere in the program decides it (the
//   same key at the same time: a repeat; anything else: real, and it comes before that
//   event takes effect), and so do the control losing the focus or being disabled; when
//   nothing comes, a short wait does. A release without a key code of the keyboard was
//   made by a program (tests, on-screen keyboards, assistive tools), never by a held key,
//   and is real at once.
#include <QObject>

#include <memory>

class QKeyEvent;
class QWidget;

class TastoTenuto : public QObject {
    Q_OBJECT
public:
    // For a control that judges its own keys: it passes each press to Ripetuto and each
    // release to Rilascio, and hears the real releases from Lasciato. Its focus, enabled
    // state and visibility are watched here.
    explicit TastoTenuto(QWidget* controllo);
    ~TastoTenuto() override;

    // For a control that acts on its keys as Qt delivers them (push buttons, Qt's own ones
    // too, the tiles): from now on a key held down reaches it as one press and one release.
    static void UnaVolta(QWidget* controllo);

    // A press reached the control: true when it repeats a key held down. A held-back
    // release that it shows to be real is given first.
    bool Ripetuto(const QKeyEvent* pressione);
    // A release reached the control; if real, Lasciato comes, now or once it is known.
    void Rilascio(const QKeyEvent* rilascio);

signals:
    // A real release of a key (Qt's key code), once per press.
    void Lasciato(int tasto);

protected:
    bool eventFilter(QObject* oggetto, QEvent* e) override;
    void timerEvent(QTimerEvent* e) override;

private:
    void Conferma();
    void Dimentica();

    QWidget* controllo_;
    bool filtra_ = false;                // the control's key events pass through here
    std::unique_ptr<QKeyEvent> sospeso_; // a release that may still turn out to be a repeat
    int attesa_ = 0;                     // the timer of the short wait
    bool ridando_ = false;               // a held-back release being given to the control
};
