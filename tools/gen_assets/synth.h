// Sound synthesis for the generated effects and the music's instruments: a
// deterministic noise source, oscillators, envelopes and a state-variable
// filter, mono at 44100 Hz, and 16-bit WAV output.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace gen {

constexpr int kRate = 44100;
constexpr double kPi = 3.14159265358979323846;

using Wave = std::vector<float>;

// xorshift32: the same seed gives the same noise on every machine.
class Noise {
public:
    explicit Noise(uint32_t seed) : m_s(seed ? seed : 1) {}
    float next(); // -1 .. 1

private:
    uint32_t m_s;
};

// Chamberlin state-variable filter (low, band and high outputs).
class Svf {
public:
    void set(double cutoffHz, double q);
    void run(float in);
    float low = 0, band = 0, high = 0;

private:
    float m_f = 0.1f, m_q = 1.0f;
};

Wave silence(double seconds);
// Adds src into dst starting at a time offset, scaled by gain.
void mixInto(Wave& dst, const Wave& src, double atSeconds, float gain = 1.0f);
// Exponential decay envelope value after t seconds for a time constant tau.
double decay(double t, double tau);
// Linear attack over a seconds, then 1.
double attack(double t, double a);
// FM bell/tine: carrier f, modulator at ratio * f with a decaying index.
Wave fmBell(double f, double seconds, double ratio, double index, double indexTau, double ampTau);
// Frequency-sweeping sine, f0 to f1 exponentially over the length.
Wave chirp(double f0, double f1, double seconds, double ampTau);
// Scales so the loudest sample has the given peak.
void normalise(Wave& w, float peak);
// Short fades at both ends so nothing clicks.
void fadeEdges(Wave& w, double inSeconds, double outSeconds);

// 16-bit PCM mono WAV at kRate.
std::string wavBytes(const Wave& w);
std::vector<int16_t> pcm16(const Wave& w);

} // namespace gen
