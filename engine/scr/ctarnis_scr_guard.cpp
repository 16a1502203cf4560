// Engine errors through the interpreter; see ctarnis_scr_guard.h.
#include "engine/scr/ctarnis_scr_guard.h"

#include <exception>

#include <lua.hpp>

namespace {

std::exception_ptr g_parked;
constexpr const char* kParkedMessage = "engine error raised in a native function";

int guardedCall(lua_State* L)
{
    auto fn = reinterpret_cast<lua_CFunction>(lua_touserdata(L, lua_upvalueindex(1)));
    int results = 0;
    bool failed = false;
    // Nothing with a destructor may be alive in this frame when lua_error
    // jumps out of it: the try block and its handler end first.
    try {
        results = fn(L);
    } catch (...) {
        if (!g_parked) g_parked = std::current_exception();
        failed = true;
    }
    if (failed) {
        lua_pushstring(L, kParkedMessage);
        return lua_error(L);
    }
    return results;
}

// Calls the wrapped original (upvalue 1) with all arguments, unprotected, and
// raises again if an engine error was parked while it ran.
int passThrough(lua_State* L)
{
    int n = lua_gettop(L);
    lua_pushvalue(L, lua_upvalueindex(1));
    lua_insert(L, 1);
    lua_call(L, n, LUA_MULTRET);
    if (g_parked) {
        lua_settop(L, 0);
        lua_pushstring(L, kParkedMessage);
        return lua_error(L);
    }
    return lua_gettop(L);
}

void wrapField(lua_State* L, int tableIndex, const char* name)
{
    lua_getfield(L, tableIndex, name);
    if (!lua_isfunction(L, -1)) {
        lua_pop(L, 1);
        return;
    }
    lua_pushcclosure(L, passThrough, 1);
    lua_setfield(L, tableIndex, name);
}

} // namespace

void SCR_PushGuardedFunction(lua_State* L, int (*f)(lua_State*))
{
    lua_pushlightuserdata(L, reinterpret_cast<void*>(f));
    lua_pushcclosure(L, guardedCall, 1);
}

void SCR_InstallErrorPassThrough(lua_State* L)
{
    wrapField(L, LUA_GLOBALSINDEX, "pcall");
    wrapField(L, LUA_GLOBALSINDEX, "xpcall");
    lua_getglobal(L, "coroutine");
    if (lua_istable(L, -1)) wrapField(L, lua_gettop(L), "resume");
    lua_pop(L, 1);
}

void SCR_RethrowParkedError()
{
    if (!g_parked) return;
    std::exception_ptr e = g_parked;
    g_parked = nullptr;
    std::rethrow_exception(e);
}

void SCR_DiscardParkedError()
{
    g_parked = nullptr;
}
