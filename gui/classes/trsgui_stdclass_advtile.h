// The class "advtile": a tile that reacts to the mouse (focus gained and lost,
// clicks of the left button) and to a hotkey; the base of buttons. "Focus"
// means the mouse cursor is over the element.
#pragma once

#include "gui/classes/trsgui_stdclass_tile.h"

class CGUIAdvTile : public CGUITile {
public:
    explicit CGUIAdvTile(const std::string& id);
    void SetParam(int32_t paramID, const CGUIValue& value) override;
    CGUIValue GetParam(int32_t paramID) override;
    // The standard update, then, while shown and active, the focus, click
    // and hotkey handlers.
    void Update(const GUIRECT& parentRect, const GUIRECT& parentColor, bool parentShown, bool parentActive,
                float scrollX, float scrollY) override;

    CGUIAction m_onGotFocus;
    CGUIAction m_onLostFocus;
    CGUIAction m_onClick;
    CGUIAction m_onHotkey;
    // Keyboard key code, 0 for none.
    uint8_t m_uHotkey = 0;
    // The mouse was over the element in this frame's update, and in the one before.
    bool m_bMouseOver = false;
    bool m_bPrevMouseOver = false;
};
