// The engine's XML reader against pugixml on the same generated documents: a
// ~1 MB GUI-like file and a font description (elements of 300 attributes).
#include <benchmark/benchmark.h>
#include <pugixml.hpp>

#include <string>

#include "bench/bench_peer.h"
#include "engine/res/ctarnis_utils_cxmlparser.h"

namespace {

std::string guiDocument()
{
    std::string s = "<?xml version=\"1.0\"?>\r\n<!-- generated GUI screen set -->\r\n<desktop>\r\n";
    int n = 0;
    while (s.size() < 1000000) {
        ++n;
        s += "  <window id=\"WND_" + std::to_string(n) + "\" x=\"" + std::to_string(n % 800) +
             "\" y=\"40\" width=\"320\" height=\"240\" style=\"STL_WINDOW\" visible=\"0\">\r\n";
        for (int i = 0; i < 8; ++i) {
            s += "    <button id=\"BTN_" + std::to_string(n) + "_" + std::to_string(i) +
                 "\" x=\"10\" y=\"" + std::to_string(20 * i) +
                 "\" width=\"96\" height=\"24\" texture=\"TEX_BUTTON\" on_press=\"BTN_ONPRESS\">\r\n";
            s += "      <label id=\"L_" + std::to_string(n) + "_" + std::to_string(i) +
                 "\" text=\"Press me\" font=\"FNT_FONT1\" color=\"1.0 1.0 1.0 1.0\"/>\r\n";
            s += "    </button>\r\n";
        }
        s += "  </window>\r\n";
    }
    s += "</desktop>\r\n";
    return s;
}

std::string fontDocument()
{
    std::string s = "<fontdesc id=\"FNT_FONT1\" texture=\"TEX_FONT1\" technique=\"TEQ_FONT\">\n";
    int row = 0;
    while (s.size() < 200000) {
        s += "  <row" + std::to_string(row++);
        for (int a = 0; a < 300; ++a) s += " c" + std::to_string(a) + "=\"" + std::to_string((a * 7) % 17) + "\"";
        s += "/>\n";
    }
    s += "</fontdesc>\n";
    return s;
}

std::string scrambled(std::string s)
{
    for (char& c : s) c = char(uint8_t(c) ^ TRS_XML_SCRAMBLE_BYTE);
    return s;
}

const std::string& gui()
{
    static const std::string doc = guiDocument();
    return doc;
}
const std::string& font()
{
    static const std::string doc = fontDocument();
    return doc;
}

void oursParse(benchmark::State& state, const std::string& doc, bool scramble)
{
    const std::string input = scramble ? scrambled(doc) : doc;
    for (auto _ : state) {
        CXMLParser p;
        p.LoadFromBuffer(input.data(), int32_t(input.size()), scramble);
        p.Parse();
        benchmark::DoNotOptimize(p.GetRoot()->GetChildrenCount());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(input.size()));
}

void pugiParse(benchmark::State& state, const std::string& doc, unsigned options)
{
    for (auto _ : state) {
        pugi::xml_document d;
        d.load_buffer(doc.data(), doc.size(), options);
        benchmark::DoNotOptimize(d.first_child());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(doc.size()));
}

void BM_Ours_Gui(benchmark::State& s) { oursParse(s, gui(), false); }
void BM_Ours_GuiScrambled(benchmark::State& s) { oursParse(s, gui(), true); }
void BM_Pugi_Gui(benchmark::State& s) { pugiParse(s, gui(), pugi::parse_default); }
void BM_PugiMinimal_Gui(benchmark::State& s) { pugiParse(s, gui(), pugi::parse_minimal); }
void BM_Ours_Font(benchmark::State& s) { oursParse(s, font(), false); }
void BM_Pugi_Font(benchmark::State& s) { pugiParse(s, font(), pugi::parse_default); }
void BM_PugiMinimal_Font(benchmark::State& s) { pugiParse(s, font(), pugi::parse_minimal); }

BENCHMARK(BM_Ours_Gui);
BENCHMARK(BM_Ours_GuiScrambled);
BENCHMARK(BM_Pugi_Gui);
BENCHMARK(BM_PugiMinimal_Gui);
BENCHMARK(BM_Ours_Font);
BENCHMARK(BM_Pugi_Font);
BENCHMARK(BM_PugiMinimal_Font);

} // namespace

int main(int argc, char** argv)
{
    return bench::runWithPeers(argc, argv,
                               {
                                   {"BM_Ours_Gui", "BM_Pugi_Gui", 1.5, "XML, GUI document vs pugixml default"},
                                   {"BM_Ours_Gui", "BM_PugiMinimal_Gui"},
                                   {"BM_Ours_GuiScrambled", "BM_Pugi_Gui"},
                                   {"BM_Ours_Font", "BM_Pugi_Font", 1.0, "XML, font description vs pugixml default"},
                                   {"BM_Ours_Font", "BM_PugiMinimal_Font"},
                               });
}
