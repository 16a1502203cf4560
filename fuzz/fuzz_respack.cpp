// Respack descriptors: whatever a descriptor declares, every catalogued record
// names a file inside the data folder.
#include <filesystem>

#include "engine/res/ctarnis_res_main.h"
#include "fuzz/fuzz_support.h"

namespace fs = std::filesystem;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::enterScratchDir();
    if (size > (1u << 20)) return 0;
    static const fs::path dataDir = [] {
        fuzz::writeBytes("DATA/tex.png", "png", 3);
        fuzz::writeBytes("DATA/Sub/a.bin", "a", 1);
        fuzz::writeBytes("outside.txt", "secret", 6);
        return fs::canonical("DATA");
    }();
    fuzz::writeBytes("DATA/pack.xml", data, size);
    TRSResourcesManager catalogue;
    fuzz::refusedOrDone([&] { res::catalogueXMLResPack("DATA/pack.xml", "DATA/", catalogue); });
    for (int32_t slot = 0; slot < catalogue.GetSlotCount(); ++slot) {
        const CTRSResource* r = catalogue.GetItem(slot);
        if (!r) continue;
        const fs::path file = fs::weakly_canonical(r->GetFileName());
        const auto [end, unused] = std::mismatch(dataDir.begin(), dataDir.end(), file.begin(), file.end());
        FUZZ_CHECK(end == dataDir.end());
        FUZZ_CHECK(r->GetSize() > 0);
    }
    catalogue.FreeAll();
    return 0;
}
