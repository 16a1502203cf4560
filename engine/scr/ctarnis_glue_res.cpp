// Script adapters for resource loading.
#include "engine/scr/ctarnis_glue_api.h"

namespace {

constexpr int32_t kFileID = EHS_FILE_GLUE_RES;
using A = GlueArg;

int glue_TRS_RES_LoadResource(lua_State* L)
{
    GLUE_CHECK(L, kFileID, "TRS_RES_LoadResource", {A::String});
    CTarnis::Instance()->RES_LoadResource(lua_tostring(L, 1));
    return 0;
}

int glue_TRS_RES_LoadResources(lua_State* L)
{
    GLUE_CHECK(L, kFileID, "TRS_RES_LoadResources", {A::Integer});
    CTarnis::Instance()->RES_LoadResources(GlueInteger(L, 1));
    return 0;
}

} // namespace

const GlueEntry g_glueRes[] = {
    {"TRS_RES_LoadResource", glue_TRS_RES_LoadResource},
    {"TRS_RES_LoadResources", glue_TRS_RES_LoadResources},
    {nullptr, nullptr},
};
