// Script loading, text and precompiled: a chunk whose first byte marks it as
// precompiled is always refused with the same message, through the SCRIPT
// loader's path and through loadstring; text chunks compile or fail cleanly.
// Chunks are compiled, not run: a fuzzed loop would never end.
#include <lua.hpp>

#include <cstring>

#include "engine/scr/ctarnis_scr_textonly.h"
#include "fuzz/fuzz_engine.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > (1u << 20)) return 0;
    static CTarnis* engine = [] {
        fuzz::enterScratchDir();
        auto* t = new CTarnis;
        t->SCR_Init();
        return t;
    }();
    lua_State* L = engine->SCR_GetLuaState();
    const char* chunk = reinterpret_cast<const char*>(data);
    const bool binary = size > 0 && data[0] == LUA_SIGNATURE[0];
    const int status = SCR_LoadTextBuffer(L, chunk, size, "fuzz");
    if (binary) {
        FUZZ_CHECK(status == LUA_ERRSYNTAX && std::strcmp(lua_tostring(L, -1), kBinaryChunkMessage) == 0);
    }
    lua_settop(L, 0);
    // The same bytes through the script-visible loader.
    lua_getglobal(L, "loadstring");
    lua_pushlstring(L, chunk, size);
    FUZZ_CHECK(lua_pcall(L, 1, 2, 0) == 0);
    if (binary) FUZZ_CHECK(lua_isnil(L, -2) && std::strcmp(lua_tostring(L, -1), kBinaryChunkMessage) == 0);
    lua_settop(L, 0);
    lua_gc(L, LUA_GCSTEP, 0);
    return 0;
}
