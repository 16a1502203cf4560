// GUI data (a `desktop` tree) read into a fresh GUI manager: bad data raises
// the engine's errors and nothing worse, and a tree that loads holds only
// elements whose IDs the text names.
#include <cstdlib>
#include <string>

#include "engine/res/ctarnis_utils_cxmlparser.h"
#include "fuzz/game/fuzz_game_env.h"
#include "gui/trsgui_ctarnisgui.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static CTarnis* tarnis = fuzzenv::StartEngine();
    if (!tarnis) abort();
    CTarnisGUI gui;
    bool loaded = false;
    try {
        CXMLParser parser;
        parser.LoadFromBuffer(data, int32_t(size), false);
        parser.Parse();
        gui.ReadGUIData(parser.GetRoot());
        loaded = true;
    } catch (const CEHSException&) {
    } catch (const char*) {
    }
    // The XML reader drops every CR byte before it parses.
    std::string text(reinterpret_cast<const char*>(data), size);
    std::erase(text, '\r');
    for (int32_t i = 1; loaded && i < gui.GetElementCount(); ++i)
        if (text.find(gui.GetElement(i)->GetID()) == std::string::npos) abort();
    return 0;
}
