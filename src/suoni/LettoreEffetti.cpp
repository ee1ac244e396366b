#include "suoni/LettoreEffetti.h"

#include <QFile>
#include <QFileInfo>
#include <QSoundEffect>
#include <QUrl>
#include <QtEndian>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {
// A whole file of the largest size is ready in a tenth of a second on a busy machine today;
// an effect not ready after twenty times that never will be (Qt Multimedia waits for ever
// for a part it misread).
constexpr int AttesaProntoMs = 2000;

// Qt Multimedia divides by zero below 50 samples a second; no sound is made so slowly.
constexpr quint32 FrequenzaMinima = 1000;

// Why a wave file cannot be played, or an empty string. Qt Multimedia reports a file it
// cannot decode, but loads a truncated one, or one whose sizes lie, without a word and then
// plays nothing; so the container is checked here against the file's real size, before
// anything of it is handed over. What the samples are (format, bits) is left to Qt.
QString Difetto(const QString& percorso)
{
    const QFileInfo info(percorso);
    if (!info.exists()) {
        // A link that leads to no file is there, but empty; in a folder that may not be
        // looked into, no file can be seen.
        const QFileInfo cartella(info.absolutePath());
        if (info.isSymLink())
            return QStringLiteral("it is a link that leads to no file");
        if (cartella.isDir() && !cartella.isExecutable())
            return QStringLiteral("its folder %1 cannot be opened: permission denied").arg(cartella.filePath());
        return QStringLiteral("it is missing");
    }
    if (!info.isFile())
        return QStringLiteral("it is not a regular file");
    if (info.size() > LettoreEffetti::DimensioneMassima)
        return QStringLiteral("it is larger than %1 bytes").arg(LettoreEffetti::DimensioneMassima);
    QFile file(percorso);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("it cannot be opened: %1").arg(file.errorString());
    const qint64 dimensione = file.size();
    char testa[12];
    if (file.read(testa, 12) != 12 || std::memcmp(testa, "RIFF", 4) != 0 || std::memcmp(testa + 8, "WAVE", 4) != 0)
        return QStringLiteral("it is not a wave file");
    quint16 blocco = 0; // bytes of one sample frame, from the format chunk
    qint64 pos = 12;
    char pezzo[16];
    while (pos + 8 <= dimensione && file.seek(pos) && file.read(pezzo, 8) == 8) {
        const qint64 lunghezza = qFromLittleEndian<quint32>(pezzo + 4);
        pos += 8;
        if (lunghezza > dimensione - pos)
            return QStringLiteral("a part of it claims %1 bytes where the file has %2").arg(lunghezza).arg(dimensione - pos);
        if (std::memcmp(pezzo, "fmt ", 4) == 0) {
            if (lunghezza < 16 || file.read(pezzo, 16) != 16)
                return QStringLiteral("its format is cut short");
            blocco = qFromLittleEndian<quint16>(pezzo + 12);
            if (qFromLittleEndian<quint16>(pezzo + 2) == 0 || blocco == 0)
                return QStringLiteral("its format has no channels or no sample size");
            if (const quint32 frequenza = qFromLittleEndian<quint32>(pezzo + 4); frequenza < FrequenzaMinima)
                return QStringLiteral("its format gives %1 samples a second").arg(frequenza);
        } else if (std::memcmp(pezzo, "data", 4) == 0) {
            if (blocco == 0)
                return QStringLiteral("its sound comes before its format");
            if (lunghezza == 0 || lunghezza % blocco != 0)
                return QStringLiteral("its sound is %1 bytes, not a whole number of %2-byte samples").arg(lunghezza).arg(blocco);
            return {};
        }
        pos += lunghezza + (lunghezza & 1); // parts are padded to an even length
    }
    return QStringLiteral("it holds no sound");
}
} // namespace

LettoreEffetti::LettoreEffetti(std::function<void()> suonoPredefinito) : predefinito_(std::move(suonoPredefinito))
{
    pronto_.setSingleShot(true);
    pronto_.setInterval(AttesaProntoMs);
    connect(&pronto_, &QTimer::timeout, this, [this] {
        if (inCorso_ && inCorso_->status() != QSoundEffect::Ready)
            NonSuonato(QStringLiteral("Qt Multimedia did not get it ready in %1 ms").arg(AttesaProntoMs));
    });
}

// Qt Multimedia waits, whenever an effect is deleted, until every sound it is loading is
// loaded: a sound it never gets ready holds the deletion, and the program, for ever. Then
// the effects are left for the end of the process, still reachable from here.
LettoreEffetti::~LettoreEffetti()
{
    inCorso_ = nullptr; // stopped here, it owes nothing
    static auto* lasciati = new std::vector<QSoundEffect*>; // never destroyed, as they are not
    const auto inCarica = [](QSoundEffect* e) { return e->status() == QSoundEffect::Loading; };
    const bool fermo = std::any_of(effetti_.cbegin(), effetti_.cend(), inCarica) ||
                       std::any_of(lasciati->cbegin(), lasciati->cend(), inCarica);
    for (QSoundEffect* e : std::as_const(effetti_)) {
        if (fermo) {
            e->stop();
            lasciati->push_back(e);
        } else {
            delete e;
        }
    }
}

QSoundEffect* LettoreEffetti::Effetto(const QString& percorso)
{
    auto* e = new QSoundEffect();
    e->setSource(QUrl::fromLocalFile(percorso));
    // Decoding ends after Suona has returned.
    connect(e, &QSoundEffect::statusChanged, this, [this, e, percorso] {
        if (e->status() != QSoundEffect::Error)
            return;
        if (e == inCorso_)
            NonSuonato(QStringLiteral("Qt Multimedia cannot decode it"));
        else
            Registra(percorso, QStringLiteral("Qt Multimedia cannot decode it"));
    });
    // A sound played to its end has counted its one loop down before it stops; one that
    // stops before (no device takes its format, the sound server went away) did not play.
    connect(e, &QSoundEffect::playingChanged, this, [this, e] {
        if (e == inCorso_ && !e->isPlaying() && e->loopsRemaining() > 0)
            NonSuonato(QStringLiteral("the sound system stopped it before it played"));
    });
    effetti_.insert(percorso, e);
    return e;
}

void LettoreEffetti::Registra(const QString& percorso, const QString& motivo)
{
    if (registrati_.contains(percorso))
        return;
    registrati_.insert(percorso);
    qWarning("Tivoro: the sound %s cannot be played (%s); the default sound instead", qPrintable(percorso),
             qPrintable(motivo));
}

void LettoreEffetti::NonSuona(const QString& percorso, const QString& motivo)
{
    Registra(percorso, motivo);
    predefinito_();
}

void LettoreEffetti::NonSuonato(const QString& motivo)
{
    QSoundEffect* e = inCorso_;
    inCorso_ = nullptr;
    pronto_.stop();
    e->stop(); // nor may it sound later, over what comes next
    NonSuona(percorso_, motivo);
}

void LettoreEffetti::Suona(const QString& percorso)
{
    pronto_.stop();
    if (QSoundEffect* prima = inCorso_) {
        inCorso_ = nullptr;
        prima->stop();
    }
    QSoundEffect* e = effetti_.value(percorso);
    if (!e) {
        // Checked until the file is good; then its effect holds the sound.
        const QString difetto = Difetto(percorso);
        if (!difetto.isEmpty()) {
            NonSuona(percorso, difetto);
            return;
        }
        e = Effetto(percorso);
    }
    if (e->status() == QSoundEffect::Error) {
        NonSuona(percorso, QStringLiteral("Qt Multimedia cannot decode it"));
        return;
    }
    inCorso_ = e;
    percorso_ = percorso;
    e->play();
    if (inCorso_ == e && e->status() != QSoundEffect::Ready)
        pronto_.start();
}

LettoreSuoni* tivoro_crea_lettore(const std::function<void()>* suonoPredefinito)
{
    return new LettoreEffetti(*suonoPredefinito);
}
