#include "ui/LettoreQt.h"

#include <QApplication>
#include <QFileInfo>
#include <QSoundEffect>
#include <QUrl>

#if defined(__ELF__)
#include <dlfcn.h>
#endif

namespace {

#if defined(__ELF__)
// Qt Multimedia, and under it the sound system's libraries (some twenty of them), is
// loaded with the first sound instead of at start: the program names none of its
// symbols, so the linker leaves it out of the executable's needs. A QSoundEffect is
// built by its constructor, looked up in the library, and used through Qt's
// meta-object system: its properties "source" and "status", its slots play() and
// stop(), its signal statusChanged().
QObject* NuovoEffetto(QObject* padre)
{
    using Costruttore = void (*)(void* indirizzo, QObject* padre);
    static const Costruttore costruttore = [] {
        void* libreria = dlopen("libQt6Multimedia.so.6", RTLD_NOW | RTLD_GLOBAL);
        if (!libreria) {
            qWarning("Tivoro: no sounds, Qt Multimedia cannot be loaded: %s", dlerror());
            return Costruttore(nullptr);
        }
        // QSoundEffect::QSoundEffect(QObject*)
        auto c = reinterpret_cast<Costruttore>(dlsym(libreria, "_ZN12QSoundEffectC1EP7QObject"));
        if (!c)
            qWarning("Tivoro: no sounds, QSoundEffect not found in Qt Multimedia");
        return c;
    }();
    if (!costruttore)
        return nullptr;
    void* memoria = ::operator new(sizeof(QSoundEffect));
    costruttore(memoria, padre);
    return static_cast<QObject*>(static_cast<QSoundEffect*>(memoria));
}
#else
QObject* NuovoEffetto(QObject* padre) { return new QSoundEffect(padre); }
#endif

int Stato(const QObject* effetto) { return effetto->property("status").toInt(); }

} // namespace

LettoreQt::LettoreQt(std::function<void()> suonoPredefinito) : predefinito_(std::move(suonoPredefinito))
{
    if (!predefinito_)
        predefinito_ = [] { QApplication::beep(); };
}

LettoreQt::~LettoreQt() { qDeleteAll(effetti_); }

QObject* LettoreQt::Effetto(const QString& percorso)
{
    auto it = effetti_.find(percorso);
    if (it != effetti_.end())
        return it.value();
    QObject* e = NuovoEffetto(nullptr);
    if (!e)
        return nullptr;
    e->setProperty("source", QUrl::fromLocalFile(percorso));
    // A file that turns out unreadable while it loads gives the default sound, once per
    // request to play it.
    connect(e, SIGNAL(statusChanged()), this, SLOT(StatoCambiato()));
    effetti_.insert(percorso, e);
    return e;
}

void LettoreQt::StatoCambiato()
{
    QObject* e = sender();
    if (e && Stato(e) == QSoundEffect::Error && e->property("richiesto").toBool()) {
        e->setProperty("richiesto", false);
        predefinito_();
    }
}

void LettoreQt::Suona(const QString& percorso)
{
    if (inCorso_)
        QMetaObject::invokeMethod(inCorso_, "stop");
    inCorso_ = nullptr;
    if (!QFileInfo(percorso).isFile()) {
        predefinito_();
        return;
    }
    QObject* e = Effetto(percorso);
    if (!e || Stato(e) == QSoundEffect::Error) {
        predefinito_();
        return;
    }
    e->setProperty("richiesto", Stato(e) != QSoundEffect::Ready);
    inCorso_ = e;
    QMetaObject::invokeMethod(e, "play");
}
