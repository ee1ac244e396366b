#pragma once
// The real sound player: one QSoundEffect per file, made the first time that file is
// played; a new sound stops the one playing; a missing or unreadable file gives the
// system's default sound. A machine without an audio device simply stays silent.
// Qt Multimedia itself is loaded with the first sound, not at start.
#include "app/Piattaforma.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <functional>

class LettoreQt : public QObject, public LettoreSuoni {
    Q_OBJECT
public:
    // suonoPredefinito: the system's default sound (QApplication::beep unless told).
    explicit LettoreQt(std::function<void()> suonoPredefinito = {});
    ~LettoreQt() override;
    void Suona(const QString& percorso) override;

private slots:
    void StatoCambiato();

private:
    // The effect of a file, made on first use; nullptr when Qt Multimedia is missing.
    QObject* Effetto(const QString& percorso);
    QHash<QString, QObject*> effetti_;
    QPointer<QObject> inCorso_;
    std::function<void()> predefinito_;
};
