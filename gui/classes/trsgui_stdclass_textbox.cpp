// The text box: focus by mouse and keys, typing with the English key map,
// Backspace, and the caret's blink.
#include "gui/classes/trsgui_stdclass_textbox.h"

#include <cmath>
#include <utility>

#include "engine/core/ctarnis.h"
#include "engine/platform/dinput8/dinput8.h"
#include "gui/classes/trsgui_stdclasses.h"
#include "gui/trsgui_ctarnisgui.h"
#include "gui/trsgui_fileids.h"

namespace {

// A blink time of 0 or less would never let the caret's timer fall below it.
constexpr float kMinBlinkTime = 0.01f;

} // namespace

CGUITextBox::CGUITextBox(const std::string& id) : CGUILabel(id) {}

void CGUITextBox::SetParam(int32_t paramID, const CGUIValue& value)
{
    EHS_CHECKPOINT(EHS_FILE_TRSGUI_TEXTBOX);
    switch (paramID) {
    case GUIPARAM_COORDS:
        CGUILabel::SetParam(paramID, value);
        if (m_rcActiveRect.width == 0.0f || m_rcActiveRect.height == 0.0f) m_rcActiveRect = m_rcCoords;
        return;
    case GUIPARAM_ACTIVERECT: m_rcActiveRect = value.GetRect(); return;
    case GUIPARAM_TEXT:
        CGUILabel::SetParam(paramID, value);
        m_strDisplayed = m_strText;
        return;
    case GUIPARAM_ON_INPUT: m_actOnInput.SetFromValue(value); return;
    case GUIPARAM_ON_ENABLE: m_actOnEnable.SetFromValue(value); return;
    case GUIPARAM_ON_DISABLE: m_actOnDisable.SetFromValue(value); return;
    case GUIPARAM_BLINK_TIME: {
        const float time = value.GetFloat();
        m_fBlinkTime = time > kMinBlinkTime ? time : kMinBlinkTime;
        return;
    }
    case GUIPARAM_BLINK_CHAR: m_strBlinkChar = value.GetString(); return;
    case GUIPARAM_MAXCHARS: m_iMaxChars = ValueToInt(value); return;
    case GUIPARAM_LANGUAGE: m_iLanguage = ValueToInt(value); return;
    case GUIPARAM_SOUND_INPUT: m_iSoundInput = ValueToSound(value); return;
    default: CGUILabel::SetParam(paramID, value);
    }
}

CGUIValue CGUITextBox::GetParam(int32_t paramID)
{
    switch (paramID) {
    case GUIPARAM_ACTIVERECT: return CGUIValue(m_rcActiveRect);
    case GUIPARAM_BLINK_TIME: return CGUIValue(m_fBlinkTime);
    case GUIPARAM_BLINK_CHAR: return CGUIValue(m_strBlinkChar);
    case GUIPARAM_MAXCHARS: return CGUIValue(float(m_iMaxChars));
    case GUIPARAM_LANGUAGE: return CGUIValue(float(m_iLanguage));
    case GUIPARAM_SOUND_INPUT: return CGUIValue(float(m_iSoundInput));
    default: return CGUILabel::GetParam(paramID);
    }
}

void CGUITextBox::ExecuteCommand(int32_t commandID)
{
    EHS_CHECKPOINT(EHS_FILE_TRSGUI_TEXTBOX);
    if (commandID == GUICMD_ENABLE) {
        CTarnisGUI::Instance()->RunAction(m_actOnEnable);
        m_bEnabled = m_bActive = true;
        // The caret turns on at the next update.
        m_bCaretOn = false;
        m_fBlinkTimer = m_fBlinkTime;
    } else if (commandID == GUICMD_DISABLE) {
        CTarnisGUI::Instance()->RunAction(m_actOnDisable);
        m_bEnabled = m_bActive = false;
        m_bCaretOn = false;
        m_fBlinkTimer = 0.0f;
        m_strDisplayed = m_strText;
    } else {
        CGUILabel::ExecuteCommand(commandID);
    }
}

void CGUITextBox::Update(const GUIRECT& parentRect, const GUIRECT& parentColor, bool parentShown, bool parentActive,
                         float scrollX, float scrollY)
{
    EHS_CHECKPOINT(EHS_FILE_TRSGUI_TEXTBOX);
    UpdateOwnState(parentRect, parentColor, parentShown, parentActive, scrollX, scrollY);
    m_fTextAlpha = parentColor.height * m_fFontAlpha;
    m_rcCurActiveRect = PlaceRect(parentRect, m_rcActiveRect, scrollX, scrollY);
    const bool over = GUIPointInRect(GetMousePos(), m_rcCurActiveRect);
    if (parentActive && m_bShown) {
        CTarnis* t = CTarnis::Instance();
        // Focus commands see the parent's state: a box can take focus only where its parent is active.
        if (t->INP_MouseIsKeyClicked(1)) ExecuteCommand(over ? GUICMD_ENABLE : GUICMD_DISABLE);
        if (t->INP_MouseIsKeyClicked(2) || t->INP_KeyboardIsKeyClicked(DIK_RETURN)) ExecuteCommand(GUICMD_DISABLE);
        m_bActive = m_bEnabled && parentActive;
    }
    if (m_bShown && m_bActive) typing();
    CheckTip(over);
}

void CGUITextBox::typing()
{
    CTarnis* t = CTarnis::Instance();
    bool changed = false;
    const char c = m_iLanguage == 1 ? t->INP_KeyboardGetClickedChar() : 0;
    if (c != 0 && int64_t(m_strText.size()) < int64_t(m_iMaxChars)) {
        m_strText.push_back(c);
        changed = true;
    }
    if (t->INP_KeyboardIsKeyClicked(DIK_BACK) && !m_strText.empty()) {
        m_strText.pop_back();
        changed = true;
    }
    if (changed) {
        PlaySound(m_iSoundInput);
        CTarnisGUI::Instance()->RunAction(m_actOnInput);
        MeasureText();
        showText();
    }
    m_fBlinkTimer += CTarnisGUI::GetFrameTime();
    if (m_fBlinkTimer >= m_fBlinkTime) {
        m_fBlinkTimer = std::fmod(m_fBlinkTimer, m_fBlinkTime);
        m_bCaretOn = !m_bCaretOn;
        showText();
    }
}

void CGUITextBox::showText()
{
    m_strDisplayed = m_strText;
    if (m_bCaretOn) m_strDisplayed += m_strBlinkChar;
}

void CGUITextBox::Render()
{
    // The label draws m_strText: hand it the displayed text for the draw
    // (swapping strings moves no characters), measured without the caret.
    struct Swap {
        std::string& a;
        std::string& b;
        Swap(std::string& x, std::string& y) : a(x), b(y) { std::swap(a, b); }
        ~Swap() { std::swap(a, b); }
    } drawDisplayed(m_strText, m_strDisplayed);
    CGUILabel::Render();
}

CGUIElement* TRSGUI_CreateTextBox(const std::string& id)
{
    return new CGUITextBox(id);
}
