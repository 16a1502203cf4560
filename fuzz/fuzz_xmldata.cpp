// XML data files: any text sets declared variables or is refused.
#include "engine/res/ctarnis_utils_cxmlvar.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::enterScratchDir();
    if (size > (1u << 20)) return 0;
    static CXMLVarInt* number = [] {
        CXMLVar::CreateXMLVarsMap();
        new CXMLVarFloat("SPEED");
        return new CXMLVarInt("COUNT");
    }();
    (void)number;
    fuzz::refusedOrDone([&] { RESLOAD_XMLData(data, int32_t(size), "XD", 0, 0, 0, 0); });
    return 0;
}
