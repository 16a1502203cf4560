// Font descriptions: any text loads a font (whose texture and technique come
// through the resource manager) or is refused; a loaded font draws text.
#include "engine/gfx/ctarnis_gfx_items.h"
#include "fuzz/fuzz_engine.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > (1u << 20)) return 0;
    CTarnis* t = fuzz::graphicsEngine();
    int32_t id = -1;
    fuzz::refusedOrDone([&] { id = t->GFX_FontLoadFromMemory(data, int32_t(size)); });
    if (id >= 0) {
        FUZZ_CHECK(t->m_pFontsManager->IsValidID(id));
        fuzz::refusedOrDone([&] {
            t->GFX_FontSet(id);
            t->GFX_FontDrawText("Score: 42", 1.0f, 1.0f, 9, 0, 1.0f);
        });
    }
    t->m_pFontsManager->FreeAll();
    return 0;
}
