// Argument checking shared by the script adapters.
#include "engine/scr/ctarnis_glue_common.h"

namespace {

bool matches(lua_State* L, int index, GlueArg kind)
{
    int type = lua_type(L, index);
    switch (kind) {
    case GlueArg::Number:
    case GlueArg::Integer: return type == LUA_TNUMBER;
    case GlueArg::Boolean: return type == LUA_TBOOLEAN;
    case GlueArg::String: return type == LUA_TSTRING;
    case GlueArg::ResID: return type == LUA_TNUMBER || type == LUA_TSTRING;
    }
    return false;
}

} // namespace

int GlueFirstBadArgument(lua_State* L, std::initializer_list<GlueArg> required, int optIndex, GlueArg optKind)
{
    int index = 1;
    for (GlueArg kind : required) {
        if (!matches(L, index, kind)) return index;
        ++index;
    }
    if (optIndex > 0 && lua_gettop(L) == optIndex && !matches(L, optIndex, optKind)) return optIndex;
    return 0;
}

std::string GlueArgumentError(const char* scriptName, int index)
{
    return std::string("Error in glue function: glue_") + scriptName + ".Invalid argument type. Index = " +
           std::to_string(index);
}
