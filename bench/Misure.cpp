#include "Misure.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>

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

double Campioni::Quantile(double q) const
{
    if (v_.empty())
        return -1;
    std::vector<double> s = v_;
    std::sort(s.begin(), s.end());
    const double pos = q * double(s.size() - 1);
    const auto i = std::size_t(pos);
    const double f = pos - double(i);
    return i + 1 < s.size() ? s[i] * (1 - f) + s[i + 1] * f : s[i];
}

QString Risorse() { return QStringLiteral(TIVORO_ASSETS_DIR); }

} // namespace Misure
