// Calling Lua functions by name with typed parameters and collecting typed
// results (the last result first).
#include <lua.hpp>

#include "engine/core/ctarnis.h"
#include "engine/scr/ctarnis_scr_guard.h"

namespace {
constexpr int32_t kFileID = EHS_FILE_SCR_FUNC;
}

void CTarnis::SCR_AddParameter(const CLuaValue& value)
{
    m_vecLuaParams.push_back(value);
}

void CTarnis::SCR_CallFunction(const char* name, int32_t resultCount)
{
    EHS_CHECKPOINT(kFileID);
    lua_State* L = m_pLuaState;
    if (!L) {
        m_vecLuaParams.clear();
        EHS_THROW(EHS_TYPE_GENERAL, 0, "Internal error - scripts subsystem was not initialized!");
    }
    const std::string fn = name ? name : "";
    lua_settop(L, 0);
    m_strLastLuaFunction = fn;
    m_vecLuaResults.clear();

    // The parameters are used up by this call whatever happens.
    std::vector<CLuaValue> params;
    params.swap(m_vecLuaParams);

    lua_getglobal(L, fn.c_str());
    if (lua_type(L, -1) != LUA_TFUNCTION) {
        lua_settop(L, 0);
        return;
    }
    for (const CLuaValue& p : params) {
        switch (p.GetType()) {
        case LUAVAL_NUMBER: lua_pushnumber(L, p.GetNumber()); break;
        case LUAVAL_BOOLEAN: lua_pushboolean(L, p.GetBoolean()); break;
        case LUAVAL_STRING: lua_pushstring(L, p.GetString().c_str()); break;
        case LUAVAL_FUNCTION: lua_pushstring(L, p.GetFunction().c_str()); break;
        default:
            lua_settop(L, 0);
            EHS_THROW(EHS_TYPE_GAME, 0,
                      "Function: " + fn + " Wrong parameter type. Type id = " + std::to_string(p.GetType()));
        }
    }
    int result = lua_pcall(L, int(params.size()), resultCount, 0);
    if (result != 0) {
        std::string message = lua_isstring(L, -1) ? lua_tostring(L, -1) : "";
        lua_settop(L, 0);
        SCR_RethrowParkedError();
        EHS_THROW(EHS_TYPE_LUA, result, message);
    }
    while (lua_gettop(L) > 0) {
        switch (int type = lua_type(L, -1)) {
        case LUA_TBOOLEAN: m_vecLuaResults.emplace_back(bool(lua_toboolean(L, -1))); break;
        case LUA_TNUMBER: m_vecLuaResults.emplace_back(double(lua_tonumber(L, -1))); break;
        case LUA_TSTRING: m_vecLuaResults.emplace_back(std::string(lua_tostring(L, -1)), false); break;
        // A function has no string form: its text stays empty.
        case LUA_TFUNCTION: m_vecLuaResults.emplace_back(std::string(), true); break;
        default:
            lua_settop(L, 0);
            EHS_THROW(EHS_TYPE_GAME, 0,
                      "Function: " + fn + " returned result of invalid type. Type id = " + std::to_string(type));
        }
        lua_pop(L, 1);
    }
}
