// What every script adapter shares: the argument check with its exact message,
// and the conversions of arguments and results.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

#include <lua.hpp>

#include "engine/core/ctarnis.h"

enum class GlueArg {
    Number,  // a Lua number, passed on as float
    Integer, // a Lua number, truncated toward zero
    Boolean,
    String,
    ResID, // a number (integer ID) or a string (string ID)
};

// Index (1-based) of the first required argument of the wrong Lua type (a
// missing one counts as wrong), else 0. An optional argument at optIndex is
// tested only when exactly optIndex arguments are passed.
int GlueFirstBadArgument(lua_State* L, std::initializer_list<GlueArg> required, int optIndex = 0,
                         GlueArg optKind = GlueArg::Number);

std::string GlueArgumentError(const char* scriptName, int index);

// True when exactly `index` arguments were passed, so the optional one counts.
inline bool GlueHasOptional(lua_State* L, int index)
{
    return lua_gettop(L) == index;
}

inline float GlueNumber(lua_State* L, int index)
{
    return float(lua_tonumber(L, index));
}

inline int32_t GlueInteger(lua_State* L, int index)
{
    // Truncation toward zero; out-of-range values saturate instead of being undefined.
    double v = lua_tonumber(L, index);
    if (!(v > -2147483649.0)) return INT32_MIN;
    if (!(v < 2147483648.0)) return INT32_MAX;
    return int32_t(v);
}

inline bool GlueIsStringID(lua_State* L, int index)
{
    return lua_type(L, index) == LUA_TSTRING;
}

// Records the checkpoint and raises the argument error when an argument is wrong.
#define GLUE_CHECK(L, fileID, scriptName, ...)                                            \
    do {                                                                                  \
        EHS_CHECKPOINT(fileID);                                                           \
        int badIndex_ = GlueFirstBadArgument((L), __VA_ARGS__);                           \
        if (badIndex_ != 0) EHS_THROW(EHS_TYPE_GAME, 0, GlueArgumentError((scriptName), badIndex_)); \
    } while (0)

// Registration tables of the adapter files, in registration order.
struct GlueEntry {
    const char* name;
    TRSLuaFunction fn;
};
