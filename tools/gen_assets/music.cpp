// MUS_GAME: an original, calm tune in C major composed here and written as an
// XM module. Seven four-bar sections (intro, A, A', B, B', A, A') over a loop
// of I-vi-IV-V flavoured chords; the instruments are synthesised here.
#include <algorithm>
#include <cmath>
#include <map>
#include <sstream>

#include "tools/gen_assets/assets.h"
#include "tools/gen_assets/synth.h"
#include "tools/gen_assets/xm_writer.h"
#include "tools/gen_assets/xml_writer.h"

namespace gen {

namespace {

// Instruments, 1-based as the patterns name them.
enum : uint8_t { kPiano = 1, kPluck, kPad, kBass, kKick, kRim, kHat };
// Channels.
enum { kMelody, kEcho, kArp, kPad1, kPad2, kPad3, kBassCh, kDrums, kHats, kSparkle, kChannels };

constexpr int kRowsPerBar = 16, kBars = 4;
// Loops hold a whole number of periods: 100 periods of 262.5 Hz in 16800 samples.
constexpr int kLoop = 16800;
constexpr double kLoopHz = double(kRate) * 100 / kLoop;

double hz(int midi)
{
    return 440.0 * std::pow(2.0, (midi - 69) / 12.0);
}

uint8_t xmNote(int midi)
{
    return uint8_t(midi - 11); // XM note 49 (C-4) is MIDI 60
}

XmInstrument instrument(const std::string& name, Wave w, double refHz)
{
    XmInstrument ins;
    ins.name = name;
    ins.sample = pcm16(w);
    tuneSample(ins, kRate, refHz);
    return ins;
}

Wave piano()
{
    const double f = hz(72);
    Wave w = fmBell(f, 1.8, 1.0, 1.8, 0.25, 0.7);
    mixInto(w, fmBell(f * 4, 0.3, 1.0, 0.5, 0.05, 0.08), 0.0, 0.15f);
    normalise(w, 0.9f);
    fadeEdges(w, 0.0, 0.05);
    return w;
}

Wave pluck()
{
    const double f = hz(72);
    Wave w(size_t(0.9 * kRate));
    for (size_t i = 0; i < w.size(); ++i) {
        const double t = double(i) / kRate;
        double s = 0;
        for (int k = 1; k <= 8; ++k) s += std::sin(2 * kPi * k * f * t) / k * decay(t, 1.0 / (2.0 + 3.0 * k));
        w[i] = float(s * attack(t, 0.003));
    }
    normalise(w, 0.9f);
    fadeEdges(w, 0.0, 0.05);
    return w;
}

// A loop of three slightly detuned soft saws (99, 100 and 101 periods).
Wave padLoop()
{
    Wave w(kLoop);
    for (size_t i = 0; i < w.size(); ++i) {
        const double x = double(i) / kLoop;
        double s = 0;
        for (int osc = 0; osc < 3; ++osc) {
            const double cycles = 99 + osc, phase = 0.37 * osc;
            for (int k = 1; k <= 10; ++k) s += std::sin(2 * kPi * (k * cycles * x + phase * k)) / std::pow(k, 1.4);
        }
        w[i] = float(s);
    }
    normalise(w, 0.7f);
    return w;
}

Wave bassLoop()
{
    Wave w(kLoop);
    for (size_t i = 0; i < w.size(); ++i) {
        const double p = 2 * kPi * 100.0 * double(i) / kLoop;
        w[i] = float(std::sin(p) + 0.35 * std::sin(2 * p) + 0.12 * std::sin(3 * p));
    }
    normalise(w, 0.9f);
    return w;
}

Wave kick()
{
    Wave w = chirp(140, 45, 0.3, 0.09);
    Noise n(5);
    for (size_t i = 0; i < size_t(0.003 * kRate); ++i) w[i] += 0.3f * n.next();
    normalise(w, 0.95f);
    fadeEdges(w, 0.0, 0.02);
    return w;
}

// A decaying burst of filtered noise, with an optional decaying tone under it.
Wave noiseHit(double seconds, uint32_t seed, double cutoff, double q, bool highPass, double tau, double toneHz,
              float peak)
{
    Wave w(size_t(seconds * kRate));
    Noise n(seed);
    Svf svf;
    svf.set(cutoff, q);
    for (size_t i = 0; i < w.size(); ++i) {
        const double t = double(i) / kRate;
        svf.run(n.next());
        const double tone = toneHz > 0 ? 0.5 * std::sin(2 * kPi * toneHz * t) * decay(t, tau * 0.66) : 0.0;
        w[i] = float((highPass ? svf.high : svf.band) * decay(t, tau) + tone);
    }
    normalise(w, peak);
    fadeEdges(w, 0.0, 0.01);
    return w;
}

Wave rim()
{
    return noiseHit(0.15, 9, 1800, 3.0, false, 0.03, 420, 0.8f);
}

Wave hat()
{
    return noiseHit(0.08, 21, 7000, 0.8, true, 0.018, 0, 0.7f);
}

std::vector<XmInstrument> instruments()
{
    std::vector<XmInstrument> list;
    list.push_back(instrument("Soft piano", piano(), hz(72)));
    list.push_back(instrument("Pluck", pluck(), hz(72)));
    XmInstrument pad = instrument("Warm pad", padLoop(), kLoopHz);
    pad.loopLength = kLoop;
    pad.envelope = {{0, 0}, {30, 64}, {96, 50}};
    pad.sustainPoint = 2;
    pad.fadeout = 800;
    list.push_back(pad);
    XmInstrument bass = instrument("Round bass", bassLoop(), kLoopHz);
    bass.loopLength = kLoop;
    bass.envelope = {{0, 64}, {6, 54}, {48, 36}, {96, 22}, {160, 0}};
    list.push_back(bass);
    list.push_back(instrument("Kick", kick(), hz(60)));
    list.push_back(instrument("Rim", rim(), hz(60)));
    list.push_back(instrument("Shaker", hat(), hz(60)));
    return list;
}

struct Chord {
    int bass;
    int pad[3];
    int arp[4];
};

const std::map<std::string, Chord>& chords()
{
    static const std::map<std::string, Chord> k = {
        {"F", {41, {57, 60, 64}, {65, 69, 72, 76}}},  {"G", {43, {59, 62, 67}, {67, 71, 74, 79}}},
        {"Em", {40, {59, 64, 67}, {64, 67, 71, 76}}}, {"Am", {45, {57, 60, 64}, {64, 69, 72, 76}}},
        {"C", {48, {55, 60, 64}, {67, 72, 76, 79}}},  {"Dm", {38, {57, 60, 65}, {62, 65, 69, 72}}},
        {"Em7", {40, {59, 62, 67}, {64, 67, 71, 74}}},
    };
    return k;
}

// "A4:4 C5:2 -:2": note names with sharps, lengths in rows, '-' for rests.
std::vector<std::pair<int, int>> melody(const std::string& text)
{
    static const std::map<char, int> kStep = {{'C', 0}, {'D', 2}, {'E', 4}, {'F', 5}, {'G', 7}, {'A', 9}, {'B', 11}};
    std::vector<std::pair<int, int>> notes;
    std::istringstream in(text);
    std::string tok;
    while (in >> tok) {
        const size_t colon = tok.find(':');
        const int rows = std::stoi(tok.substr(colon + 1));
        const std::string name = tok.substr(0, colon);
        if (name == "-") {
            notes.push_back({0, rows});
            continue;
        }
        int midi = kStep.at(name[0]);
        size_t i = 1;
        if (name[i] == '#') ++midi, ++i;
        midi += 12 * (std::stoi(name.substr(i)) + 1);
        notes.push_back({midi, rows});
    }
    return notes;
}

struct Section {
    std::vector<std::string> chords; // one per bar
    std::string tune;                // the melody over all four bars, empty for none
    int drums;                       // 0 none, 1 shaker, 2 kick and shaker, 3 full
    bool intro;
};

XmCell& at(XmPattern& p, int row, int ch)
{
    return p.cells[size_t(row)][size_t(ch)];
}

void put(XmPattern& p, int row, int ch, int midi, uint8_t instrument, int volume)
{
    XmCell& c = at(p, row, ch);
    c.note = xmNote(midi);
    c.instrument = instrument;
    c.volume = uint8_t(0x10 + std::min(64, volume * 5 / 4)); // a little louder than written
}

XmPattern compose(const Section& s)
{
    // Every section strikes its first chord afresh, so the loop back from the
    // last section starts in tune.
    int padHeld[3] = {0, 0, 0};
    XmPattern p;
    p.rows = kRowsPerBar * kBars;
    p.cells.assign(size_t(p.rows), std::vector<XmCell>(kChannels));
    static const uint8_t kPan[kChannels] = {0x70, 0xA8, 0x98, 0x50, 0x80, 0xB0, 0x80, 0x80, 0xA0, 0x60};
    for (int ch = 0; ch < kChannels; ++ch) {
        at(p, 0, ch).effect = 0x08;
        at(p, 0, ch).param = kPan[ch];
    }
    for (int bar = 0; bar < kBars; ++bar) {
        const Chord& c = chords().at(s.chords[size_t(bar)]);
        const int r0 = bar * kRowsPerBar;
        // Pads change only the voices whose note changes: the others keep ringing.
        for (int v = 0; v < 3; ++v) {
            if (padHeld[v] != c.pad[v]) put(p, r0, kPad1 + v, c.pad[v], kPad, 20);
            padHeld[v] = c.pad[v];
        }
        static const int kArpOrder[8] = {0, 2, 1, 3, 0, 2, 1, 3};
        for (int i = 0; i < 8; ++i) put(p, r0 + 2 * i, kArp, c.arp[kArpOrder[i]], kPluck, i % 2 ? 14 : 20);
        if (s.intro) {
            put(p, r0, kBassCh, c.bass, kBass, 44);
        } else {
            put(p, r0, kBassCh, c.bass, kBass, 48);
            put(p, r0 + 6, kBassCh, c.bass, kBass, 34);
            put(p, r0 + 8, kBassCh, c.bass + 7, kBass, 40);
            put(p, r0 + 12, kBassCh, c.bass + 12, kBass, 30);
        }
        for (int i = 0; i < 8; ++i) {
            const int row = r0 + 2 * i;
            const bool off = i % 2 == 1;
            if (s.drums == 1 && off && bar >= 2) put(p, row, kHats, 60, kHat, 12);
            if (s.drums >= 2) put(p, row, kHats, 60, kHat, off ? 16 : 9);
        }
        if (s.drums >= 2) {
            put(p, r0, kDrums, 60, kKick, 44);
            put(p, r0 + 8, kDrums, 60, kKick, 38);
        }
        if (s.drums >= 3) {
            put(p, r0 + 4, kDrums, 60, kRim, 22);
            put(p, r0 + 12, kDrums, 60, kRim, 24);
            if (bar % 2 == 1) put(p, r0 + 10, kDrums, 60, kKick, 26);
            put(p, r0 + 14, kSparkle, c.arp[3] + 12, kPluck, 10);
        }
        // A short rim fill rounds off the section and leads into the next.
        if (s.drums >= 2 && bar == kBars - 1) {
            static const int kFill[][2] = {{13, 14}, {14, 18}, {15, 24}};
            for (const auto& [row, vol] : kFill) put(p, r0 + row, kDrums, 60, kRim, vol);
        }
    }
    // The melody, and its echo a dotted eighth later, quieter.
    int row = 0;
    for (const auto& [midi, rows] : melody(s.tune)) {
        if (midi) {
            put(p, row, kMelody, midi, kPiano, 46);
            if (row + 3 < p.rows) put(p, row + 3, kEcho, midi, kPiano, 14);
        }
        row += rows;
    }
    return p;
}

std::vector<Section> song()
{
    const std::string a1 = "A4:4 C5:2 F5:4 E5:2 C5:4  D5:4 B4:2 G4:2 D5:4 E5:4  G5:6 E5:2 B4:4 D5:4  C5:6 A4:2 E4:4 -:4";
    const std::string a2 = "A4:4 C5:2 F5:4 A5:2 G5:4  F5:2 E5:2 D5:4 B4:4 G5:4  E5:6 D5:2 C5:4 G4:4  C5:12 -:4";
    const std::string b1 = "F5:4 A5:4 G5:2 F5:2 E5:4  D5:6 G5:2 B5:4 A5:4  G5:4 E5:4 B5:4 G5:4  A5:8 E5:4 C5:4";
    const std::string b2 = "D5:4 F5:2 A5:2 C6:4 A5:4  B5:4 G5:2 E5:2 G5:4 B5:4  A5:6 G5:2 F5:4 C5:4  D5:4 G5:4 B4:4 D5:2 -:2";
    return {
        {{"F", "G", "Em", "Am"}, "", 1, true},     {{"F", "G", "Em", "Am"}, a1, 2, false},
        {{"F", "G", "C", "C"}, a2, 2, false},      {{"Dm", "G", "Em7", "Am"}, b1, 3, false},
        {{"Dm", "Em7", "F", "G"}, b2, 3, false},   {{"F", "G", "Em", "Am"}, a1, 3, false},
        {{"F", "G", "C", "C"}, a2, 3, false},
    };
}

} // namespace

void generateMusic(Output& out)
{
    XmModule m;
    m.name = "Quoril - Drift";
    m.channels = kChannels;
    m.tempo = 6;
    m.bpm = 112;
    m.restart = 1;
    m.instruments = instruments();
    const std::vector<Section> sections = song();
    for (size_t i = 0; i < sections.size(); ++i) {
        m.patterns.push_back(compose(sections[i]));
        m.order.push_back(uint8_t(i));
    }
    writeFile(out.path("music/quoril.xm"), xmBytes(m));
    // data1 0: the module is read from its file each time it starts.
    out.declare("sound", {"MUS_GAME", "MUSIC", "music/quoril.xm", kTagMedia});

    XmlNode list("playlist");
    list.attr("id", "PLS_GAME").attr("tag", 0);
    list.child("track").attr("id", "MUS_GAME");
    writeFile(out.path("music/playlist.xml"), xmlDocument(list, "The game's music, one track."));
    out.declare("sound", {"PLS_GAME", "PLAYLIST", "music/playlist.xml", kTagMedia});
}

} // namespace gen
