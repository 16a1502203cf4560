// Playlists: any text loads a playlist or is refused.
#include "engine/sfx/ctarnis_sfx_classes.h"
#include "fuzz/fuzz_engine.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > (1u << 20)) return 0;
    CTarnis* t = fuzz::soundEngine();
    int32_t id = -1;
    fuzz::refusedOrDone([&] { id = t->SFX_PlaylistLoad(data, int32_t(size)); });
    if (id >= 0) FUZZ_CHECK(t->m_pPlaylistsManager->IsValidID(id));
    t->m_pPlaylistsManager->FreeAll();
    return 0;
}
