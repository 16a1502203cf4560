// CLuaValue: accessors check the type before handing out the payload.
#include "engine/scr/ctarnis_scr_cluaval.h"

#include <utility>

#include "engine/core/ctarnis_ehs.h"

CLuaValue::CLuaValue(double number) : m_dNumber(number), m_iType(LUAVAL_NUMBER) {}

CLuaValue::CLuaValue(bool boolean) : m_bBoolean(boolean), m_iType(LUAVAL_BOOLEAN) {}

CLuaValue::CLuaValue(const char* text, bool isFunction)
    : m_strText(text ? text : ""), m_iType(isFunction ? LUAVAL_FUNCTION : LUAVAL_STRING)
{
}

CLuaValue::CLuaValue(std::string text, bool isFunction)
    : m_strText(std::move(text)), m_iType(isFunction ? LUAVAL_FUNCTION : LUAVAL_STRING)
{
}

double CLuaValue::GetNumber() const
{
    if (m_iType != LUAVAL_NUMBER)
        EHS_THROW(EHS_TYPE_GENERAL, 0, "CLuaValue error: cannot return number because of different status!");
    return m_dNumber;
}

bool CLuaValue::GetBoolean() const
{
    if (m_iType != LUAVAL_BOOLEAN)
        EHS_THROW(EHS_TYPE_GENERAL, 0, "CLuaValue error: cannot return boolean because of different status!");
    return m_bBoolean;
}

const std::string& CLuaValue::GetString() const
{
    if (m_iType != LUAVAL_STRING)
        EHS_THROW(EHS_TYPE_GENERAL, 0, "CLuaValue error: cannot return string because of different status!");
    return m_strText;
}

const std::string& CLuaValue::GetFunction() const
{
    if (m_iType != LUAVAL_FUNCTION)
        EHS_THROW(EHS_TYPE_GENERAL, 0, "CLuaValue error: cannot return function because of different status!");
    return m_strText;
}
