// The tip: fade-in on show and placement at the mouse cursor.
#include "gui/classes/trsgui_stdclass_tip.h"

#include <algorithm>

#include "engine/core/ctarnis.h"
#include "gui/classes/trsgui_stdclasses.h"
#include "gui/trsgui_ctarnisgui.h"
#include "gui/trsgui_fileids.h"

CGUITip::CGUITip(const std::string& id) : CGUITile(id) {}

void CGUITip::SetParent(CGUIElement* parent)
{
    m_pParent = parent;
}

void CGUITip::SetParam(int32_t paramID, const CGUIValue& value)
{
    EHS_CHECKPOINT(EHS_FILE_TRSGUI_TIP);
    switch (paramID) {
    case GUIPARAM_TIPAPPEARTIME: {
        const float time = value.GetFloat();
        m_fAppearTime = time <= 0.0f ? 0.01f : time;
        return;
    }
    case GUIPARAM_ON_SHOW: m_onShow.SetFromValue(value); return;
    default: CGUITile::SetParam(paramID, value);
    }
}

CGUIValue CGUITip::GetParam(int32_t paramID)
{
    if (paramID == GUIPARAM_TIPAPPEARTIME) return CGUIValue(m_fAppearTime);
    return CGUITile::GetParam(paramID);
}

void CGUITip::ExecuteCommand(int32_t commandID)
{
    EHS_CHECKPOINT(EHS_FILE_TRSGUI_TIP);
    if (commandID == GUICMD_SHOW) {
        m_bVisible = true;
        m_bEnabled = true;
        m_clrCurColor.height = 0.0f;
        m_fCountdown = m_fAppearTime;
        CTarnisGUI::Instance()->RunAction(m_onShow);
    }
    CGUITile::ExecuteCommand(commandID);
}

void CGUITip::Update(const GUIRECT&, const GUIRECT&, bool, bool, float, float)
{
    EHS_CHECKPOINT(EHS_FILE_TRSGUI_TIP);
    m_fCountdown = std::max(0.0f, m_fCountdown - CTarnisGUI::GetFrameTime());
    m_clrCurColor = m_clrColor;
    m_clrCurColor.height = m_clrColor.height * (1.0f - m_fCountdown / m_fAppearTime);

    const GUIPOINT mouse = GetMousePos();
    GUIRECT& r = m_rcCurRect;
    r.width = m_rcCoords.width;
    r.height = m_rcCoords.height;
    r.x = mouse.x + m_rcCoords.x;
    r.y = mouse.y + m_rcCoords.y;
    if (r.x + r.width > float(CTarnisGUI::GetScreenWidth())) r.x = mouse.x - m_rcCoords.x - r.width;
    if (r.y + r.height > float(CTarnisGUI::GetScreenHeight())) r.y = mouse.y - m_rcCoords.y - r.height;
    r.x = std::max(0.0f, r.x);
    r.y = std::max(0.0f, r.y);

    m_bShown = m_bVisible;
    m_bActive = m_bEnabled;
    UpdateChildren();
}

CGUIElement* TRSGUI_CreateTip(const std::string& id)
{
    return new CGUITip(id);
}
