// Start-up watcher for the benchmarks: starts programs one after another, each from a
// fork and exec of this process, and times from just before the exec to the MapNotify
// of the program's top-level window, seen on the root window of the X server
// (SubstructureNotify). After the map it waits a moment for the window to be painted,
// reads the program's resident memory from /proc, and ends the program.
//
//   bench_avvio [--giri N] [--attesa MS] [--ambiente NOME VAR=VALORE]... NOME=PROGRAMMA...
//       N runs of each program, alternating (after one discarded warm-up run each);
//       prints every run, then per program the median, the quartiles and the memory.
//       --ambiente sets a variable of the environment for the program of that name only
//       (the same program can so run twice, e.g. with and without a session bus).
//   bench_avvio --una PROGRAMMA [ARGOMENTI...]
//       one run of a command whose window may belong to a child of it (e.g. under
//       strace); prints the wall-clock time of the map as seconds since the epoch.
#include "Memoria.h"

#include <xcb/xcb.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <poll.h>
#include <signal.h>
#include <string>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>
#include <vector>

namespace {

double Adesso() // monotonic, in milliseconds
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

double Epoca()
{
    timespec t{};
    clock_gettime(CLOCK_REALTIME, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

class Osservatore {
public:
    Osservatore()
    {
        conn_ = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(conn_)) {
            std::fprintf(stderr, "bench_avvio: no X display (DISPLAY=%s)\n", std::getenv("DISPLAY"));
            std::exit(2);
        }
        root_ = xcb_setup_roots_iterator(xcb_get_setup(conn_)).data->root;
        const uint32_t maschera = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(conn_, root_, XCB_CW_EVENT_MASK, &maschera);
        const char* nome = "_NET_WM_PID";
        auto* r = xcb_intern_atom_reply(conn_, xcb_intern_atom(conn_, 0, uint16_t(std::strlen(nome)), nome), nullptr);
        pidAtom_ = r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
        std::free(r);
        xcb_flush(conn_);
    }
    ~Osservatore() { xcb_disconnect(conn_); }

    // Throws away the events that are already there.
    void Svuota()
    {
        while (xcb_generic_event_t* e = xcb_poll_for_event(conn_))
            std::free(e);
    }

    // Waits for the map of a top-level window (of the given process, unless pid is 0)
    // until `scadenza` (monotonic ms); returns the time of the map or -1.
    double AspettaMappa(pid_t pid, double scadenza)
    {
        for (;;) {
            while (xcb_generic_event_t* e = xcb_poll_for_event(conn_)) {
                const double t = Adesso();
                const bool mappa = (e->response_type & 0x7f) == XCB_MAP_NOTIFY;
                xcb_map_notify_event_t m{};
                if (mappa)
                    m = *reinterpret_cast<xcb_map_notify_event_t*>(e);
                std::free(e);
                if (mappa && m.event == root_ && !m.override_redirect && (pid == 0 || PidDi(m.window) == pid))
                    return t;
            }
            const double resta = scadenza - Adesso();
            if (resta <= 0)
                return -1;
            pollfd p{xcb_get_file_descriptor(conn_), POLLIN, 0};
            poll(&p, 1, int(resta) + 1);
            if (xcb_connection_has_error(conn_))
                return -1;
        }
    }

    // Keeps reading events for a while (nothing else to do meanwhile).
    void Attendi(double ms)
    {
        const double fine = Adesso() + ms;
        for (double resta; (resta = fine - Adesso()) > 0;) {
            pollfd p{xcb_get_file_descriptor(conn_), POLLIN, 0};
            poll(&p, 1, int(resta) + 1);
            Svuota();
        }
    }

private:
    pid_t PidDi(xcb_window_t w)
    {
        if (pidAtom_ == XCB_ATOM_NONE)
            return 0;
        auto* r = xcb_get_property_reply(conn_, xcb_get_property(conn_, 0, w, pidAtom_, XCB_ATOM_CARDINAL, 0, 1),
                                         nullptr);
        pid_t pid = 0;
        if (r && xcb_get_property_value_length(r) >= 4)
            pid = pid_t(*static_cast<uint32_t*>(xcb_get_property_value(r)));
        std::free(r);
        return pid;
    }

    xcb_connection_t* conn_;
    xcb_window_t root_;
    xcb_atom_t pidAtom_;
};

struct Esito {
    double ms = -1;
    Memoria memoria;
};

pid_t Avvia(char* const argv[], const std::vector<std::string>& ambiente = {})
{
    const pid_t pid = fork();
    if (pid == 0) {
        setpgid(0, 0); // a group of its own, so that the end reaches its children too
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        for (const std::string& v : ambiente)
            putenv(const_cast<char*>(v.c_str()));
        execvp(argv[0], argv);
        std::fprintf(stderr, "bench_avvio: cannot start %s: %s\n", argv[0], std::strerror(errno));
        _exit(127);
    }
    return pid;
}

void Termina(pid_t pid)
{
    kill(-pid, SIGTERM);
    int stato = 0;
    while (waitpid(pid, &stato, 0) < 0 && errno == EINTR) {
    }
}

Esito Giro(Osservatore& oss, const std::string& programma, double attesa, const std::vector<std::string>& ambiente)
{
    oss.Svuota();
    char* argv[] = {const_cast<char*>(programma.c_str()), nullptr};
    const double t0 = Adesso();
    const pid_t pid = Avvia(argv, ambiente);
    Esito e;
    const double t1 = oss.AspettaMappa(pid, t0 + 30000);
    if (t1 >= 0) {
        e.ms = t1 - t0;
        oss.Attendi(attesa); // let the window be painted
        e.memoria = LeggiMemoria("/proc/" + std::to_string(pid) + "/status");
    }
    Termina(pid);
    oss.Attendi(50); // the server drops the window of the ended program
    return e;
}

double Quantile(std::vector<double> v, double q)
{
    if (v.empty())
        return -1;
    std::sort(v.begin(), v.end());
    const double pos = q * double(v.size() - 1);
    const auto i = std::size_t(pos);
    const double f = pos - double(i);
    return i + 1 < v.size() ? v[i] * (1 - f) + v[i + 1] * f : v[i];
}

int Uso()
{
    std::fprintf(stderr, "usage: bench_avvio [--giri N] [--attesa MS] [--ambiente NAME VAR=VALUE]... NAME=PROGRAM...\n"
                         "       bench_avvio --una COMMAND [ARGS...]\n");
    return 2;
}

} // namespace

int main(int argc, char* argv[])
{
    int giri = 20;
    double attesa = 500;
    std::vector<std::pair<std::string, std::string>> programmi;
    std::map<std::string, std::vector<std::string>> ambienti;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--una" && i + 1 < argc) {
            Osservatore oss;
            const double t0 = Adesso();
            const pid_t pid = Avvia(argv + i + 1);
            const double t1 = oss.AspettaMappa(0, t0 + 60000);
            const double epoca = Epoca();
            if (t1 < 0) {
                Termina(pid);
                std::fprintf(stderr, "bench_avvio: no window within 60 s\n");
                return 1;
            }
            std::printf("mappa_ms=%.1f mappa_epoca=%.6f\n", t1 - t0, epoca - (Adesso() - t1) / 1e3);
            std::fflush(stdout);
            oss.Attendi(attesa);
            Termina(pid);
            return 0;
        }
        if (a == "--giri" && i + 1 < argc)
            giri = std::atoi(argv[++i]);
        else if (a == "--attesa" && i + 1 < argc)
            attesa = std::atof(argv[++i]);
        else if (a == "--ambiente" && i + 2 < argc && std::strchr(argv[i + 2], '=')) {
            ambienti[argv[i + 1]].emplace_back(argv[i + 2]);
            i += 2;
        }
        else if (const auto uguale = a.find('='); uguale != std::string::npos && uguale > 0)
            programmi.emplace_back(a.substr(0, uguale), a.substr(uguale + 1));
        else
            return Uso();
    }
    if (programmi.empty() || giri < 1)
        return Uso();

    Osservatore oss;
    for (auto& [nome, prog] : programmi) // warm-up: files in the page cache, fontconfig's cache
        if (Giro(oss, prog, 0, ambienti[nome]).ms < 0) {
            std::fprintf(stderr, "bench_avvio: %s showed no window\n", prog.c_str());
            return 1;
        }

    std::map<std::string, std::vector<double>> tempi;
    std::map<std::string, std::vector<double>> rss;
    std::map<std::string, std::vector<double>> hwm;
    for (int g = 0; g < giri; ++g) {
        for (std::size_t k = 0; k < programmi.size(); ++k) {
            // Alternate, and swap the order every other run, so that neither program
            // always runs first.
            const auto& [nome, prog] = programmi[g % 2 ? programmi.size() - 1 - k : k];
            const Esito e = Giro(oss, prog, attesa, ambienti[nome]);
            if (e.ms < 0) {
                std::fprintf(stderr, "bench_avvio: %s showed no window\n", prog.c_str());
                return 1;
            }
            std::printf("giro %2d %-8s %7.1f ms  VmRSS %6ld KiB  VmHWM %6ld KiB\n", g + 1, nome.c_str(), e.ms,
                        e.memoria.rss, e.memoria.hwm);
            tempi[nome].push_back(e.ms);
            rss[nome].push_back(double(e.memoria.rss));
            hwm[nome].push_back(double(e.memoria.hwm));
        }
    }
    for (auto& [nome, prog] : programmi)
        std::printf("avvio %s mediana_ms=%.1f q1_ms=%.1f q3_ms=%.1f rss_kib=%.0f hwm_kib=%.0f giri=%d\n", nome.c_str(),
                    Quantile(tempi[nome], 0.5), Quantile(tempi[nome], 0.25), Quantile(tempi[nome], 0.75),
                    Quantile(rss[nome], 0.5), Quantile(hwm[nome], 0.5), giri);
    return 0;
}
