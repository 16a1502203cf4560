// The class "textbox": a label that takes typed text while it has input
// focus (a click in its active rect gives it, a click elsewhere, button 2 or
// Enter takes it away) and shows a blinking caret after the text.
#pragma once

#include "gui/classes/trsgui_stdclass_label.h"

class CGUITextBox : public CGUILabel {
public:
    explicit CGUITextBox(const std::string& id);
    void SetParam(int32_t paramID, const CGUIValue& value) override;
    CGUIValue GetParam(int32_t paramID) override;
    // 3 takes the input focus (and runs on_enable even when it had it), 4 drops it.
    void ExecuteCommand(int32_t commandID) override;
    void Update(const GUIRECT& parentRect, const GUIRECT& parentColor, bool parentShown, bool parentActive,
                float scrollX, float scrollY) override;
    // Draws the displayed text (the text and, while the caret is on, the caret text).
    void Render() override;

    GUIRECT m_rcActiveRect;
    GUIRECT m_rcCurActiveRect;
    CGUIAction m_actOnInput;
    CGUIAction m_actOnEnable;
    CGUIAction m_actOnDisable;
    float m_fBlinkTime = 0.4f;
    std::string m_strBlinkChar;
    int32_t m_iMaxChars = 100;
    // 1 takes characters by the English key map; any other value takes none.
    int32_t m_iLanguage = 1;
    int32_t m_iSoundInput = -1;
    float m_fBlinkTimer = 0.0f;
    bool m_bCaretOn = false;
    std::string m_strDisplayed;

private:
    void typing();
    void showText();
};
