// The scroll-bar base: values and their clamping, the slider's geometry
// along an axis, dragging, paging, the wheel and the page keys.
#include "gui/classes/trsgui_stdclass_scrollbar.h"

#include <algorithm>
#include <cmath>

#include "engine/core/ctarnis.h"
#include "engine/platform/dinput8/dinput8.h"
#include "gui/classes/trsgui_stdclass_button.h"
#include "gui/classes/trsgui_scopes.h"
#include "gui/classes/trsgui_stdclasses.h"
#include "gui/trsgui_ctarnisgui.h"
#include "gui/trsgui_fileids.h"

namespace {

float along(const GUIRECT& r, int axis)
{
    return axis == 0 ? r.x : r.y;
}
float lengthOf(const GUIRECT& r, int axis)
{
    return axis == 0 ? r.width : r.height;
}
float across(const GUIRECT& r, int axis)
{
    return axis == 0 ? r.height : r.width;
}

} // namespace

CGUIScrollBar::CGUIScrollBar(const std::string& id) : CGUITile(id) {}

void CGUIScrollBar::SetParam(int32_t paramID, const CGUIValue& value)
{
    EHS_CHECKPOINT(EHS_FILE_TRSGUI_SCROLLBASE);
    switch (paramID) {
    case GUIPARAM_MINVALUE:
        m_iMinValue = ValueToInt(value);
        m_iMaxValue = std::max(m_iMaxValue, m_iMinValue);
        clampValue();
        RecalcSlider();
        return;
    case GUIPARAM_MAXVALUE:
        m_iMaxValue = std::max(ValueToInt(value), m_iMinValue);
        clampValue();
        RecalcSlider();
        return;
    case GUIPARAM_CURVALUE:
        m_iCurValue = ValueToInt(value);
        clampValue();
        runOnScroll();
        RecalcSlider();
        return;
    case GUIPARAM_PAGESIZE:
        m_iPageSize = std::max(1, ValueToInt(value));
        RecalcSlider();
        return;
    case GUIPARAM_SCROLLSPEED: m_iScrollSpeed = ValueToInt(value); return;
    case GUIPARAM_SLIDER:
        m_bFixedSlider = value.GetBool();
        RecalcSlider();
        return;
    case GUIPARAM_SLIDERSIZE:
        m_iSliderSize = ValueToInt(value);
        RecalcSlider();
        return;
    case GUIPARAM_TEXTURE:
    case GUIPARAM_TEXTURE_NORMAL: m_aiTextures[GUISIT_NORMAL] = ValueToTexture(value); return;
    case GUIPARAM_TEXTURE_DISABLED: m_aiTextures[GUISIT_DISABLED] = ValueToTexture(value); return;
    case GUIPARAM_TEXTURE_SELECTED: m_aiTextures[GUISIT_SELECTED] = ValueToTexture(value); return;
    case GUIPARAM_TEXTURE_PRESSED: m_aiTextures[GUISIT_PRESSED] = ValueToTexture(value); return;
    case GUIPARAM_ON_SCROLL: m_actOnScroll.SetFromValue(value); return;
    case GUIPARAM_ON_GOTFOCUS: m_actOnGotFocus.SetFromValue(value); return;
    case GUIPARAM_ON_LOSTFOCUS: m_actOnLostFocus.SetFromValue(value); return;
    case GUIPARAM_ACTIVERECT: m_rcActiveRect = value.GetRect(); return;
    case GUIPARAM_COORDS:
        CGUITile::SetParam(paramID, value);
        if (m_rcActiveRect.width == 0.0f || m_rcActiveRect.height == 0.0f) m_rcActiveRect = m_rcCoords;
        RecalcSlider();
        return;
    default: CGUITile::SetParam(paramID, value);
    }
}

CGUIValue CGUIScrollBar::GetParam(int32_t paramID)
{
    switch (paramID) {
    case GUIPARAM_MINVALUE: return CGUIValue(float(m_iMinValue));
    case GUIPARAM_MAXVALUE: return CGUIValue(float(m_iMaxValue));
    case GUIPARAM_CURVALUE: return CGUIValue(float(m_iCurValue));
    case GUIPARAM_PAGESIZE: return CGUIValue(float(m_iPageSize));
    case GUIPARAM_SCROLLSPEED: return CGUIValue(float(m_iScrollSpeed));
    case GUIPARAM_SLIDER: return CGUIValue(m_bFixedSlider);
    case GUIPARAM_SLIDERSIZE: return CGUIValue(float(m_iSliderSize));
    case GUIPARAM_TEXTURE:
    case GUIPARAM_TEXTURE_NORMAL: return CGUIValue(float(m_aiTextures[GUISIT_NORMAL]));
    case GUIPARAM_TEXTURE_DISABLED: return CGUIValue(float(m_aiTextures[GUISIT_DISABLED]));
    case GUIPARAM_TEXTURE_SELECTED: return CGUIValue(float(m_aiTextures[GUISIT_SELECTED]));
    case GUIPARAM_TEXTURE_PRESSED: return CGUIValue(float(m_aiTextures[GUISIT_PRESSED]));
    case GUIPARAM_ACTIVERECT: return CGUIValue(m_rcActiveRect);
    default: return CGUITile::GetParam(paramID);
    }
}

void CGUIScrollBar::ExecuteCommand(int32_t commandID)
{
    EHS_CHECKPOINT(EHS_FILE_TRSGUI_SCROLLBASE);
    if (commandID < GUICMD_SCROLL_STEPFORWARD || commandID > GUICMD_SCROLL_PAGEBACK) {
        CGUITile::ExecuteCommand(commandID);
        return;
    }
    if (!m_bShown || !m_bActive) return;
    int64_t move = m_iPageSize;
    if (commandID == GUICMD_SCROLL_STEPFORWARD || commandID == GUICMD_SCROLL_STEPBACK) {
        move = GUIFloatToInt(float(m_iScrollSpeed) * CTarnisGUI::GetFrameTime());
        if (m_bWheelStep) move *= 3;
        move = std::max<int64_t>(move, 1);
    }
    if (commandID == GUICMD_SCROLL_STEPBACK || commandID == GUICMD_SCROLL_PAGEBACK) move = -move;
    m_iCurValue = int32_t(std::clamp<int64_t>(int64_t(m_iCurValue) + move, m_iMinValue, m_iMaxValue));
    RecalcSlider();
    runOnScroll();
}

void CGUIScrollBar::clampValue()
{
    m_iCurValue = std::clamp(m_iCurValue, m_iMinValue, m_iMaxValue);
}

void CGUIScrollBar::runOnScroll()
{
    if (m_bInOnScroll) return;
    CGUIRunningScope running(m_bInOnScroll);
    CTarnisGUI::Instance()->RunAction(m_actOnScroll);
}

void CGUIScrollBar::placeSlider()
{
    const int a = axis();
    const float thickness = across(m_rcCoords, a);
    if (a == 0)
        m_rcSlider = GUIRECT{m_rcCurRect.x + m_fSliderOffset, m_rcCurRect.y, m_fSliderLength, thickness};
    else
        m_rcSlider = GUIRECT{m_rcCurRect.x, m_rcCurRect.y + m_fSliderOffset, thickness, m_fSliderLength};
}

void CGUIScrollBar::recalcSliderAlong(int a)
{
    const int64_t range = int64_t(m_iMaxValue) - m_iMinValue;
    const float length = lengthOf(m_rcCoords, a), thickness = across(m_rcCoords, a);
    if (m_bFixedSlider)
        m_fSliderLength = float(m_iSliderSize);
    else if (m_iPageSize + range < 1)
        m_fSliderLength = thickness;
    else // In whole numbers: 200 long with page 25 over range 100 gives exactly 40.
        m_fSliderLength = float(int64_t(length) * m_iPageSize / (m_iPageSize + range));
    m_fSliderLength = std::min(std::max(m_fSliderLength, thickness), length);
    const float fraction = range < 1 ? 0.0f : float(m_iCurValue - int64_t(m_iMinValue)) / float(range);
    m_fSliderOffset = (length - m_fSliderLength) * fraction;
    placeSlider();
}

void CGUIScrollBar::valueFromSliderAlong(int a)
{
    const float free = lengthOf(m_rcCoords, a) - m_fSliderLength;
    if (free <= 0.0f) {
        m_iCurValue = m_iMinValue;
        return;
    }
    const float range = float(int64_t(m_iMaxValue) - m_iMinValue);
    const int64_t value = int64_t(m_iMinValue) + GUIFloatToInt(m_fSliderOffset / free * range + 0.5f);
    m_iCurValue = int32_t(std::clamp<int64_t>(value, m_iMinValue, m_iMaxValue));
}

void CGUIScrollBar::moveSliderAlong(int a)
{
    const float free = std::max(0.0f, lengthOf(m_rcCoords, a) - m_fSliderLength);
    m_fSliderOffset = std::clamp(m_fSliderOffset, 0.0f, free);
    ValueFromSlider();
    placeSlider();
    runOnScroll();
}

void CGUIScrollBar::Update(const GUIRECT& parentRect, const GUIRECT& parentColor, bool parentShown,
                           bool parentActive, float scrollX, float scrollY)
{
    EHS_CHECKPOINT(EHS_FILE_TRSGUI_SCROLLBASE);
    const int a = axis();
    UpdateOwnState(parentRect, parentColor, parentShown, parentActive, scrollX, scrollY);
    m_rcCurActiveRect = PlaceRect(parentRect, m_rcActiveRect, scrollX, scrollY);
    // A bar over an empty range is never active.
    m_bActive = m_bActive && m_iMaxValue != m_iMinValue;
    placeSlider();
    const GUIPOINT mouse = GetMousePos();
    if (m_bShown && m_bActive) {
        CTarnis* t = CTarnis::Instance();
        CTarnisGUI* gui = CTarnisGUI::Instance();
        m_bPrevOverBar = m_bOverBar;
        m_bOverBar = GUIPointInRect(mouse, m_rcCurRect);
        if (m_bOverBar && !m_bPrevOverBar) gui->RunAction(m_actOnGotFocus);
        if (!m_bOverBar && m_bPrevOverBar) gui->RunAction(m_actOnLostFocus);
        m_bOverSlider = GUIPointInRect(mouse, m_rcSlider);

        const float cursor = a == 0 ? mouse.x : mouse.y;
        if (t->INP_MouseIsKeyClicked(1)) {
            if (m_bOverSlider) {
                m_bDragging = true;
            } else if (m_bOverBar && m_bFixedSlider) {
                m_fSliderOffset = cursor - along(m_rcCurRect, a) - m_fSliderLength / 2.0f;
                MoveSlider();
                m_bDragging = true;
            } else if (m_bOverBar) {
                ExecuteCommand(cursor >= along(m_rcSlider, a) ? GUICMD_SCROLL_PAGEFORWARD : GUICMD_SCROLL_PAGEBACK);
            }
        }
        if (!t->INP_MouseIsKeyPressed(1)) m_bDragging = false;
        const int32_t delta = a == 0 ? t->INP_MouseGetCursorDeltaX() : t->INP_MouseGetCursorDeltaY();
        if (m_bDragging && delta != 0) {
            m_fSliderOffset += float(delta);
            MoveSlider();
        }

        if (GUIPointInRect(mouse, m_rcCurActiveRect)) {
            // Several in one frame: the last in this order wins.
            const int32_t wheel = t->INP_MouseGetWheelDelta();
            int32_t command = 0;
            bool fromWheel = false;
            if (wheel > 0) command = GUICMD_SCROLL_STEPBACK, fromWheel = true;
            if (t->INP_KeyboardIsKeyClicked(DIK_PRIOR)) command = GUICMD_SCROLL_PAGEBACK, fromWheel = false;
            if (wheel < 0) command = GUICMD_SCROLL_STEPFORWARD, fromWheel = true;
            if (t->INP_KeyboardIsKeyClicked(DIK_NEXT)) command = GUICMD_SCROLL_PAGEFORWARD, fromWheel = false;
            if (command != 0) {
                m_bWheelStep = fromWheel;
                ExecuteCommand(command);
                m_bWheelStep = false;
            }
        }
    }
    CheckTip();
}

void CGUIScrollBar::Render()
{
    EHS_CHECKPOINT(EHS_FILE_TRSGUI_SCROLLBASE);
    if (!m_bShown) return;
    int32_t texture = -1;
    if (m_aiTextures[GUISIT_NORMAL] != -1) {
        int32_t situation = GUISIT_NORMAL;
        if (!m_bActive)
            situation = GUISIT_DISABLED;
        else if (m_bDragging)
            situation = GUISIT_PRESSED;
        else if (m_bOverSlider)
            situation = GUISIT_SELECTED;
        // A state texture of -1 falls back to the normal one.
        texture = m_aiTextures[situation] != -1 ? m_aiTextures[situation] : m_aiTextures[GUISIT_NORMAL];
    }
    ApplyLook(texture);
    DrawScheme(m_rcSlider);
}
