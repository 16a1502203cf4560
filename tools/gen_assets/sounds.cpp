// Sound effects: the piece's slide and the GUI's hover, click, typing, window
// show and hide and the two result chimes. All are soft and short so they sit
// under the music; pitches come from the music's key (C major).
#include <cmath>

#include "tools/gen_assets/assets.h"
#include "tools/gen_assets/synth.h"
#include "tools/gen_assets/xml_writer.h"

namespace gen {

namespace {

double noteHz(int midi)
{
    return 440.0 * std::pow(2.0, (midi - 69) / 12.0);
}

// Band-passed noise whose centre glides from f0 to f1: an airy swish.
Wave swish(double seconds, double f0, double f1, double q, double rise, uint32_t seed)
{
    Wave w(size_t(seconds * kRate));
    Noise n(seed);
    Svf svf;
    for (size_t i = 0; i < w.size(); ++i) {
        const double t = double(i) / kRate, k = t / seconds;
        svf.set(f0 * std::pow(f1 / f0, k), q);
        svf.run(n.next());
        const double env = attack(t, rise) * std::pow(1.0 - k, 1.6);
        w[i] = float(svf.band * env);
    }
    return w;
}

Wave pieceMove()
{
    Wave w = silence(0.42);
    Wave air = swish(0.40, 380, 1900, 2.2, 0.05, 7);
    normalise(air, 1.0f);
    mixInto(w, air, 0.0, 0.34f);
    // A wooden knock as the piece sets off, and a small rising pop on top.
    Wave knock = fmBell(392, 0.12, 2.7, 1.2, 0.02, 0.03);
    mixInto(w, knock, 0.0, 0.55f);
    mixInto(w, chirp(660, 990, 0.09, 0.035), 0.004, 0.22f);
    normalise(w, 0.7f);
    fadeEdges(w, 0.001, 0.03);
    return w;
}

Wave hover()
{
    Wave w = fmBell(1760, 0.07, 2.0, 0.6, 0.01, 0.014);
    normalise(w, 0.28f);
    fadeEdges(w, 0.001, 0.01);
    return w;
}

Wave click()
{
    Wave w = silence(0.13);
    Wave tick = swish(0.012, 3000, 5000, 1.5, 0.0005, 3);
    normalise(tick, 1.0f);
    mixInto(w, tick, 0.0, 0.35f);
    mixInto(w, fmBell(1046.5, 0.12, 1.0, 1.0, 0.02, 0.028), 0.0, 0.6f);
    mixInto(w, fmBell(1568, 0.1, 1.0, 0.5, 0.02, 0.02), 0.0, 0.3f);
    normalise(w, 0.5f);
    fadeEdges(w, 0.0005, 0.02);
    return w;
}

Wave typeTick()
{
    Wave w = fmBell(2093, 0.045, 3.0, 0.8, 0.006, 0.009);
    normalise(w, 0.25f);
    fadeEdges(w, 0.0005, 0.008);
    return w;
}

// Notes struck one after another, each a soft bell.
Wave arpeggio(const std::vector<int>& midi, double step, double tail, float gainFalloff)
{
    Wave w = silence(step * double(midi.size()) + tail);
    float gain = 1.0f;
    for (size_t i = 0; i < midi.size(); ++i) {
        mixInto(w, fmBell(noteHz(midi[i]), tail, 1.0, 1.6, 0.08, tail / 4), step * double(i), gain);
        mixInto(w, fmBell(noteHz(midi[i] + 12), tail * 0.6, 1.0, 0.6, 0.05, tail / 8), step * double(i), gain * 0.15f);
        gain *= gainFalloff;
    }
    return w;
}

// A few bell notes over a breath of air gliding from f0 to f1.
Wave chimeWithAir(const std::vector<int>& midi, double step, double tail, float falloff, double airSeconds, double f0,
                  double f1, float peak, uint32_t seed)
{
    Wave w = arpeggio(midi, step, tail, falloff);
    Wave air = swish(airSeconds, f0, f1, 1.5, 0.05, seed);
    normalise(air, 1.0f);
    mixInto(w, air, 0.0, 0.12f);
    normalise(w, peak);
    fadeEdges(w, 0.001, 0.05);
    return w;
}

// Windows open with a rising chime and close with a falling one.
Wave windowShow()
{
    return chimeWithAir({79, 84, 88}, 0.055, 0.45, 0.9f, 0.3, 800, 3200, 0.42f, 11);
}

Wave windowHide()
{
    return chimeWithAir({88, 84}, 0.06, 0.3, 0.8f, 0.28, 2600, 700, 0.34f, 13);
}

// The game is over: a warm broken chord.
Wave complete()
{
    Wave w = arpeggio({72, 76, 79, 84}, 0.09, 1.1, 0.95f);
    Wave under = arpeggio({60, 67}, 0.0, 1.3, 1.0f);
    mixInto(w, under, 0.0, 0.35f);
    normalise(w, 0.5f);
    fadeEdges(w, 0.001, 0.2);
    return w;
}

// A new best result: a quick rising fanfare, then a shimmering chord.
Wave record()
{
    Wave w = arpeggio({67, 72, 76, 79}, 0.07, 0.5, 1.0f);
    Wave chord = silence(1.6);
    for (int m : {84, 88, 91}) {
        Wave v(size_t(1.5 * kRate));
        for (size_t i = 0; i < v.size(); ++i) {
            const double t = double(i) / kRate;
            const double vib = 1.0 + 0.004 * std::sin(2 * kPi * 5.5 * t);
            v[i] = float(std::sin(2 * kPi * noteHz(m) * vib * t) * decay(t, 0.5) * attack(t, 0.01));
        }
        mixInto(chord, v, 0.0, 0.3f);
    }
    mixInto(w, chord, 0.28, 1.0f);
    // Sparkles: a few high pings at fixed, irregular times.
    const double at[] = {0.33, 0.41, 0.52, 0.6, 0.74, 0.86};
    const int pitch[] = {96, 100, 103, 98, 101, 105};
    for (int i = 0; i < 6; ++i) mixInto(w, fmBell(noteHz(pitch[i]), 0.25, 2.0, 0.8, 0.03, 0.06), at[i], 0.18f);
    normalise(w, 0.55f);
    fadeEdges(w, 0.001, 0.25);
    return w;
}

void save(Output& out, const std::string& id, const std::string& file, const Wave& w, int maxPlaybacks)
{
    writeFile(out.path(file), wavBytes(w));
    // Samples (data1 0) held in memory; hover and typing may overlap themselves.
    out.declare("sound", {id, "SOUND", file, kTagMedia, 0, maxPlaybacks, 0});
}

} // namespace

void generateSounds(Output& out)
{
    save(out, "SND_PIECEMOVE", "sfx/piece_move.wav", pieceMove(), 2);
    save(out, "SND_HOVER", "sfx/hover.wav", hover(), 3);
    save(out, "SND_CLICK", "sfx/click.wav", click(), 2);
    save(out, "SND_TYPE", "sfx/type.wav", typeTick(), 3);
    save(out, "SND_SHOW", "sfx/window_show.wav", windowShow(), 1);
    save(out, "SND_HIDE", "sfx/window_hide.wav", windowHide(), 1);
    save(out, "SND_COMPLETE", "sfx/complete.wav", complete(), 1);
    save(out, "SND_RECORD", "sfx/record.wav", record(), 1);
}

} // namespace gen
