// The button: the state machine of the mouse over the active rect, the
// events it raises, and drawing with the texture of the situation.
#include "gui/classes/trsgui_stdclass_button.h"

#include "engine/core/ctarnis.h"
#include "gui/classes/trsgui_stdclasses.h"
#include "gui/trsgui_ctarnisgui.h"
#include "gui/trsgui_fileids.h"

namespace {

// Parameter IDs of the per-situation tables, in situation order.
constexpr int32_t kTextureParams[4] = {GUIPARAM_TEXTURE_NORMAL, GUIPARAM_TEXTURE_DISABLED, GUIPARAM_TEXTURE_SELECTED,
                                       GUIPARAM_TEXTURE_PRESSED};
constexpr int32_t kChildsColorParams[4] = {GUIPARAM_CHILDSCOLOR_NORMAL, GUIPARAM_CHILDSCOLOR_DISABLED,
                                           GUIPARAM_CHILDSCOLOR_SELECTED, GUIPARAM_CHILDSCOLOR_PRESSED};

int32_t indexOf(const int32_t (&table)[4], int32_t paramID)
{
    for (int32_t i = 0; i < 4; ++i)
        if (table[i] == paramID) return i;
    return -1;
}

} // namespace

CGUIButton::CGUIButton(const std::string& id) : CGUIAdvTile(id) {}

void CGUIButton::SetParam(int32_t paramID, const CGUIValue& value)
{
    EHS_CHECKPOINT(EHS_FILE_TRSGUI_BUTTON);
    if (paramID == GUIPARAM_TEXTURE || paramID == GUIPARAM_TEXTURE_NORMAL) {
        const int32_t texture = ValueToTexture(value);
        m_aiTextures[GUISIT_NORMAL] = texture;
        for (int32_t& t : m_aiTextures)
            if (t == -1) t = texture;
        return;
    }
    if (const int32_t i = indexOf(kTextureParams, paramID); i >= 0) {
        m_aiTextures[i] = ValueToTexture(value);
        return;
    }
    if (const int32_t i = indexOf(kChildsColorParams, paramID); i >= 0) {
        m_aclrChildsColors[i] = value.GetRect();
        return;
    }
    switch (paramID) {
    case GUIPARAM_COORDS:
        CGUIAdvTile::SetParam(paramID, value);
        if (m_rcActiveRect.width == 0.0f || m_rcActiveRect.height == 0.0f) m_rcActiveRect = m_rcCoords;
        return;
    case GUIPARAM_ON_PRESS: m_actOnPress.SetFromValue(value); return;
    case GUIPARAM_ON_HOLD: m_actOnHold.SetFromValue(value); return;
    case GUIPARAM_ON_ENABLE: m_actOnEnable.SetFromValue(value); return;
    case GUIPARAM_ON_DISABLE: m_actOnDisable.SetFromValue(value); return;
    case GUIPARAM_SOUND_PRESS: m_iSoundPress = ValueToSound(value); return;
    case GUIPARAM_SOUND_CLICK: m_iSoundClick = ValueToSound(value); return;
    case GUIPARAM_SOUND_GOTFOCUS: m_iSoundGotFocus = ValueToSound(value); return;
    case GUIPARAM_SOUND_LOSTFOCUS: m_iSoundLostFocus = ValueToSound(value); return;
    case GUIPARAM_SOUND_HOTKEY: m_iSoundHotkey = ValueToSound(value); return;
    case GUIPARAM_ACTIVERECT: m_rcActiveRect = value.GetRect(); return;
    case GUIPARAM_HOLDTIME_START:
        m_fHoldStart = value.GetFloat();
        m_fHoldTimer = 0.0f;
        return;
    case GUIPARAM_HOLDTIME_INTERVAL:
        m_fHoldInterval = value.GetFloat();
        m_fHoldTimer = 0.0f;
        return;
    default: CGUIAdvTile::SetParam(paramID, value);
    }
}

CGUIValue CGUIButton::GetParam(int32_t paramID)
{
    if (paramID == GUIPARAM_TEXTURE) return CGUIValue(float(m_aiTextures[GUISIT_NORMAL]));
    if (const int32_t i = indexOf(kTextureParams, paramID); i >= 0) return CGUIValue(float(m_aiTextures[i]));
    if (const int32_t i = indexOf(kChildsColorParams, paramID); i >= 0) return CGUIValue(m_aclrChildsColors[i]);
    switch (paramID) {
    case GUIPARAM_SOUND_PRESS: return CGUIValue(float(m_iSoundPress));
    case GUIPARAM_SOUND_CLICK: return CGUIValue(float(m_iSoundClick));
    case GUIPARAM_SOUND_GOTFOCUS: return CGUIValue(float(m_iSoundGotFocus));
    case GUIPARAM_SOUND_LOSTFOCUS: return CGUIValue(float(m_iSoundLostFocus));
    case GUIPARAM_SOUND_HOTKEY: return CGUIValue(float(m_iSoundHotkey));
    case GUIPARAM_ACTIVERECT: return CGUIValue(m_rcActiveRect);
    case GUIPARAM_HOLDTIME_START: return CGUIValue(m_fHoldStart);
    case GUIPARAM_HOLDTIME_INTERVAL: return CGUIValue(m_fHoldInterval);
    default: return CGUIAdvTile::GetParam(paramID);
    }
}

void CGUIButton::ExecuteCommand(int32_t commandID)
{
    EHS_CHECKPOINT(EHS_FILE_TRSGUI_BUTTON);
    if (commandID == GUICMD_ENABLE) {
        if (!m_bEnabled) CTarnisGUI::Instance()->RunAction(m_actOnEnable);
        m_bEnabled = true;
    } else if (commandID == GUICMD_DISABLE) {
        if (m_bEnabled) CTarnisGUI::Instance()->RunAction(m_actOnDisable);
        m_bEnabled = false;
    } else {
        CGUIAdvTile::ExecuteCommand(commandID);
    }
}

int32_t CGUIButton::Situation() const
{
    if (!m_bActive) return GUISIT_DISABLED;
    if (m_iState == GUIBTN_PRESSED) return GUISIT_PRESSED;
    return m_iState == GUIBTN_SELECTED ? GUISIT_SELECTED : GUISIT_NORMAL;
}

int32_t CGUIButton::textureFor(int32_t situation) const
{
    const int32_t texture = m_aiTextures[situation];
    return texture != -1 ? texture : m_aiTextures[GUISIT_NORMAL];
}

void CGUIButton::Update(const GUIRECT& parentRect, const GUIRECT& parentColor, bool parentShown, bool parentActive,
                        float scrollX, float scrollY)
{
    EHS_CHECKPOINT(EHS_FILE_TRSGUI_BUTTON);
    UpdateOwnState(parentRect, parentColor, parentShown, parentActive, scrollX, scrollY);
    m_rcCurActiveRect = PlaceRect(parentRect, m_rcActiveRect, scrollX, scrollY);

    m_iState = GUIBTN_NORMAL;
    const bool over = GUIPointInRect(GetMousePos(), m_rcCurActiveRect);
    if (m_bActive && m_bShown && takesMouse()) {
        CTarnis* t = CTarnis::Instance();
        if (over && t->INP_MouseIsKeyClicked(1)) m_bPressedLatch = true;
        if (!t->INP_MouseIsKeyPressed(1)) m_bPressedLatch = false;
        if (over)
            m_iState = m_bPressedLatch ? GUIBTN_PRESSED : GUIBTN_SELECTED;
        else if (m_bPressedLatch)
            m_iState = GUIBTN_SELECTED;
        runEvents();
        m_iPrevState = m_iState;
    }
    if (m_bShown) {
        m_clrChildsCur = GUIColorMul(m_clrCurColor, childsColorFor(Situation()));
        CheckTip(over);
    }
    UpdateChildrenWith(m_rcCurRect, m_clrChildsCur, m_bShown, m_bActive, 0.0f, 0.0f);
}

void CGUIButton::onRelease()
{
    PlaySound(m_iSoundPress);
    CTarnisGUI::Instance()->RunAction(m_actOnPress);
}

void CGUIButton::runEvents()
{
    CTarnisGUI* gui = CTarnisGUI::Instance();
    const int32_t s = m_iState, p = m_iPrevState;
    if (s == GUIBTN_SELECTED && p == GUIBTN_PRESSED && !m_bPressedLatch) onRelease();
    if (repeatsHold() && m_actOnHold.IsSet()) {
        if (s == GUIBTN_PRESSED) {
            m_fHoldTimer += CTarnisGUI::GetFrameTime();
            if (!m_bHoldRepeating && m_fHoldTimer >= m_fHoldStart) {
                m_fHoldTimer = 0.0f;
                m_bHoldRepeating = true;
            } else if (m_bHoldRepeating && m_fHoldTimer >= m_fHoldInterval) {
                m_fHoldTimer = 0.0f;
                gui->RunAction(m_actOnHold);
            }
        } else {
            m_fHoldTimer = 0.0f;
            m_bHoldRepeating = false;
        }
    }
    if (s == GUIBTN_PRESSED && p != GUIBTN_PRESSED) {
        PlaySound(m_iSoundClick);
        gui->RunAction(m_onClick);
    }
    if (s != GUIBTN_NORMAL && p == GUIBTN_NORMAL) {
        PlaySound(m_iSoundGotFocus);
        gui->RunAction(m_onGotFocus);
    } else if (s == GUIBTN_NORMAL && p != GUIBTN_NORMAL) {
        PlaySound(m_iSoundLostFocus);
        gui->RunAction(m_onLostFocus);
    }
    if (m_uHotkey != 0 && CTarnis::Instance()->INP_KeyboardIsKeyClicked(m_uHotkey)) {
        PlaySound(m_iSoundHotkey);
        gui->RunAction(m_onHotkey);
    }
}

void CGUIButton::Render()
{
    EHS_CHECKPOINT(EHS_FILE_TRSGUI_BUTTON);
    if (!m_bShown) return;
    // Without a normal texture (-1) whatever texture is bound stays, as for a tile without one.
    RenderTile(textureFor(Situation()));
    RenderChildren();
}

CGUIElement* TRSGUI_CreateButton(const std::string& id)
{
    return new CGUIButton(id);
}
