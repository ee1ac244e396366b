#include "Misure.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <ctime>

namespace Misure {

Memoria Leggi()
{
    Memoria m;
    std::ifstream f("/proc/self/status");
    std::string riga;
    while (std::getline(f, riga)) {
        if (riga.rfind("VmRSS:", 0) == 0)
            m.rss = std::strtol(riga.c_str() + 6, nullptr, 10);
        else if (riga.rfind("VmHWM:", 0) == 0)
            m.hwm = std::strtol(riga.c_str() + 6, nullptr, 10);
    }
    return m;
}

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

} // namespace Misure
