// Script adapters for the keyboard and the mouse.
#include "engine/scr/ctarnis_glue_api.h"

namespace {

constexpr int32_t kFileID = EHS_FILE_GLUE_INP;
using A = GlueArg;

CTarnis* trs()
{
    return CTarnis::Instance();
}

// Key and button numbers from scripts outside 0..255 name nothing: they read as
// "not down" instead of wrapping onto another key.
bool inByteRange(int32_t v)
{
    return v >= 0 && v <= 255;
}

int glue_TRS_INP_KeyboardGetAnyPressedKey(lua_State* L)
{
    EHS_CHECKPOINT(kFileID);
    lua_pushnumber(L, trs()->INP_KeyboardGetAnyPressedKey());
    return 1;
}

int glue_TRS_INP_KeyboardIsKeyPressed(lua_State* L)
{
    GLUE_CHECK(L, kFileID, "TRS_INP_KeyboardIsKeyPressed", {A::Integer});
    int32_t key = GlueInteger(L, 1);
    lua_pushboolean(L, inByteRange(key) && trs()->INP_KeyboardIsKeyPressed(uint8_t(key)));
    return 1;
}

int glue_TRS_INP_KeyboardIsKeyClicked(lua_State* L)
{
    GLUE_CHECK(L, kFileID, "TRS_INP_KeyboardIsKeyClicked", {A::Integer});
    int32_t key = GlueInteger(L, 1);
    lua_pushboolean(L, inByteRange(key) && trs()->INP_KeyboardIsKeyClicked(uint8_t(key)));
    return 1;
}

int glue_TRS_INP_KeyboardSetTextBufferStatus(lua_State* L)
{
    GLUE_CHECK(L, kFileID, "TRS_INP_KeyboardSetTextBufferStatus", {A::Boolean});
    trs()->INP_KeyboardSetTextBufferStatus(lua_toboolean(L, 1) != 0);
    return 0;
}

int glue_TRS_INP_KeyboardSetTextInBuffer(lua_State* L)
{
    GLUE_CHECK(L, kFileID, "TRS_INP_KeyboardSetTextInBuffer", {A::String});
    trs()->INP_KeyboardSetTextInBuffer(lua_tostring(L, 1));
    return 0;
}

int glue_TRS_INP_KeyboardGetTextInBuffer(lua_State* L)
{
    EHS_CHECKPOINT(kFileID);
    lua_pushstring(L, trs()->INP_KeyboardGetTextInBuffer().c_str());
    return 1;
}

int glue_TRS_INP_KeyboardSetTextBufferSize(lua_State* L)
{
    GLUE_CHECK(L, kFileID, "TRS_INP_KeyboardSetTextBufferSize", {A::Integer});
    int32_t size = GlueInteger(L, 1);
    trs()->INP_KeyboardSetTextBufferSize(size < 0 ? 0u : uint32_t(size));
    return 0;
}

int glue_TRS_INP_MouseGetAnyPressedKey(lua_State* L)
{
    EHS_CHECKPOINT(kFileID);
    lua_pushnumber(L, trs()->INP_MouseGetAnyPressedKey());
    return 1;
}

int glue_TRS_INP_MouseIsKeyPressed(lua_State* L)
{
    GLUE_CHECK(L, kFileID, "TRS_INP_MouseIsKeyPressed", {A::Integer});
    int32_t button = GlueInteger(L, 1);
    lua_pushboolean(L, inByteRange(button) && trs()->INP_MouseIsKeyPressed(uint8_t(button)));
    return 1;
}

int glue_TRS_INP_MouseIsKeyClicked(lua_State* L)
{
    GLUE_CHECK(L, kFileID, "TRS_INP_MouseIsKeyClicked", {A::Integer});
    int32_t button = GlueInteger(L, 1);
    lua_pushboolean(L, inByteRange(button) && trs()->INP_MouseIsKeyClicked(uint8_t(button)));
    return 1;
}

int glue_TRS_INP_MouseGetDeltaX(lua_State* L)
{
    EHS_CHECKPOINT(kFileID);
    lua_pushnumber(L, trs()->INP_MouseGetDeltaX());
    return 1;
}

int glue_TRS_INP_MouseGetDeltaY(lua_State* L)
{
    EHS_CHECKPOINT(kFileID);
    lua_pushnumber(L, trs()->INP_MouseGetDeltaY());
    return 1;
}

int glue_TRS_INP_MouseGetWheelDelta(lua_State* L)
{
    EHS_CHECKPOINT(kFileID);
    lua_pushnumber(L, trs()->INP_MouseGetWheelDelta());
    return 1;
}

int glue_TRS_INP_MouseGetCursorPos(lua_State* L)
{
    EHS_CHECKPOINT(kFileID);
    POINT p = trs()->INP_MouseGetCursorPos();
    lua_pushnumber(L, p.x);
    lua_pushnumber(L, p.y);
    return 2;
}

int glue_TRS_INP_MouseGetCursorStatus(lua_State* L)
{
    EHS_CHECKPOINT(kFileID);
    lua_pushboolean(L, trs()->INP_MouseGetCursorStatus());
    return 1;
}

} // namespace

const GlueEntry g_glueInp[] = {
    {"TRS_INP_KeyboardGetAnyPressedKey", glue_TRS_INP_KeyboardGetAnyPressedKey},
    {"TRS_INP_KeyboardIsKeyPressed", glue_TRS_INP_KeyboardIsKeyPressed},
    {"TRS_INP_KeyboardIsKeyClicked", glue_TRS_INP_KeyboardIsKeyClicked},
    {"TRS_INP_KeyboardSetTextBufferStatus", glue_TRS_INP_KeyboardSetTextBufferStatus},
    {"TRS_INP_KeyboardSetTextInBuffer", glue_TRS_INP_KeyboardSetTextInBuffer},
    {"TRS_INP_KeyboardGetTextInBuffer", glue_TRS_INP_KeyboardGetTextInBuffer},
    {"TRS_INP_KeyboardSetTextBufferSize", glue_TRS_INP_KeyboardSetTextBufferSize},
    {"TRS_INP_MouseGetAnyPressedKey", glue_TRS_INP_MouseGetAnyPressedKey},
    {"TRS_INP_MouseIsKeyPressed", glue_TRS_INP_MouseIsKeyPressed},
    {"TRS_INP_MouseIsKeyClicked", glue_TRS_INP_MouseIsKeyClicked},
    {"TRS_INP_MouseGetDeltaX", glue_TRS_INP_MouseGetDeltaX},
    {"TRS_INP_MouseGetDeltaY", glue_TRS_INP_MouseGetDeltaY},
    {"TRS_INP_MouseGetWheelDelta", glue_TRS_INP_MouseGetWheelDelta},
    {"TRS_INP_MouseGetCursorPos", glue_TRS_INP_MouseGetCursorPos},
    {"TRS_INP_MouseGetCursorStatus", glue_TRS_INP_MouseGetCursorStatus},
    {nullptr, nullptr},
};
