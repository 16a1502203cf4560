// The advanced tile: focus, click and hotkey handlers on top of the tile.
#include "gui/classes/trsgui_stdclass_advtile.h"

#include "engine/core/ctarnis.h"
#include "gui/classes/trsgui_stdclasses.h"
#include "gui/trsgui_ctarnisgui.h"
#include "gui/trsgui_fileids.h"

CGUIAdvTile::CGUIAdvTile(const std::string& id) : CGUITile(id) {}

void CGUIAdvTile::SetParam(int32_t paramID, const CGUIValue& value)
{
    EHS_CHECKPOINT(EHS_FILE_TRSGUI_ADVTILE);
    switch (paramID) {
    case GUIPARAM_ON_GOTFOCUS: m_onGotFocus.SetFromValue(value); return;
    case GUIPARAM_ON_LOSTFOCUS: m_onLostFocus.SetFromValue(value); return;
    case GUIPARAM_ON_CLICK: m_onClick.SetFromValue(value); return;
    case GUIPARAM_ON_HOTKEY: m_onHotkey.SetFromValue(value); return;
    case GUIPARAM_HOTKEY:
        if (value.GetType() == GUIVAL_STRING) {
            m_uHotkey = CTarnis::INP_KeyNameToCode(value.GetString());
        } else {
            // A number outside the key codes names no key rather than some other one.
            const int32_t code = ValueToInt(value);
            m_uHotkey = code >= 0 && code <= 255 ? uint8_t(code) : 0;
        }
        return;
    default: CGUITile::SetParam(paramID, value);
    }
}

CGUIValue CGUIAdvTile::GetParam(int32_t paramID)
{
    if (paramID == GUIPARAM_HOTKEY) return CGUIValue(float(m_uHotkey));
    return CGUITile::GetParam(paramID);
}

void CGUIAdvTile::Update(const GUIRECT& parentRect, const GUIRECT& parentColor, bool parentShown, bool parentActive,
                         float scrollX, float scrollY)
{
    EHS_CHECKPOINT(EHS_FILE_TRSGUI_ADVTILE);
    StandardUpdate(parentRect, parentColor, parentShown, parentActive, scrollX, scrollY);
    if (!m_bActive || !m_bShown) return;
    CTarnis* t = CTarnis::Instance();
    CTarnisGUI* gui = CTarnisGUI::Instance();
    m_bPrevMouseOver = m_bMouseOver;
    m_bMouseOver = IsMouseOver();
    if (m_bMouseOver && !m_bPrevMouseOver) gui->RunAction(m_onGotFocus);
    if (!m_bMouseOver && m_bPrevMouseOver) gui->RunAction(m_onLostFocus);
    if (m_onClick.IsSet() && m_bMouseOver && t->INP_MouseIsKeyClicked(1)) gui->RunAction(m_onClick);
    if (m_onHotkey.IsSet() && m_uHotkey != 0 && t->INP_KeyboardIsKeyClicked(m_uHotkey)) gui->RunAction(m_onHotkey);
}

CGUIElement* TRSGUI_CreateAdvTile(const std::string& id)
{
    return new CGUIAdvTile(id);
}
