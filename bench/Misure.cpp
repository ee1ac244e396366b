#include "Misure.h"

#include <QApplication>
#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <ctime>
#include <memory>

namespace Misure {

double TempoCpu()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

double Campioni::Quantile(std::vector<double> s, double q)
{
    if (s.empty())
        return -1;
    std::sort(s.begin(), s.end());
    const double pos = q * double(s.size() - 1);
    const auto i = std::size_t(pos);
    const double f = pos - double(i);
    return i + 1 < s.size() ? s[i] * (1 - f) + s[i + 1] * f : s[i];
}

QString Risorse() { return QStringLiteral(TIVORO_ASSETS_DIR); }

Quieti PreparaProgramma()
{
    Piattaforma::ImpostaCartellaProgramma(Risorse());
    auto* suoni = new SuoniContati;
    Piattaforma::ImpostaSuoni(std::unique_ptr<LettoreSuoni>(suoni));
    auto* messaggi = new MessaggiSi;
    Piattaforma::ImpostaMessaggi(std::unique_ptr<Messaggi>(messaggi));
    return {suoni, messaggi};
}

} // namespace Misure
