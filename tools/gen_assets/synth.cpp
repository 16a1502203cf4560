// Synthesis helpers and WAV output (see synth.h).
#include "tools/gen_assets/synth.h"

#include <algorithm>
#include <cmath>

namespace gen {

float Noise::next()
{
    m_s ^= m_s << 13;
    m_s ^= m_s >> 17;
    m_s ^= m_s << 5;
    return float(m_s) / 2147483648.0f - 1.0f;
}

void Svf::set(double cutoffHz, double q)
{
    m_f = float(2.0 * std::sin(kPi * std::min(cutoffHz, kRate / 6.0) / kRate));
    m_q = float(1.0 / q);
}

void Svf::run(float in)
{
    low += m_f * band;
    high = in - low - m_q * band;
    band += m_f * high;
}

Wave silence(double seconds)
{
    return Wave(size_t(seconds * kRate), 0.0f);
}

void mixInto(Wave& dst, const Wave& src, double atSeconds, float gain)
{
    const size_t at = size_t(atSeconds * kRate);
    if (dst.size() < at + src.size()) dst.resize(at + src.size(), 0.0f);
    for (size_t i = 0; i < src.size(); ++i) dst[at + i] += src[i] * gain;
}

double decay(double t, double tau)
{
    return std::exp(-t / tau);
}

double attack(double t, double a)
{
    return t >= a ? 1.0 : t / a;
}

Wave fmBell(double f, double seconds, double ratio, double index, double indexTau, double ampTau)
{
    Wave w(size_t(seconds * kRate));
    for (size_t i = 0; i < w.size(); ++i) {
        const double t = double(i) / kRate;
        const double mod = index * decay(t, indexTau) * std::sin(2 * kPi * f * ratio * t);
        w[i] = float(std::sin(2 * kPi * f * t + mod) * decay(t, ampTau) * attack(t, 0.002));
    }
    return w;
}

Wave chirp(double f0, double f1, double seconds, double ampTau)
{
    Wave w(size_t(seconds * kRate));
    double phase = 0;
    for (size_t i = 0; i < w.size(); ++i) {
        const double t = double(i) / kRate;
        const double f = f0 * std::pow(f1 / f0, t / seconds);
        phase += 2 * kPi * f / kRate;
        w[i] = float(std::sin(phase) * decay(t, ampTau) * attack(t, 0.002));
    }
    return w;
}

void normalise(Wave& w, float peak)
{
    float m = 0;
    for (float s : w) m = std::max(m, std::fabs(s));
    if (m > 0)
        for (float& s : w) s *= peak / m;
}

void fadeEdges(Wave& w, double inSeconds, double outSeconds)
{
    const size_t in = std::min(w.size(), size_t(inSeconds * kRate)), out = std::min(w.size(), size_t(outSeconds * kRate));
    for (size_t i = 0; i < in; ++i) w[i] *= float(i) / float(in);
    for (size_t i = 0; i < out; ++i) w[w.size() - 1 - i] *= float(i) / float(out);
}

std::vector<int16_t> pcm16(const Wave& w)
{
    std::vector<int16_t> out(w.size());
    for (size_t i = 0; i < w.size(); ++i) out[i] = int16_t(std::lround(std::clamp(w[i], -1.0f, 1.0f) * 32767.0f));
    return out;
}

std::string wavBytes(const Wave& w)
{
    const std::vector<int16_t> pcm = pcm16(w);
    const uint32_t dataBytes = uint32_t(pcm.size() * 2);
    std::string b;
    auto u32 = [&](uint32_t v) {
        for (int i = 0; i < 4; ++i) b += char((v >> (8 * i)) & 0xFF);
    };
    auto u16 = [&](uint16_t v) {
        b += char(v & 0xFF);
        b += char(v >> 8);
    };
    b += "RIFF";
    u32(36 + dataBytes);
    b += "WAVEfmt ";
    u32(16);
    u16(1); // PCM
    u16(1); // mono
    u32(kRate);
    u32(kRate * 2);
    u16(2);
    u16(16);
    b += "data";
    u32(dataBytes);
    for (int16_t s : pcm) u16(uint16_t(s));
    return b;
}

} // namespace gen
