// The GUI's script functions: Lua adapters of the manager's element
// operations. An element or parameter argument is an index/ID when it is a
// Lua number and a string ID/name when it is a Lua string ("5" included).
#include <lua.hpp>

#include "engine/scr/ctarnis_glue_common.h"
#include "gui/trsgui_ctarnisgui.h"
#include "gui/trsgui_fileids.h"
#include "gui/trsgui_glue_main.h"

namespace {

// The functions stay registered after the manager is gone; they then say so.
CTarnisGUI* manager(const char* scriptName)
{
    CTarnisGUI* gui = CTarnisGUI::Instance();
    if (!gui)
        EHS_THROW(EHS_TYPE_GAME, 0,
                  std::string("Error in glue function glue_") + scriptName + ": the GUI manager does not exist!");
    return gui;
}

bool isIndex(lua_State* L, int index)
{
    return lua_type(L, index) == LUA_TNUMBER;
}

bool isNumberOrString(lua_State* L, int index)
{
    const int type = lua_type(L, index);
    return type == LUA_TNUMBER || type == LUA_TSTRING;
}

int32_t integerArg(lua_State* L, int index)
{
    return GUIDoubleToInt(lua_tonumber(L, index));
}

[[noreturn]] void invalidCombination(const char* adapter)
{
    EHS_THROW(EHS_TYPE_GAME, 0,
              std::string("Error in glue function ") + adapter + ": invalid combination of arguments!");
}

int glue_TRSGUI_AddNewElement(lua_State* L)
{
    GLUE_CHECK(L, EHS_FILE_TRSGUI_GLUE, "TRSGUI_AddNewElement", {GlueArg::String, GlueArg::String, GlueArg::ResID});
    CTarnisGUI* gui = manager("TRSGUI_AddNewElement");
    const std::string cls = lua_tostring(L, 1), id = lua_tostring(L, 2);
    int32_t index = isIndex(L, 3) ? gui->AddNewElement(cls, id, integerArg(L, 3))
                                  : gui->AddNewElement(cls, id, std::string(lua_tostring(L, 3)));
    lua_pushnumber(L, index);
    return 1;
}

int glue_TRSGUI_GetElementID(lua_State* L)
{
    GLUE_CHECK(L, EHS_FILE_TRSGUI_GLUE, "TRSGUI_GetElementID", {GlueArg::String});
    lua_pushnumber(L, manager("TRSGUI_GetElementID")->GetElementID(lua_tostring(L, 1)));
    return 1;
}

int glue_TRSGUI_SetElementParam(lua_State* L)
{
    EHS_CHECKPOINT(EHS_FILE_TRSGUI_GLUE);
    const char* adapter = "glue_TRSGUI_SetElementParam";
    CTarnisGUI* gui = manager("TRSGUI_SetElementParam");
    const int count = lua_gettop(L);
    if (count < 3 || !isNumberOrString(L, 1) || !isNumberOrString(L, 2)) invalidCombination(adapter);
    CGUIValue value;
    switch (lua_type(L, 3)) {
    case LUA_TBOOLEAN: value.SetBool(lua_toboolean(L, 3) != 0); break;
    case LUA_TSTRING: value.SetString(lua_tostring(L, 3)); break;
    case LUA_TNUMBER: {
        float n[4] = {};
        for (int i = 0; i < 4 && 3 + i <= count; ++i) {
            if (lua_type(L, 3 + i) != LUA_TNUMBER) invalidCombination(adapter);
            n[i] = float(lua_tonumber(L, 3 + i));
        }
        if (count == 3)
            value.SetFloat(n[0]);
        else if (count == 4)
            value.SetPoint(GUIPOINT{n[0], n[1]});
        else if (count == 6)
            value.SetRect(GUIRECT{n[0], n[1], n[2], n[3]});
        else
            invalidCombination(adapter);
        break;
    }
    default: invalidCombination(adapter);
    }
    // Everything is read before the call: handlers run by the setter reuse the interpreter's stack.
    if (isIndex(L, 1)) {
        const int32_t element = integerArg(L, 1);
        if (isIndex(L, 2))
            gui->SetElementParam(element, integerArg(L, 2), value);
        else
            gui->SetElementParam(element, std::string(lua_tostring(L, 2)), value);
    } else {
        const std::string element = lua_tostring(L, 1);
        if (isIndex(L, 2))
            gui->SetElementParam(element, integerArg(L, 2), value);
        else
            gui->SetElementParam(element, std::string(lua_tostring(L, 2)), value);
    }
    return 0;
}

int glue_TRSGUI_GetElementParam(lua_State* L)
{
    EHS_CHECKPOINT(EHS_FILE_TRSGUI_GLUE);
    const char* adapter = "glue_TRSGUI_GetElementParam";
    CTarnisGUI* gui = manager("TRSGUI_GetElementParam");
    if (!isNumberOrString(L, 1) || !isNumberOrString(L, 2)) invalidCombination(adapter);
    CGUIValue value;
    if (isIndex(L, 1)) {
        const int32_t element = integerArg(L, 1);
        value = isIndex(L, 2) ? gui->GetElementParam(element, integerArg(L, 2))
                              : gui->GetElementParam(element, std::string(lua_tostring(L, 2)));
    } else {
        const std::string element = lua_tostring(L, 1);
        value = isIndex(L, 2) ? gui->GetElementParam(element, integerArg(L, 2))
                              : gui->GetElementParam(element, std::string(lua_tostring(L, 2)));
    }
    switch (value.GetType()) {
    case GUIVAL_FLOAT: lua_pushnumber(L, value.GetFloat()); return 1;
    case GUIVAL_BOOLEAN: lua_pushboolean(L, value.GetBool()); return 1;
    case GUIVAL_STRING: lua_pushstring(L, value.GetString().c_str()); return 1;
    case GUIVAL_POINT:
        lua_pushnumber(L, value.GetPoint().x);
        lua_pushnumber(L, value.GetPoint().y);
        return 2;
    case GUIVAL_RECT: {
        const GUIRECT& r = value.GetRect();
        for (float f : {r.x, r.y, r.width, r.height}) lua_pushnumber(L, f);
        return 4;
    }
    default: EHS_THROW(EHS_TYPE_GAME, 0, std::string("Error in glue function ") + adapter + ": invalid value type!");
    }
}

int glue_TRSGUI_ExecuteElementCommand(lua_State* L)
{
    GLUE_CHECK(L, EHS_FILE_TRSGUI_GLUE, "TRSGUI_ExecuteElementCommand", {GlueArg::ResID, GlueArg::Integer}, 3,
               GlueArg::Number);
    CTarnisGUI* gui = manager("TRSGUI_ExecuteElementCommand");
    const int32_t command = integerArg(L, 2);
    const float delay = GlueHasOptional(L, 3) ? GlueNumber(L, 3) : 0.0f;
    if (isIndex(L, 1))
        gui->ExecuteElementCommand(integerArg(L, 1), command, delay);
    else
        gui->ExecuteElementCommand(std::string(lua_tostring(L, 1)), command, delay);
    return 0;
}

int glue_TRSGUI_SetCurTip(lua_State* L)
{
    GLUE_CHECK(L, EHS_FILE_TRSGUI_GLUE, "TRSGUI_SetCurTip", {GlueArg::ResID});
    CTarnisGUI* gui = manager("TRSGUI_SetCurTip");
    if (isIndex(L, 1))
        gui->SetCurTip(integerArg(L, 1));
    else
        gui->SetCurTip(std::string(lua_tostring(L, 1)));
    return 0;
}

} // namespace

void TRSGUI_RegisterScriptFunctions()
{
    CTarnis* trs = CTarnis::Instance();
    trs->SCR_RegisterFunction("TRSGUI_AddNewElement", glue_TRSGUI_AddNewElement);
    trs->SCR_RegisterFunction("TRSGUI_GetElementID", glue_TRSGUI_GetElementID);
    trs->SCR_RegisterFunction("TRSGUI_SetElementParam", glue_TRSGUI_SetElementParam);
    trs->SCR_RegisterFunction("TRSGUI_GetElementParam", glue_TRSGUI_GetElementParam);
    trs->SCR_RegisterFunction("TRSGUI_ExecuteElementCommand", glue_TRSGUI_ExecuteElementCommand);
    trs->SCR_RegisterFunction("TRSGUI_SetCurTip", glue_TRSGUI_SetCurTip);
}
