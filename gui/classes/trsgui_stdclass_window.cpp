// The window: its state machine, transitions, sounds and handlers.
#include "gui/classes/trsgui_stdclass_window.h"

#include "engine/core/ctarnis.h"
#include "gui/classes/trsgui_bezier.h"
#include "gui/classes/trsgui_stdclasses.h"
#include "gui/trsgui_ctarnisgui.h"
#include "gui/trsgui_fileids.h"

CGUIWindow::CGUIWindow(const std::string& id) : CGUIElement(id)
{
    m_clrColor = GUIRECT{1.0f, 1.0f, 1.0f, 1.0f};
}

void CGUIWindow::SetParam(int32_t paramID, const CGUIValue& value)
{
    EHS_CHECKPOINT(EHS_FILE_TRSGUI_WINDOW);
    switch (paramID) {
    case GUIPARAM_COLOR_HIDDEN: m_clrHidden = value.GetRect(); return;
    case GUIPARAM_COLOR_MIDDLE: m_clrMiddle = value.GetRect(); return;
    case GUIPARAM_COLOR_SHOWN: m_clrShown = value.GetRect(); return;
    case GUIPARAM_LOCATION_HIDDEN: m_ptHidden = value.GetPoint(); return;
    case GUIPARAM_LOCATION_MIDDLE: m_ptMiddle = value.GetPoint(); return;
    case GUIPARAM_LOCATION_SHOWN: m_ptShown = value.GetPoint(); return;
    case GUIPARAM_TIME_SHOWHIDE: {
        const float time = value.GetFloat();
        const float newTime = time <= 0.0f ? 0.001f : time;
        // The timer keeps its phase: a running transition neither jumps nor
        // runs past its end, and a shown window stays at the end.
        m_fTimer *= newTime / m_fShowHideTime;
        m_fShowHideTime = newTime;
        return;
    }
    case GUIPARAM_ON_HIDE: m_onHide.SetFromValue(value); return;
    case GUIPARAM_ON_SHOW: m_onShow.SetFromValue(value); return;
    case GUIPARAM_ON_ENABLE: m_onEnable.SetFromValue(value); return;
    case GUIPARAM_ON_DISABLE: m_onDisable.SetFromValue(value); return;
    case GUIPARAM_SOUND_HIDE: m_iSoundHide = ValueToSound(value); return;
    case GUIPARAM_SOUND_SHOW: m_iSoundShow = ValueToSound(value); return;
    default: CGUIElement::SetParam(paramID, value);
    }
}

CGUIValue CGUIWindow::GetParam(int32_t paramID)
{
    switch (paramID) {
    case GUIPARAM_COLOR_HIDDEN: return CGUIValue(m_clrHidden);
    case GUIPARAM_COLOR_MIDDLE: return CGUIValue(m_clrMiddle);
    case GUIPARAM_COLOR_SHOWN: return CGUIValue(m_clrShown);
    case GUIPARAM_LOCATION_HIDDEN: return CGUIValue(m_ptHidden);
    case GUIPARAM_LOCATION_MIDDLE: return CGUIValue(m_ptMiddle);
    case GUIPARAM_LOCATION_SHOWN: return CGUIValue(m_ptShown);
    case GUIPARAM_TIME_SHOWHIDE: return CGUIValue(m_fShowHideTime);
    case GUIPARAM_SOUND_HIDE: return CGUIValue(float(m_iSoundHide));
    case GUIPARAM_SOUND_SHOW: return CGUIValue(float(m_iSoundShow));
    default: return CGUIElement::GetParam(paramID);
    }
}

void CGUIWindow::ExecuteCommand(int32_t commandID)
{
    EHS_CHECKPOINT(EHS_FILE_TRSGUI_WINDOW);
    CTarnisGUI* gui = CTarnisGUI::Instance();
    switch (commandID) {
    case GUICMD_SHOW:
        if (m_iState == GUIWINDOW_HIDDEN || m_iState == GUIWINDOW_HIDING) {
            PlaySound(m_iSoundShow);
            gui->RunAction(m_onShow);
        }
        m_iState = GUIWINDOW_SHOWING;
        return;
    case GUICMD_HIDE:
        if (m_iState == GUIWINDOW_SHOWN || m_iState == GUIWINDOW_SHOWING) {
            PlaySound(m_iSoundHide);
            gui->RunAction(m_onHide);
        }
        m_iState = GUIWINDOW_HIDING;
        return;
    case GUICMD_ENABLE:
        gui->RunAction(m_onEnable);
        m_bEnabled = true;
        return;
    case GUICMD_DISABLE:
        gui->RunAction(m_onDisable);
        m_bEnabled = false;
        return;
    default: CGUIElement::ExecuteCommand(commandID);
    }
}

void CGUIWindow::Update(const GUIRECT& parentRect, const GUIRECT& parentColor, bool parentShown, bool parentActive,
                        float scrollX, float scrollY)
{
    const float frame = CTarnisGUI::GetFrameTime();
    if (m_iState == GUIWINDOW_HIDING) {
        m_fTimer -= frame;
        if (m_fTimer <= 0.0f) {
            m_fTimer = 0.0f;
            m_iState = GUIWINDOW_HIDDEN;
        }
    } else if (m_iState == GUIWINDOW_SHOWING) {
        m_fTimer += frame;
        if (m_fTimer >= m_fShowHideTime) {
            m_fTimer = m_fShowHideTime;
            m_iState = GUIWINDOW_SHOWN;
        }
    }
    m_bShown = false;
    m_bActive = false;
    if (m_iState == GUIWINDOW_HIDDEN) return;

    GUIRECT color = m_clrShown;
    GUIPOINT at = m_ptShown;
    if (m_iState == GUIWINDOW_SHOWN) {
        m_bActive = m_bEnabled && parentActive;
    } else {
        const float t = m_fTimer / m_fShowHideTime;
        color = GUIBezier(m_clrHidden, m_clrMiddle, m_clrShown, t);
        at = GUIBezier(m_ptHidden, m_ptMiddle, m_ptShown, t);
    }
    m_bShown = parentShown;
    m_clrCurColor = GUIColorMul(parentColor, color);
    m_rcCurRect = GUIRECT{parentRect.x + at.x - scrollX, parentRect.y + at.y - scrollY, m_rcCoords.width,
                          m_rcCoords.height};
    CheckTip();
    UpdateChildren();
}

void CGUIWindow::Render()
{
    RenderChildren();
}

CGUIElement* TRSGUI_CreateWindow(const std::string& id)
{
    return new CGUIWindow(id);
}
