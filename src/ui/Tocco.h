#pragma once
// Tells when a finger first touches the program: a touch screen's touch on any of its
// windows, not a mouse click nor a pen. A program touched once is taken to be used by touch
// from then on.
#include <QObject>

class SensoreTocco : public QObject {
    Q_OBJECT
public:
    // Listens to every window of the application until the first touch. The program has
    // one sensor at a time: a new one takes the place of the one before.
    explicit SensoreTocco(QObject* padre = nullptr);
    ~SensoreTocco() override;

    // The program's sensor, or nullptr when none is alive.
    static SensoreTocco* Attivo();

    bool Toccato() const { return toccato_; }

signals:
    // Sent once, at the first touch, before the touch takes effect.
    void PrimoTocco();

protected:
    bool eventFilter(QObject* oggetto, QEvent* evento) override;

private:
    bool toccato_ = false;
};
