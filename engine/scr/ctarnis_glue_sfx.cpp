// Script adapters for sounds, music and playlists.
#include "engine/scr/ctarnis_glue_api.h"

namespace {

constexpr int32_t kFileID = EHS_FILE_GLUE_SFX;
using A = GlueArg;

CTarnis* trs()
{
    return CTarnis::Instance();
}

int glue_TRS_SFX_SetGlobalVolumes(lua_State* L)
{
    GLUE_CHECK(L, kFileID, "TRS_SFX_SetGlobalVolumes", {A::Integer, A::Integer});
    trs()->SFX_SetGlobalVolumes(GlueInteger(L, 1), GlueInteger(L, 2));
    return 0;
}

// The four single-argument sound operations share their shape.
template <void (CTarnis::*ByInt)(int32_t), void (CTarnis::*ByStr)(const char*)>
int soundCall(lua_State* L, const char* scriptName)
{
    GLUE_CHECK(L, kFileID, scriptName, {A::ResID});
    if (GlueIsStringID(L, 1))
        (trs()->*ByStr)(lua_tostring(L, 1));
    else
        (trs()->*ByInt)(GlueInteger(L, 1));
    return 0;
}

int glue_TRS_SFX_SoundUnload(lua_State* L)
{
    return soundCall<&CTarnis::SFX_UnloadSound, &CTarnis::SFX_UnloadSound>(L, "TRS_SFX_SoundUnload");
}

int glue_TRS_SFX_SoundPlay(lua_State* L)
{
    GLUE_CHECK(L, kFileID, "TRS_SFX_SoundPlay", {A::ResID, A::Boolean, A::Integer, A::Integer, A::Integer});
    bool loop = lua_toboolean(L, 2) != 0;
    if (GlueIsStringID(L, 1))
        trs()->SFX_SoundPlay(lua_tostring(L, 1), loop, GlueInteger(L, 3), GlueInteger(L, 4), GlueInteger(L, 5));
    else
        trs()->SFX_SoundPlay(GlueInteger(L, 1), loop, GlueInteger(L, 3), GlueInteger(L, 4), GlueInteger(L, 5));
    return 0;
}

int glue_TRS_SFX_SoundStop(lua_State* L)
{
    return soundCall<&CTarnis::SFX_SoundStop, &CTarnis::SFX_SoundStop>(L, "TRS_SFX_SoundStop");
}

int glue_TRS_SFX_SoundPause(lua_State* L)
{
    return soundCall<&CTarnis::SFX_SoundPause, &CTarnis::SFX_SoundPause>(L, "TRS_SFX_SoundPause");
}

int glue_TRS_SFX_SoundResume(lua_State* L)
{
    return soundCall<&CTarnis::SFX_SoundResume, &CTarnis::SFX_SoundResume>(L, "TRS_SFX_SoundResume");
}

int glue_TRS_SFX_SoundSetAttributes(lua_State* L)
{
    GLUE_CHECK(L, kFileID, "TRS_SFX_SoundSetAttributes", {A::ResID, A::Integer, A::Integer, A::Integer});
    if (GlueIsStringID(L, 1))
        trs()->SFX_SoundSetAttributes(lua_tostring(L, 1), GlueInteger(L, 2), GlueInteger(L, 3), GlueInteger(L, 4));
    else
        trs()->SFX_SoundSetAttributes(GlueInteger(L, 1), GlueInteger(L, 2), GlueInteger(L, 3), GlueInteger(L, 4));
    return 0;
}

int glue_TRS_SFX_SoundSlideAttributes(lua_State* L)
{
    GLUE_CHECK(L, kFileID, "TRS_SFX_SoundSlideAttributes",
               {A::ResID, A::Integer, A::Integer, A::Integer, A::Integer});
    if (GlueIsStringID(L, 1))
        trs()->SFX_SoundSlideAttributes(lua_tostring(L, 1), GlueInteger(L, 2), GlueInteger(L, 3), GlueInteger(L, 4),
                                        GlueInteger(L, 5));
    else
        trs()->SFX_SoundSlideAttributes(GlueInteger(L, 1), GlueInteger(L, 2), GlueInteger(L, 3), GlueInteger(L, 4),
                                        GlueInteger(L, 5));
    return 0;
}

int glue_TRS_SFX_SoundGetStatus(lua_State* L)
{
    GLUE_CHECK(L, kFileID, "TRS_SFX_SoundGetStatus", {A::ResID});
    int32_t status = GlueIsStringID(L, 1) ? trs()->SFX_SoundGetStatus(lua_tostring(L, 1))
                                          : trs()->SFX_SoundGetStatus(GlueInteger(L, 1));
    lua_pushnumber(L, status);
    return 1;
}

int glue_TRS_SFX_MusicSetVolume(lua_State* L)
{
    GLUE_CHECK(L, kFileID, "TRS_SFX_MusicSetVolume", {A::Integer, A::Integer});
    trs()->SFX_MusicSetVolume(GlueInteger(L, 1), GlueInteger(L, 2));
    return 0;
}

int glue_TRS_SFX_PlaylistSet(lua_State* L)
{
    GLUE_CHECK(L, kFileID, "TRS_SFX_PlaylistSet", {A::ResID});
    if (GlueIsStringID(L, 1))
        trs()->SFX_PlaylistSet(lua_tostring(L, 1));
    else
        trs()->SFX_PlaylistSet(GlueInteger(L, 1));
    return 0;
}

int glue_TRS_SFX_PlaylistStop(lua_State*)
{
    EHS_CHECKPOINT(kFileID);
    trs()->SFX_PlaylistStop();
    return 0;
}

} // namespace

const GlueEntry g_glueSfx[] = {
    {"TRS_SFX_SetGlobalVolumes", glue_TRS_SFX_SetGlobalVolumes},
    {"TRS_SFX_SoundUnload", glue_TRS_SFX_SoundUnload},
    {"TRS_SFX_SoundPlay", glue_TRS_SFX_SoundPlay},
    {"TRS_SFX_SoundStop", glue_TRS_SFX_SoundStop},
    {"TRS_SFX_SoundPause", glue_TRS_SFX_SoundPause},
    {"TRS_SFX_SoundResume", glue_TRS_SFX_SoundResume},
    {"TRS_SFX_SoundSetAttributes", glue_TRS_SFX_SoundSetAttributes},
    {"TRS_SFX_SoundSlideAttributes", glue_TRS_SFX_SoundSlideAttributes},
    {"TRS_SFX_SoundGetStatus", glue_TRS_SFX_SoundGetStatus},
    {"TRS_SFX_MusicSetVolume", glue_TRS_SFX_MusicSetVolume},
    {"TRS_SFX_PlaylistSet", glue_TRS_SFX_PlaylistSet},
    {"TRS_SFX_PlaylistStop", glue_TRS_SFX_PlaylistStop},
    {nullptr, nullptr},
};
