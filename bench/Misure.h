#pragma once
// What the in-process benchmarks share: the process's resident memory, timing samples
// with their median and percentiles, and quiet stand-ins for the sound player and the
// message boxes (no audio device, no modal loop). What they see of the windows comes from
// the tests' support (tests/support/Osserva.h).
#include "Memoria.h"
#include "Osserva.h"
#include "app/Piattaforma.h"

#include <QList>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace Misure {

using ::Memoria;
inline Memoria Leggi() { return LeggiMemoria("/proc/self/status"); }

using Orologio = std::chrono::steady_clock;
inline double Ms(Orologio::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// The processor time this thread has used so far, in ms. Beside the wall-clock time
// of a step it tells the step's own work from the time the scheduler gave to other
// programs (a busy machine) or that the thread spent waiting.
double TempoCpu();

// A set of timings in milliseconds: wall-clock time, with the thread's processor time
// during each.
class Campioni {
public:
    void Aggiungi(double ms, double cpuMs = -1)
    {
        v_.push_back(ms);
        if (cpuMs >= 0)
            cpu_.push_back(cpuMs);
    }
    std::size_t Quanti() const { return v_.size(); }
    double Quantile(double q) const { return Quantile(v_, q); }
    double Mediana() const { return Quantile(0.5); }
    double P99() const { return Quantile(0.99); }
    double Massimo() const { return Quantile(1.0); }
    // The 99th percentile of the processor time (-1 when not measured).
    double P99Cpu() const { return Quantile(cpu_, 0.99); }

private:
    static double Quantile(std::vector<double> v, double q);
    std::vector<double> v_;
    std::vector<double> cpu_;
};

// Counts the sounds asked for and plays nothing: the benchmarks need no audio device.
class SuoniContati : public LettoreSuoni {
public:
    void Suona(const QString&) override { ++quanti; }
    long quanti = 0;
};

// Answers Yes to every question and counts the rest; no box is shown.
class MessaggiSi : public Messaggi {
public:
    void Informazione(const QString&) override { ++informazioni; }
    void Domanda(const QString&, std::function<void(bool si)> risposta) override
    {
        ++domande;
        risposta(true);
    }
    void Avviso(const QString&) override { ++avvisi; }
    long informazioni = 0, domande = 0, avvisi = 0;
};

// The folder of the shipped pictures and sounds.
QString Risorse();

// The program set up to be measured: the shipped pictures and sounds as its folder, and
// the quiet stand-ins in place of the sound player and the message boxes.
struct Quieti {
    SuoniContati* suoni;
    MessaggiSi* messaggi;
};
Quieti PreparaProgramma();

} // namespace Misure
