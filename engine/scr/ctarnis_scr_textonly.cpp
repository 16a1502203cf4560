// Text-only versions of the base library's loaders and the removal of
// io.popen; see ctarnis_scr_textonly.h.
#include "engine/scr/ctarnis_scr_textonly.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include <lua.hpp>

namespace {

bool isBinary(const char* data, size_t size)
{
    return size > 0 && data[0] == LUA_SIGNATURE[0];
}

// load(reader [, chunkname]): the first piece the reader gives decides.
struct ReaderState {
    bool first = true;
    bool binary = false;
};

const char* pieceReader(lua_State* L, void* ud, size_t* size)
{
    auto* state = static_cast<ReaderState*>(ud);
    *size = 0;
    if (state->binary) return nullptr;
    luaL_checkstack(L, 2, "too many nested functions");
    lua_pushvalue(L, 1);
    lua_call(L, 0, 1);
    if (lua_isnil(L, -1)) return nullptr;
    if (!lua_isstring(L, -1)) luaL_error(L, "reader function must return a string");
    // The piece stays in slot 3 (below any later one) so its bytes stay alive.
    lua_replace(L, 3);
    const char* piece = lua_tolstring(L, 3, size);
    if (state->first && *size > 0) {
        state->first = false;
        if (isBinary(piece, *size)) {
            state->binary = true;
            *size = 0;
            return nullptr;
        }
    }
    return piece;
}

int loadResult(lua_State* L, int status)
{
    if (status == 0) return 1;
    lua_pushnil(L);
    lua_insert(L, -2);
    return 2;
}

int textLoad(lua_State* L)
{
    const char* name = luaL_optstring(L, 2, "=(load)");
    luaL_checktype(L, 1, LUA_TFUNCTION);
    lua_settop(L, 3);
    ReaderState state;
    int status = lua_load(L, pieceReader, &state, name);
    if (state.binary) {
        lua_pop(L, 1);
        lua_pushstring(L, kBinaryChunkMessage);
        status = LUA_ERRSYNTAX;
    }
    return loadResult(L, status);
}

int textLoadString(lua_State* L)
{
    size_t size;
    const char* s = luaL_checklstring(L, 1, &size);
    const char* name = luaL_optstring(L, 2, s);
    return loadResult(L, SCR_LoadTextBuffer(L, s, size, name));
}

// The whole file (or standard input) is read first; a first line starting with
// '#' is blanked as luaL_loadfile does, keeping its line break for line numbers.
int loadFileText(lua_State* L, const char* filename)
{
    FILE* f = filename ? std::fopen(filename, "rb") : stdin;
    const std::string chunk = filename ? std::string("@") + filename : std::string("=stdin");
    if (!f) {
        lua_pushfstring(L, "cannot open %s: %s", filename, std::strerror(errno));
        return LUA_ERRFILE;
    }
    std::string text;
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) text.append(buf, n);
    const bool failed = std::ferror(f) != 0;
    if (filename) std::fclose(f);
    if (failed) {
        lua_pushfstring(L, "cannot read %s", chunk.c_str() + 1);
        return LUA_ERRFILE;
    }
    size_t start = 0;
    if (!text.empty() && text[0] == '#') start = std::min(text.find('\n'), text.size());
    return SCR_LoadTextBuffer(L, text.data() + start, text.size() - start, chunk.c_str());
}

int textLoadFile(lua_State* L)
{
    return loadResult(L, loadFileText(L, luaL_optstring(L, 1, nullptr)));
}

int textDoFile(lua_State* L)
{
    const char* filename = luaL_optstring(L, 1, nullptr);
    const int n = lua_gettop(L);
    if (loadFileText(L, filename) != 0) return lua_error(L);
    lua_call(L, 0, LUA_MULTRET);
    return lua_gettop(L) - n;
}

} // namespace

int SCR_LoadTextBuffer(lua_State* L, const char* data, size_t size, const char* name)
{
    if (isBinary(data, size)) {
        lua_pushstring(L, kBinaryChunkMessage);
        return LUA_ERRSYNTAX;
    }
    return luaL_loadbuffer(L, data, size, name);
}

void SCR_RestrictLoaders(lua_State* L)
{
    lua_register(L, "load", textLoad);
    lua_register(L, "loadstring", textLoadString);
    lua_register(L, "loadfile", textLoadFile);
    lua_register(L, "dofile", textDoFile);
    lua_getglobal(L, LUA_IOLIBNAME);
    if (lua_istable(L, -1)) {
        lua_pushnil(L);
        lua_setfield(L, -2, "popen");
    }
    lua_pop(L, 1);
}
