#include "Supporto.h"

#include "app/Casuale.h"
#include "app/Modulo1.h"
#include "ui/Figure.h"
#include "ui/Finestre.h"

#include <QApplication>
#include <QKeyEvent>
#include <QtTest>
#include <memory>
#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

CasualeScriptato::CasualeScriptato()
{
    Casuale::ImpostaSorgente([this]() -> float {
        if (valori_.empty())
            qFatal("Scripted draws ran out at draw number %d", usati_ + 1);
        const float v = valori_.front();
        valori_.pop_front();
        ++usati_;
        return v;
    });
}

CasualeScriptato::CasualeScriptato(std::initializer_list<float> valori) : CasualeScriptato() { Aggiungi(valori); }

CasualeScriptato::~CasualeScriptato() { Casuale::ImpostaSorgente(nullptr); }

void CasualeScriptato::Aggiungi(std::initializer_list<float> valori)
{
    for (float v : valori)
        valori_.push_back(v);
}

void CasualeScriptato::Aggiungi(float valore) { valori_.push_back(valore); }

void MessaggiScriptati::Domanda(const QString& testo, std::function<void(bool si)> risposta)
{
    domande.append(testo);
    bool si = false;
    if (risposte.empty()) {
        ++domandeSenzaRisposta;
    } else {
        si = risposte.front();
        risposte.pop_front();
    }
    if (risposta)
        risposta(si);
}

namespace {
SuoniRegistrati& NuoviSuoni()
{
    auto s = std::make_unique<SuoniRegistrati>();
    auto& rif = *s;
    Piattaforma::ImpostaSuoni(std::move(s));
    return rif;
}
MessaggiScriptati& NuoviMessaggi()
{
    auto m = std::make_unique<MessaggiScriptati>();
    auto& rif = *m;
    Piattaforma::ImpostaMessaggi(std::move(m));
    return rif;
}
} // namespace

Ambiente::Ambiente(const QString& cartella) : suoni(NuoviSuoni()), messaggi(NuoviMessaggi())
{
    ScaricaFinestre();
    Figure::Dimentica();
    Piattaforma::ImpostaCartellaProgramma(cartella.isEmpty() ? Risorse() : cartella);
    Piattaforma::ImpostaTermina([this] { ++terminazioni; });
    Modulo1::NumeroEsatti = 0;
    Modulo1::NumeroErrati = 0;
    Modulo1::NumeroGiusto = 0;
}

Ambiente::~Ambiente()
{
    ScaricaFinestre();
    Figure::Dimentica();
    Piattaforma::Ripristina();
    Piattaforma::ImpostaTermina([] {});
}

QString Ambiente::Risorse() { return QStringLiteral(TIVORO_ASSETS_DIR); }

void Consegna() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

void ScaricaFinestre()
{
    Finestre::ScaricaTutte();
    Consegna();
}

void TieniPremuto(QWidget* w, Qt::Key tasto, Qt::KeyboardModifiers mod, int ripetizioni, bool rilascia, quint32 nativo)
{
    quint64 ora = 1000;
    const QString testo = tasto == Qt::Key_Space ? QStringLiteral(" ") : QStringLiteral("\r");
    auto manda = [&](QEvent::Type tipo, bool ripetuto) {
        QKeyEvent e(tipo, tasto, mod, nativo, 0, 0, testo, ripetuto && nativo == 0);
        e.setTimestamp(nativo ? ora : 0);
        QApplication::sendEvent(w, &e);
    };
    manda(QEvent::KeyPress, false);
    for (int i = 0; i < ripetizioni; ++i) {
        ora += 33;
        manda(QEvent::KeyRelease, true);
        manda(QEvent::KeyPress, true);
    }
    ora += 20;
    if (rilascia)
        manda(QEvent::KeyRelease, false);
}

#ifdef Q_OS_UNIX
ComeUtente::ComeUtente() : attivo_(geteuid() == 0 && setresuid(65534, 65534, 0) == 0) {}

ComeUtente::~ComeUtente()
{
    if (attivo_ && setresuid(0, 0, 0) != 0)
        qFatal("could not become root again");
}
#else
ComeUtente::ComeUtente() : attivo_(false) {}
ComeUtente::~ComeUtente() = default;
#endif

QColor SfondoVisto(Finestra* finestra)
{
    return finestra->Client()->grab(QRect(0, 0, 4, 4)).toImage().pixelColor(1, 1);
}
