#include "suoni/LettoreEffetti.h"

#include <QFile>
#include <QFileInfo>
#include <QSoundEffect>
#include <QUrl>
#include <QtEndian>

#include <cstring>

namespace {
// Why a wave file cannot be played, or an empty string. Qt Multimedia reports a file it
// cannot decode, but loads a truncated one, or one whose sizes lie, without a word and then
// plays nothing; so the container is checked here against the file's real size, before
// anything of it is handed over. What the samples are (format, bits) is left to Qt.
QString Difetto(const QString& percorso)
{
    const QFileInfo info(percorso);
    if (!info.exists())
        return QStringLiteral("it is missing");
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

LettoreEffetti::LettoreEffetti(std::function<void()> suonoPredefinito) : predefinito_(std::move(suonoPredefinito)) {}

LettoreEffetti::~LettoreEffetti() { qDeleteAll(effetti_); }

QSoundEffect* LettoreEffetti::Effetto(const QString& percorso)
{
    auto* e = new QSoundEffect();
    e->setSource(QUrl::fromLocalFile(percorso));
    // Decoding ends after Suona has returned. A file Qt cannot decode gives the default
    // sound only while it is still the sound asked for last: a late one must not sound
    // over a newer sound.
    connect(e, &QSoundEffect::statusChanged, this, [this, e, percorso] {
        if (e->status() == QSoundEffect::Ready && e == inCorso_) {
            inAttesa_ = false;
        } else if (e->status() == QSoundEffect::Error) {
            if (e == inCorso_ && inAttesa_) {
                inCorso_ = nullptr;
                inAttesa_ = false;
                NonSuona(percorso, QStringLiteral("Qt Multimedia cannot decode it"));
            } else {
                Registra(percorso, QStringLiteral("Qt Multimedia cannot decode it"));
            }
        }
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

void LettoreEffetti::Suona(const QString& percorso)
{
    if (inCorso_)
        inCorso_->stop();
    inCorso_ = nullptr;
    inAttesa_ = false;
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
    inAttesa_ = e->status() != QSoundEffect::Ready;
    e->play();
}

LettoreSuoni* tivoro_crea_lettore(const std::function<void()>* suonoPredefinito)
{
    return new LettoreEffetti(*suonoPredefinito);
}
