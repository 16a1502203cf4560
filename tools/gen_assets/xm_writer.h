// FastTracker 2 extended module (XM) writer: patterns, instruments with one
// 16-bit sample each and a volume envelope, written byte by byte.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace gen {

struct XmCell {
    uint8_t note = 0; // 1 = C-0 .. 96 = B-7, 97 = key off, 0 = none
    uint8_t instrument = 0;
    uint8_t volume = 0; // volume column: 0x10 + 0..64 sets the volume
    uint8_t effect = 0, param = 0;
};

struct XmPattern {
    int rows = 64;
    std::vector<std::vector<XmCell>> cells; // [row][channel]
};

struct XmEnvelopePoint {
    uint16_t tick, value; // value 0..64
};

struct XmInstrument {
    std::string name;
    std::vector<int16_t> sample;
    uint32_t loopStart = 0, loopLength = 0; // loopLength 0: no loop
    uint8_t volume = 64, panning = 128;
    int8_t finetune = 0, relativeNote = 0;
    std::vector<XmEnvelopePoint> envelope; // empty: no volume envelope
    int sustainPoint = -1;
    uint16_t fadeout = 0;
};

struct XmModule {
    std::string name;
    int channels = 8;
    int tempo = 6, bpm = 125;
    int restart = 0;
    std::vector<uint8_t> order;
    std::vector<XmPattern> patterns;
    std::vector<XmInstrument> instruments;
};

std::string xmBytes(const XmModule& m);

// Relative note and finetune that make a sample recorded at rateHz whose pitch
// is refHz sound in tune: every XM note then plays at its equal-tempered pitch.
void tuneSample(XmInstrument& ins, double rateHz, double refHz);

} // namespace gen
