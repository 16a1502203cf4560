// Techniques packs: any text loads techniques or is refused, and every loaded
// technique can be applied to the device.
#include "engine/gfx/ctarnis_gfx_items.h"
#include "fuzz/fuzz_engine.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > (1u << 20)) return 0;
    CTarnis* t = fuzz::graphicsEngine();
    fuzz::refusedOrDone([&] { t->GFX_TechLoadPack(data, int32_t(size)); });
    for (int32_t id = 0; id < t->m_pTechniquesManager->GetSlotCount(); ++id)
        if (t->m_pTechniquesManager->IsValidID(id)) fuzz::refusedOrDone([&] { t->GFX_TechApply(id); });
    t->m_iCurrentTechnique = -1;
    t->m_pTechniquesManager->FreeAll();
    return 0;
}
