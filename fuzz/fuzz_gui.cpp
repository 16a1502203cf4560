// GUI data (screens, enumerations, styles; the first byte chooses): any text
// builds elements or is refused, and the manager stays whole enough to update
// and to be destroyed.
#include "engine/res/ctarnis_res_main.h"
#include "engine/res/ctarnis_utils_cxmlparser.h"
#include "fuzz/fuzz_engine.h"
#include "gui/trsgui_ctarnisgui.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1 || size > (1u << 20)) return 0;
    static CTarnis* engine = fuzz::setUp([] {
        CTarnis* t = fuzz::graphicsEngine();
        t->SCR_Init();
        return t;
    });
    CTarnisGUI* gui = fuzz::setUp([] { return new CTarnisGUI; });
    const int kind = data[0] % 3;
    fuzz::refusedOrDone([&] {
        CXMLParser parser;
        parser.LoadFromBuffer(data + 1, int32_t(size - 1), false);
        parser.Parse();
        if (kind == 0) gui->ReadGUIData(parser.GetRoot());
        else if (kind == 1) gui->ReadGUIEnumData(parser.GetRoot(), "E");
        else gui->ReadGUIStyleData(parser.GetRoot(), "S");
    });
    engine->m_fFrameDeltaSec = 0.1f;
    fuzz::refusedOrDone([&] { gui->Update(); });
    delete gui;
    return 0;
}
