// Running handlers with their arguments: script handlers through the script
// host's parameter list, native ones through the action-argument list, which
// is kept as a stack so that nested native calls each see their own list.
#include "engine/core/ctarnis.h"
#include "gui/trsgui_ctarnisgui.h"
#include "gui/trsgui_fileids.h"

namespace {

void addScriptArgument(CTarnis* trs, const CGUIValue& v)
{
    switch (v.GetType()) {
    case GUIVAL_FLOAT: trs->SCR_AddParameter(CLuaValue(double(v.GetFloat()))); break;
    case GUIVAL_BOOLEAN: trs->SCR_AddParameter(CLuaValue(v.GetBool())); break;
    case GUIVAL_STRING: trs->SCR_AddParameter(CLuaValue(v.GetString(), false)); break;
    case GUIVAL_POINT:
        trs->SCR_AddParameter(CLuaValue(double(v.GetPoint().x)));
        trs->SCR_AddParameter(CLuaValue(double(v.GetPoint().y)));
        break;
    case GUIVAL_RECT: {
        const GUIRECT& r = v.GetRect();
        for (float f : {r.x, r.y, r.width, r.height}) trs->SCR_AddParameter(CLuaValue(double(f)));
        break;
    }
    default: break;
    }
}

} // namespace

void CTarnisGUI::RunAction(const CGUIAction& action, std::initializer_list<CGUIValue> args)
{
    EHS_CHECKPOINT(EHS_FILE_TRSGUI_ACTIONS);
    if (!action.IsSet()) return;
    if (action.GetKind() != GUIACTION_NATIVE) {
        CTarnis* trs = CTarnis::Instance();
        for (const CGUIValue& v : args) addScriptArgument(trs, v);
        action.Execute();
        return;
    }
    // The caller's arguments (when a native action runs inside another) stay
    // below the new base, untouched, and are current again afterwards.
    const size_t savedBase = m_uActionArgsBase;
    const size_t top = m_vecActionArgs.size();
    m_uActionArgsBase = top;
    for (const CGUIValue& v : args) m_vecActionArgs.push_back(v);
    try {
        action.Execute();
    } catch (...) {
        m_vecActionArgs.resize(top);
        m_uActionArgsBase = savedBase;
        throw;
    }
    m_vecActionArgs.resize(top);
    m_uActionArgsBase = savedBase;
}

void CTarnisGUI::ClearActionArgs()
{
    m_vecActionArgs.resize(m_uActionArgsBase);
}

void CTarnisGUI::PushActionArg(float value)
{
    m_vecActionArgs.emplace_back(value);
}

void CTarnisGUI::PushActionArg(bool value)
{
    m_vecActionArgs.emplace_back(value);
}

void CTarnisGUI::PushActionArg(const GUIPOINT& value)
{
    m_vecActionArgs.emplace_back(value);
}

void CTarnisGUI::PushActionArg(const GUIRECT& value)
{
    m_vecActionArgs.emplace_back(value);
}

const CGUIValue& CTarnisGUI::GetActionArg(int32_t index) const
{
    if (index < 0 || index >= GetActionArgCount())
        EHS_THROW(EHS_TYPE_GAME, 0, "Cannot read GUI action argument: invalid index! Index = " + std::to_string(index));
    return m_vecActionArgs[m_uActionArgsBase + size_t(index)];
}
