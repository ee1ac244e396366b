#pragma once
// The real sound player. The player itself lives in the module tivoro_suoni beside the
// executable, loaded with the first sound, so that Qt Multimedia and the sound system
// cost nothing at start. Without the module (missing, or anything but a regular file)
// every sound is the system's default sound. A machine without an audio device simply
// stays silent.
#include "app/Piattaforma.h"

#include <QString>
#include <functional>
#include <memory>

class LettoreQt : public LettoreSuoni {
public:
    // suonoPredefinito: the system's default sound (QApplication::beep unless told);
    // cartellaModulo: where tivoro_suoni is (the executable's folder unless told).
    explicit LettoreQt(std::function<void()> suonoPredefinito = {}, QString cartellaModulo = {});
    ~LettoreQt() override;
    void Suona(const QString& percorso) override;

private:
    std::function<void()> predefinito_;
    QString cartella_;
    bool provato_ = false;
    std::unique_ptr<LettoreSuoni> lettore_;
};
