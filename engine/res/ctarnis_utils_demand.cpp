// The demand utilities: look up, load the resource when missing, look up again.
#include "engine/res/ctarnis_utils_demand.h"

#include <string>

#include "engine/core/ctarnis.h"

namespace {

constexpr int32_t kFileID = EHS_FILE_UTILS_DEMAND;

CTarnis* engine()
{
    CTarnis* t = CTarnis::Instance();
    EHS_Assert(t != nullptr);
    return t;
}

// One demand: lookup(id) answers -1 for a missing item.
template <class Lookup>
int32_t demand(const char* id, const char* resourceID, Lookup lookup, const std::string& missing)
{
    EHS_CHECKPOINT(kFileID);
    CTarnis* t = engine();
    int32_t found = lookup(t, id);
    if (found != -1) return found;
    t->RES_LoadResource(resourceID);
    found = lookup(t, id);
    if (found != -1) return found;
    EHS_THROW(EHS_TYPE_GAME, 0, missing);
}

std::string text(const char* s)
{
    return s ? s : "";
}

} // namespace

int32_t DemandTexture(const char* id)
{
    return demand(id, id, [](CTarnis* t, const char* s) { return t->GFX_TexGetID(s); },
                  "Invalid texture demand. ID = " + text(id));
}

int32_t DemandTechnique(const char* techniqueID, const char* packID)
{
    return demand(techniqueID, packID, [](CTarnis* t, const char* s) { return t->GFX_TechGetID(s); },
                  "Invalid technique demand. ID = " + text(techniqueID) + "  TechPackID = " + text(packID));
}

int32_t DemandFont(const char* id)
{
    return demand(id, id, [](CTarnis* t, const char* s) { return t->GFX_FontGetID(s); },
                  "Invalid font demand. ID = " + text(id));
}

int32_t DemandSound(const char* id)
{
    return demand(id, id, [](CTarnis* t, const char* s) { return t->SFX_GetSoundID(s); },
                  "Invalid sound demand. ID = " + text(id));
}

int32_t DemandMusic(const char* id)
{
    return demand(id, id, [](CTarnis* t, const char* s) { return t->SFX_GetMusicID(s); },
                  "Invalid music demand. ID = " + text(id));
}

int32_t DemandPlaylist(const char* id)
{
    return demand(id, id, [](CTarnis* t, const char* s) { return t->SFX_GetPlaylistID(s); },
                  "Invalid playlist demand. ID = " + text(id));
}
