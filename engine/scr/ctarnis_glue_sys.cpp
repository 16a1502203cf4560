// Script adapters for timing, the XML encrypt mode, the engine update and the quit request.
#include "engine/scr/ctarnis_glue_api.h"

namespace {

constexpr int32_t kFileID = EHS_FILE_GLUE_SYS;

int glue_TRS_SYS_TimerGetDelta(lua_State* L)
{
    EHS_CHECKPOINT(kFileID);
    lua_pushnumber(L, CTarnis::Instance()->SYS_TimerGetDelta());
    return 1;
}

int glue_TRS_SYS_TimerGetFPS(lua_State* L)
{
    EHS_CHECKPOINT(kFileID);
    lua_pushnumber(L, CTarnis::Instance()->SYS_TimerGetFPS());
    return 1;
}

int glue_TRS_SYS_SetXMLEncryptMode(lua_State* L)
{
    GLUE_CHECK(L, kFileID, "TRS_SYS_SetXMLEncryptMode", {GlueArg::Boolean});
    CTarnis::Instance()->m_bXMLEncryptMode = lua_toboolean(L, 1) != 0;
    return 0;
}

int glue_TRS_SYS_UpdateAllSystems(lua_State* L)
{
    EHS_CHECKPOINT(kFileID);
    lua_pushnumber(L, CTarnis::Instance()->SYS_UpdateAllSystems());
    return 1;
}

// Ends the main loop in order after the current frame, as the window's close button does.
int glue_TRS_SYS_RequestQuit(lua_State*)
{
    EHS_CHECKPOINT(kFileID);
    RequestQuit();
    return 0;
}

} // namespace

const GlueEntry g_glueSys[] = {
    {"TRS_SYS_TimerGetDelta", glue_TRS_SYS_TimerGetDelta},
    {"TRS_SYS_TimerGetFPS", glue_TRS_SYS_TimerGetFPS},
    {"TRS_SYS_SetXMLEncryptMode", glue_TRS_SYS_SetXMLEncryptMode},
    {"TRS_SYS_UpdateAllSystems", glue_TRS_SYS_UpdateAllSystems},
    {nullptr, nullptr},
};

// Registered after the other tables, so that the first 62 functions keep their order.
const GlueEntry g_glueSysExtra[] = {
    {"TRS_SYS_RequestQuit", glue_TRS_SYS_RequestQuit},
    {nullptr, nullptr},
};
