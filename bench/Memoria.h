#pragma once
// Resident memory of a process, from its /proc status file. Header only: the start-up
// watcher, which links no Qt, reads it too.
#include <cstdlib>
#include <fstream>
#include <string>

struct Memoria {
    long rss = -1; // VmRSS, KiB
    long hwm = -1; // VmHWM, KiB
};

// status: "/proc/self/status" or "/proc/<pid>/status".
inline Memoria LeggiMemoria(const std::string& status)
{
    Memoria m;
    std::ifstream f(status);
    std::string riga;
    while (std::getline(f, riga)) {
        if (riga.rfind("VmRSS:", 0) == 0)
            m.rss = std::strtol(riga.c_str() + 6, nullptr, 10);
        else if (riga.rfind("VmHWM:", 0) == 0)
            m.hwm = std::strtol(riga.c_str() + 6, nullptr, 10);
    }
    return m;
}
