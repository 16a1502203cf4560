// Scripts are text: the loaders a script can reach refuse precompiled chunks
// (whose loader trusts its input) and io cannot start processes.
#pragma once

#include <cstddef>

struct lua_State;

// The message every loader gives for a precompiled chunk.
inline constexpr const char* kBinaryChunkMessage = "binary chunks are not accepted";

// luaL_loadbuffer for text only: a precompiled chunk leaves the message above
// on the stack and returns LUA_ERRSYNTAX.
int SCR_LoadTextBuffer(lua_State* L, const char* data, size_t size, const char* name);

// Replaces load, loadstring, loadfile and dofile with text-only versions and
// removes io.popen; everything else of the libraries stays as it is.
void SCR_RestrictLoaders(lua_State* L);
