// Script adapters for the demand utilities.
#include "engine/res/ctarnis_utils_demand.h"
#include "engine/scr/ctarnis_glue_api.h"

namespace {

constexpr int32_t kFileID = EHS_FILE_GLUE_UTIL;
using A = GlueArg;

template <int32_t (*Demand)(const char*)>
int demandOne(lua_State* L, const char* scriptName)
{
    GLUE_CHECK(L, kFileID, scriptName, {A::String});
    lua_pushnumber(L, Demand(lua_tostring(L, 1)));
    return 1;
}

int glue_TRSUTIL_DemandTexture(lua_State* L)
{
    return demandOne<DemandTexture>(L, "TRSUTIL_DemandTexture");
}

int glue_TRSUTIL_DemandTechnique(lua_State* L)
{
    GLUE_CHECK(L, kFileID, "TRSUTIL_DemandTechnique", {A::String, A::String});
    lua_pushnumber(L, DemandTechnique(lua_tostring(L, 1), lua_tostring(L, 2)));
    return 1;
}

int glue_TRSUTIL_DemandFont(lua_State* L)
{
    return demandOne<DemandFont>(L, "TRSUTIL_DemandFont");
}

int glue_TRSUTIL_DemandSound(lua_State* L)
{
    return demandOne<DemandSound>(L, "TRSUTIL_DemandSound");
}

int glue_TRSUTIL_DemandMusic(lua_State* L)
{
    return demandOne<DemandMusic>(L, "TRSUTIL_DemandMusic");
}

int glue_TRSUTIL_DemandPlaylist(lua_State* L)
{
    return demandOne<DemandPlaylist>(L, "TRSUTIL_DemandPlaylist");
}

} // namespace

const GlueEntry g_glueUtil[] = {
    {"TRSUTIL_DemandTexture", glue_TRSUTIL_DemandTexture},
    {"TRSUTIL_DemandTechnique", glue_TRSUTIL_DemandTechnique},
    {"TRSUTIL_DemandFont", glue_TRSUTIL_DemandFont},
    {"TRSUTIL_DemandSound", glue_TRSUTIL_DemandSound},
    {"TRSUTIL_DemandMusic", glue_TRSUTIL_DemandMusic},
    {"TRSUTIL_DemandPlaylist", glue_TRSUTIL_DemandPlaylist},
    {nullptr, nullptr},
};
