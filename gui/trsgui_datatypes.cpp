// CGUIValue's typed access, CGUIAction's dispatch and the checked number
// conversions of the GUI.
#include "gui/trsgui_datatypes.h"

#include <cmath>

#include "engine/core/ctarnis.h"
#include "gui/trsgui_fileids.h"

namespace {

[[noreturn]] void typeError(const char* typeName)
{
    EHS_THROW(EHS_TYPE_GAME, 0, std::string("CGUIValue error: current type is not ") + typeName + "!");
}

} // namespace

void CGUIValue::reset()
{
    m_fValue = 0.0f;
    m_bValue = false;
    m_strValue.clear();
    m_pfnValue = nullptr;
    m_ptValue = GUIPOINT{};
    m_rcValue = GUIRECT{};
    m_pEnumValue = nullptr;
}

void CGUIValue::SetFloat(float value)
{
    reset();
    m_fValue = value;
    m_iType = GUIVAL_FLOAT;
}

void CGUIValue::SetBool(bool value)
{
    reset();
    m_bValue = value;
    m_iType = GUIVAL_BOOLEAN;
}

void CGUIValue::SetString(const std::string& value)
{
    reset();
    m_strValue = value;
    m_iType = GUIVAL_STRING;
}

void CGUIValue::SetFunction(TRSGUIACTION value)
{
    reset();
    m_pfnValue = value;
    m_iType = GUIVAL_FUNCTION;
}

void CGUIValue::SetPoint(const GUIPOINT& value)
{
    reset();
    m_ptValue = value;
    m_iType = GUIVAL_POINT;
}

void CGUIValue::SetRect(const GUIRECT& value)
{
    reset();
    m_rcValue = value;
    m_iType = GUIVAL_RECT;
}

void CGUIValue::SetEnum(CGUIEnum* value)
{
    reset();
    m_pEnumValue = value;
    m_iType = GUIVAL_ENUM;
}

float CGUIValue::GetFloat() const
{
    if (m_iType != GUIVAL_FLOAT) typeError("float");
    return m_fValue;
}

bool CGUIValue::GetBool() const
{
    if (m_iType != GUIVAL_BOOLEAN) typeError("boolean");
    return m_bValue;
}

const std::string& CGUIValue::GetString() const
{
    if (m_iType != GUIVAL_STRING) typeError("string");
    return m_strValue;
}

TRSGUIACTION CGUIValue::GetFunction() const
{
    if (m_iType != GUIVAL_FUNCTION) typeError("function pointer");
    return m_pfnValue;
}

const GUIPOINT& CGUIValue::GetPoint() const
{
    if (m_iType != GUIVAL_POINT) typeError("GUIPOINT");
    return m_ptValue;
}

const GUIRECT& CGUIValue::GetRect() const
{
    if (m_iType != GUIVAL_RECT) typeError("GUIRECT");
    return m_rcValue;
}

CGUIEnum* CGUIValue::GetEnum() const
{
    if (m_iType != GUIVAL_ENUM) typeError("CGUIEnum*");
    return m_pEnumValue;
}

void CGUIAction::SetScript(const std::string& name)
{
    m_strName = name;
    m_pfnAction = nullptr;
    m_iKind = GUIACTION_SCRIPT;
}

void CGUIAction::SetNative(TRSGUIACTION fn)
{
    m_strName.clear();
    m_pfnAction = fn;
    m_iKind = GUIACTION_NATIVE;
}

bool CGUIAction::SetFromValue(const CGUIValue& value)
{
    if (value.GetType() == GUIVAL_STRING) {
        SetScript(value.GetString());
        return true;
    }
    if (value.GetType() == GUIVAL_FUNCTION) {
        SetNative(value.GetFunction());
        return true;
    }
    return false;
}

void CGUIAction::Execute() const
{
    EHS_CHECKPOINT(EHS_FILE_TRSGUI_DATATYPES);
    if (m_iKind == GUIACTION_SCRIPT) {
        CTarnis::Instance()->SCR_CallFunction(m_strName.c_str(), -1);
    } else if (m_iKind == GUIACTION_NATIVE) {
        if (m_pfnAction) m_pfnAction();
    } else {
        EHS_THROW(EHS_TYPE_GAME, 0, "Unknown action type!");
    }
}

int32_t GUIDoubleToInt(double value)
{
    if (std::isnan(value)) EHS_THROW(EHS_TYPE_GAME, 0, "Cannot use a GUI number as an integer: not a number (NaN)!");
    if (value <= -2147483648.0) return INT32_MIN;
    if (value >= 2147483647.0) return INT32_MAX;
    return int32_t(value);
}

int32_t GUIFloatToInt(float value)
{
    return GUIDoubleToInt(double(value));
}
