// The class "button": an advanced tile that follows the mouse through three
// visual states (normal, selected, pressed) with a texture and a children
// colour per state, and raises press, release, hold, enter, leave and hotkey
// events with their sounds inside its active rect. The base of check boxes.
#pragma once

#include "gui/classes/trsgui_stdclass_advtile.h"

// Visual states, and the situations that pick a texture and a children colour.
enum : int32_t {
    GUIBTN_NORMAL = 1,
    GUIBTN_SELECTED = 2,
    GUIBTN_PRESSED = 3,
};
enum : int32_t {
    GUISIT_NORMAL = 0,
    GUISIT_DISABLED = 1,
    GUISIT_SELECTED = 2,
    GUISIT_PRESSED = 3,
};

class CGUIButton : public CGUIAdvTile {
public:
    explicit CGUIButton(const std::string& id);
    void SetParam(int32_t paramID, const CGUIValue& value) override;
    CGUIValue GetParam(int32_t paramID) override;
    void ExecuteCommand(int32_t commandID) override;
    void Update(const GUIRECT& parentRect, const GUIRECT& parentColor, bool parentShown, bool parentActive,
                float scrollX, float scrollY) override;
    void Render() override;

    // Disabled when not active, else by the visual state.
    int32_t Situation() const;

    // Indexed by situation (GUISIT_*).
    int32_t m_aiTextures[4] = {-1, -1, -1, -1};
    GUIRECT m_aclrChildsColors[4] = {{1, 1, 1, 1}, {1, 1, 1, 1}, {1, 1, 1, 1}, {1, 1, 1, 1}};
    CGUIAction m_actOnPress;
    CGUIAction m_actOnHold;
    CGUIAction m_actOnEnable;
    CGUIAction m_actOnDisable;
    int32_t m_iSoundPress = -1;
    int32_t m_iSoundClick = -1;
    int32_t m_iSoundGotFocus = -1;
    int32_t m_iSoundLostFocus = -1;
    int32_t m_iSoundHotkey = -1;
    // x, y relative to the parent like coords; follows coords while it has no area.
    GUIRECT m_rcActiveRect;
    GUIRECT m_rcCurActiveRect;
    float m_fHoldStart = 0.0f;
    float m_fHoldInterval = 0.0f;
    float m_fHoldTimer = 0.0f;
    bool m_bHoldRepeating = false;
    int32_t m_iState = GUIBTN_NORMAL;
    int32_t m_iPrevState = GUIBTN_NORMAL;
    // Set by a click of button 1 over the active rect, cleared whenever button 1 is up.
    bool m_bPressedLatch = false;
    GUIRECT m_clrChildsCur{1, 1, 1, 1};

protected:
    // What a class derived from the button changes.
    // False while the mouse is to be ignored (a checked radio box).
    virtual bool takesMouse() const { return true; }
    // Button 1 came up over the active rect after a press on it.
    virtual void onRelease();
    virtual bool repeatsHold() const { return true; }
    virtual const GUIRECT& childsColorFor(int32_t situation) const { return m_aclrChildsColors[situation]; }
    // A state texture of -1 falls back to the normal texture.
    virtual int32_t textureFor(int32_t situation) const;

    void runEvents();
};
