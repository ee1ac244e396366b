#include "suoni/LettoreEffetti.h"

#include <QFileInfo>
#include <QSoundEffect>
#include <QUrl>

LettoreEffetti::LettoreEffetti(std::function<void()> suonoPredefinito) : predefinito_(std::move(suonoPredefinito)) {}

LettoreEffetti::~LettoreEffetti() { qDeleteAll(effetti_); }

QSoundEffect* LettoreEffetti::Effetto(const QString& percorso)
{
    auto it = effetti_.find(percorso);
    if (it != effetti_.end())
        return it.value();
    auto* e = new QSoundEffect();
    e->setSource(QUrl::fromLocalFile(percorso));
    // A file that turns out unreadable while it loads gives the default sound, once per
    // request to play it.
    connect(e, &QSoundEffect::statusChanged, this, [this, e] {
        if (e->status() == QSoundEffect::Error && e->property("richiesto").toBool()) {
            e->setProperty("richiesto", false);
            predefinito_();
        }
    });
    effetti_.insert(percorso, e);
    return e;
}

void LettoreEffetti::Suona(const QString& percorso)
{
    if (inCorso_)
        inCorso_->stop();
    inCorso_ = nullptr;
    if (!QFileInfo(percorso).isFile()) {
        predefinito_();
        return;
    }
    QSoundEffect* e = Effetto(percorso);
    if (e->status() == QSoundEffect::Error) {
        predefinito_();
        return;
    }
    e->setProperty("richiesto", e->status() != QSoundEffect::Ready);
    inCorso_ = e;
    e->play();
}

LettoreSuoni* tivoro_crea_lettore(const std::function<void()>* suonoPredefinito)
{
    return new LettoreEffetti(*suonoPredefinito);
}
