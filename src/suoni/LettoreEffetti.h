#pragma once
// The sound player proper, in a module of its own (tivoro_suoni) so that Qt Multimedia
// and the sound system's libraries are loaded with the first sound, not at start.
// One QSoundEffect per file, made the first time that file is played; a new sound stops
// the one playing; a file that turns out unreadable gives the default sound.
#include "app/Piattaforma.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <functional>

class QSoundEffect;

class LettoreEffetti : public QObject, public LettoreSuoni {
    Q_OBJECT
public:
    explicit LettoreEffetti(std::function<void()> suonoPredefinito);
    ~LettoreEffetti() override;
    void Suona(const QString& percorso) override;

private:
    QSoundEffect* Effetto(const QString& percorso);
    QHash<QString, QSoundEffect*> effetti_;
    QPointer<QSoundEffect> inCorso_;
    std::function<void()> predefinito_;
};

// What the module offers: a new player that calls suonoPredefinito for the default sound.
extern "C" Q_DECL_EXPORT LettoreSuoni* tivoro_crea_lettore(const std::function<void()>* suonoPredefinito);
