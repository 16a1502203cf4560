// Scripting subsystem: the interpreter's life, script loading, registration of
// native functions and the panic handler.
#include <lua.hpp>

#include "engine/core/ctarnis.h"
#include "engine/scr/ctarnis_scr_guard.h"
#include "engine/scr/ctarnis_scr_textonly.h"

namespace {

constexpr int32_t kFileID = EHS_FILE_SCR_MAIN;

int onPanic(lua_State*)
{
    EHS_CHECKPOINT(kFileID);
    EHS_THROW(EHS_TYPE_GAME, 0, "Lua is on panic! Error source is unknown.");
}

void openLibrary(lua_State* L, lua_CFunction opener, const char* name)
{
    // Library openers expect to be called from Lua (they set their environment).
    lua_pushcfunction(L, opener);
    lua_pushstring(L, name);
    lua_call(L, 1, 0);
}

} // namespace

const char* SCR_GetLastCalledFunctionName()
{
    CTarnis* t = CTarnis::Instance();
    return t ? t->m_strLastLuaFunction.c_str() : "";
}

void CTarnis::SCR_Init()
{
    EHS_CHECKPOINT(kFileID);
    if (m_bScriptsReady) EHS_THROW(EHS_TYPE_GENERAL, 0, "Script subsystem reinitialization!");
    m_bScriptsReady = true;
    LOG_AddSeparator(1);
    LOG_AddLevelEntry("Initializing Scripts Subsystem...", 3);
    LOG_AddEmptyLines(1);
    LOG_AddLevelEntry("   Creating Lua state...", 1);
    m_pLuaState = luaL_newstate();
    if (!m_pLuaState) EHS_THROW(EHS_TYPE_GENERAL, 0, "Cannot create lua state!");
    LOG_AddLevelEntry("   Done.", 4);
    LOG_AddEmptyLines(1);
    LOG_AddEmptyLines(1);
    LOG_AddLevelEntry("   Initializing standart Lua libraries...", 1);
    // Base (with coroutines), math and io only: no string, table, debug, os or package.
    openLibrary(m_pLuaState, luaopen_base, "");
    openLibrary(m_pLuaState, luaopen_math, LUA_MATHLIBNAME);
    openLibrary(m_pLuaState, luaopen_io, LUA_IOLIBNAME);
    SCR_RestrictLoaders(m_pLuaState);
    SCR_InstallErrorPassThrough(m_pLuaState);
    lua_settop(m_pLuaState, 0);
    LOG_AddLevelEntry("   Done.", 4);
    LOG_AddEmptyLines(1);
    lua_atpanic(m_pLuaState, onPanic);
    SCR_RegisterScriptAPI();
    LOG_AddLevelEntry("Done.", 4);
    LOG_AddSeparator(1);
    LOG_AddEmptyLines(1);
}

void CTarnis::SCR_Deinit()
{
    EHS_CHECKPOINT(kFileID);
    if (!m_bScriptsReady) EHS_THROW(EHS_TYPE_GENERAL, 0, "Internal error - scripts subsystem was not initialized!");
    LOG_AddSeparator(1);
    LOG_AddLevelEntry("Deinitializing Scripts Subsystem...", 3);
    if (m_pLuaState) {
        lua_close(m_pLuaState);
        m_pLuaState = nullptr;
    }
    SCR_DiscardParkedError();
    LOG_AddLevelEntry("Done.", 4);
    LOG_AddSeparator(1);
    LOG_AddEmptyLines(1);
}

void CTarnis::SCR_RegisterFunction(const char* name, TRSLuaFunction fn)
{
    lua_State* L = m_pLuaState;
    lua_pushstring(L, name);
    SCR_PushGuardedFunction(L, fn);
    lua_settable(L, LUA_GLOBALSINDEX);
    lua_settop(L, 0);
}

void CTarnis::SCR_LoadScriptFromBuffer(const char* data, size_t size, const char* name)
{
    EHS_CHECKPOINT(kFileID);
    lua_State* L = m_pLuaState;
    if (!L) EHS_THROW(EHS_TYPE_GENERAL, 0, "Internal error - scripts subsystem was not initialized!");
    LOG_AddEmptyLines(1);
    LOG_AddLevelEntry(std::string("Loading script from buffer: ") + (name ? name : ""), 1);
    int result = SCR_LoadTextBuffer(L, data, size, name);
    if (result != 0) {
        std::string message = lua_isstring(L, -1) ? lua_tostring(L, -1) : "";
        lua_settop(L, 0);
        EHS_THROW(EHS_TYPE_LUA, result, message);
    }
    result = lua_pcall(L, 0, 0, 0);
    if (result != 0) {
        std::string message = lua_isstring(L, -1) ? lua_tostring(L, -1) : "";
        lua_settop(L, 0);
        SCR_RethrowParkedError();
        EHS_THROW(EHS_TYPE_LUA, result, message);
    }
    lua_settop(L, 0);
    LOG_AddLevelEntry("Done.", 4);
    LOG_AddEmptyLines(1);
}
