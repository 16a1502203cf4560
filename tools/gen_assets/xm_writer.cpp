// XM bytes (see xm_writer.h). Layout: header, patterns (packed), instruments,
// each followed by its sample header and delta-coded sample data.
#include "tools/gen_assets/xm_writer.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace gen {

namespace {

class Bytes {
public:
    void u8(unsigned v) { m_b += char(v & 0xFF); }
    void u16(unsigned v)
    {
        u8(v);
        u8(v >> 8);
    }
    void u32(uint32_t v)
    {
        u16(v & 0xFFFF);
        u16(v >> 16);
    }
    void text(const std::string& s, size_t width)
    {
        for (size_t i = 0; i < width; ++i) u8(i < s.size() ? uint8_t(s[i]) : 0);
    }
    void zeros(size_t n) { m_b.append(n, '\0'); }
    std::string& str() { return m_b; }

private:
    std::string m_b;
};

std::string packPattern(const XmPattern& p, int channels)
{
    Bytes b;
    for (int r = 0; r < p.rows; ++r) {
        for (int c = 0; c < channels; ++c) {
            const XmCell& cell = p.cells[size_t(r)][size_t(c)];
            const unsigned mask = (cell.note ? 1u : 0u) | (cell.instrument ? 2u : 0u) | (cell.volume ? 4u : 0u) |
                                  (cell.effect ? 8u : 0u) | (cell.param ? 16u : 0u);
            b.u8(0x80 | mask);
            if (cell.note) b.u8(cell.note);
            if (cell.instrument) b.u8(cell.instrument);
            if (cell.volume) b.u8(cell.volume);
            if (cell.effect) b.u8(cell.effect);
            if (cell.param) b.u8(cell.param);
        }
    }
    return b.str();
}

} // namespace

void tuneSample(XmInstrument& ins, double rateHz, double refHz)
{
    // XM plays note 49 (C-4) at 8363 samples a second, and equal temperament
    // puts C-4 at 261.63 Hz: the shift is the same for every note.
    const double semis = 12.0 * std::log2(261.6255653 * rateHz / (8363.0 * refHz));
    const int rel = int(std::lround(semis));
    ins.relativeNote = int8_t(rel);
    ins.finetune = int8_t(std::clamp(std::lround((semis - rel) * 128.0), -128L, 127L));
}

std::string xmBytes(const XmModule& m)
{
    Bytes b;
    b.text("Extended Module: ", 17);
    b.text(m.name, 20);
    b.u8(0x1A);
    b.text("Quoril asset gen", 20);
    b.u16(0x0104);
    b.u32(276);
    b.u16(unsigned(m.order.size()));
    b.u16(unsigned(m.restart));
    b.u16(unsigned(m.channels));
    b.u16(unsigned(m.patterns.size()));
    b.u16(unsigned(m.instruments.size()));
    b.u16(1); // linear frequency table
    b.u16(unsigned(m.tempo));
    b.u16(unsigned(m.bpm));
    for (size_t i = 0; i < 256; ++i) b.u8(i < m.order.size() ? m.order[i] : 0);

    for (const XmPattern& p : m.patterns) {
        const std::string packed = packPattern(p, m.channels);
        if (packed.size() > 0xFFFF) throw std::runtime_error("XM pattern too large");
        b.u32(9);
        b.u8(0);
        b.u16(unsigned(p.rows));
        b.u16(unsigned(packed.size()));
        b.str() += packed;
    }

    for (const XmInstrument& ins : m.instruments) {
        if (ins.envelope.size() > 12) throw std::runtime_error("XM envelope has more than 12 points");
        b.u32(263);
        b.text(ins.name, 22);
        b.u8(0);
        b.u16(1);  // one sample
        b.u32(40); // sample header size
        b.zeros(96); // every note plays sample 0
        for (size_t i = 0; i < 12; ++i) {
            b.u16(i < ins.envelope.size() ? ins.envelope[i].tick : 0);
            b.u16(i < ins.envelope.size() ? ins.envelope[i].value : 0);
        }
        b.zeros(48); // panning envelope
        b.u8(unsigned(ins.envelope.size()));
        b.u8(0);
        b.u8(unsigned(std::max(ins.sustainPoint, 0)));
        b.u8(0);
        b.u8(0);
        b.zeros(3);
        unsigned volType = ins.envelope.empty() ? 0 : 1;
        if (!ins.envelope.empty() && ins.sustainPoint >= 0) volType |= 2;
        b.u8(volType);
        b.u8(0);
        b.zeros(4); // vibrato
        b.u16(ins.fadeout);
        b.zeros(22);

        const uint32_t bytes = uint32_t(ins.sample.size() * 2);
        b.u32(bytes);
        b.u32(ins.loopStart * 2);
        b.u32(ins.loopLength * 2);
        b.u8(ins.volume);
        b.u8(uint8_t(ins.finetune));
        b.u8((ins.loopLength ? 1u : 0u) | 0x10u); // forward loop, 16-bit
        b.u8(ins.panning);
        b.u8(uint8_t(ins.relativeNote));
        b.u8(0);
        b.text(ins.name, 22);
        int16_t prev = 0;
        for (int16_t s : ins.sample) {
            b.u16(uint16_t(int16_t(s - prev)));
            prev = s;
        }
    }
    return b.str();
}

} // namespace gen
