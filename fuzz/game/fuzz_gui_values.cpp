// GUI enumerations, styles and the text forms of parameter values: the input's
// first line is an enumeration read as "E", its second a style read as "S",
// every further line "name=text" one parameter value parsed as the data loader
// does. Bad data raises the engine's errors and nothing worse.
#include <cstdlib>
#include <functional>
#include <sstream>
#include <string>

#include "engine/res/ctarnis_utils_cxmlparser.h"
#include "fuzz/game/fuzz_game_env.h"
#include "gui/trsgui_ctarnisgui.h"

namespace {

template <typename Fn>
void guarded(Fn fn)
{
    try {
        fn();
    } catch (const CEHSException&) {
    } catch (const char*) {
    }
}

void readXML(const std::string& text, const std::function<void(CXMLNode*)>& read)
{
    guarded([&] {
        CXMLParser parser;
        parser.LoadFromBuffer(text.data(), int32_t(text.size()), false);
        parser.Parse();
        read(parser.GetRoot());
    });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static CTarnis* tarnis = fuzzenv::StartEngine();
    if (!tarnis) abort();
    CTarnisGUI gui;
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    std::string line;
    if (std::getline(in, line)) readXML(line, [&](CXMLNode* root) { gui.ReadGUIEnumData(root, "E"); });
    if (std::getline(in, line)) readXML(line, [&](CXMLNode* root) { gui.ReadGUIStyleData(root, "S"); });
    while (std::getline(in, line)) {
        const size_t eq = line.find('=');
        if (eq == std::string::npos) continue;
        guarded([&] {
            int32_t param = -1;
            gui.ParseParamValue(line.substr(0, eq), line.substr(eq + 1), &param);
            if (param < 0) abort();
        });
    }
    return 0;
}
