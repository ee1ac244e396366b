#pragma once
// The sound player proper, in a module of its own (tivoro_suoni) so that Qt Multimedia
// and the sound system's libraries are loaded with the first sound, not at start.
// One QSoundEffect per file, made the first time that file is played; a new sound stops
// the one playing. A file that cannot be played (missing, not a regular file, larger than
// DimensioneMassima, not a whole wave file, or one Qt Multimedia cannot decode, does not
// get ready or does not start) gives the default sound once per request and one line in
// the log, once per file; what is known only later gives it only while that sound is still
// the one asked for last, never over a newer one.
#include "app/Piattaforma.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QTimer>
#include <functional>

class QSoundEffect;

class LettoreEffetti : public QObject, public LettoreSuoni {
    Q_OBJECT
public:
    // Larger sound files are not read at all: a whole file is held in memory while it
    // plays, and the program's own sounds are about 50 KB.
    static constexpr qint64 DimensioneMassima = 4 * 1024 * 1024;

    explicit LettoreEffetti(std::function<void()> suonoPredefinito);
    ~LettoreEffetti() override;
    void Suona(const QString& percorso) override;

private:
    QSoundEffect* Effetto(const QString& percorso);
    void NonSuona(const QString& percorso, const QString& motivo);
    // The sound asked for last will not play after all.
    void NonSuonato(const QString& motivo);
    void Registra(const QString& percorso, const QString& motivo);
    QHash<QString, QSoundEffect*> effetti_;
    // The sound asked for last while it still owes either itself or the default sound, and
    // its file; the time it has to get ready in.
    QPointer<QSoundEffect> inCorso_;
    QString percorso_;
    QTimer pronto_;
    QSet<QString> registrati_;
    std::function<void()> predefinito_;
};

// What the module offers: a new player that calls suonoPredefinito for the default sound.
extern "C" Q_DECL_EXPORT LettoreSuoni* tivoro_crea_lettore(const std::function<void()>* suonoPredefinito);
