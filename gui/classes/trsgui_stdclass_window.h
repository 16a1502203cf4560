// The class "window": the container of a screen or panel. It draws nothing
// itself; it shows and hides its subtree with a transition of colour and
// place, plays sounds and runs handlers, and keeps its children inactive
// until it is fully shown.
#pragma once

#include "gui/trsgui_cguielement.h"

// The window's states.
enum : int32_t {
    GUIWINDOW_HIDDEN = 1,
    GUIWINDOW_SHOWING = 2,
    GUIWINDOW_HIDING = 3,
    GUIWINDOW_SHOWN = 4,
};

class CGUIWindow : public CGUIElement {
public:
    explicit CGUIWindow(const std::string& id);
    void SetParam(int32_t paramID, const CGUIValue& value) override;
    CGUIValue GetParam(int32_t paramID) override;
    // 1 show and 2 hide start the transitions (a hide while showing reverses
    // it from where it stands); 3 and 4 run their handlers first.
    void ExecuteCommand(int32_t commandID) override;
    // Visibility comes from the state, not from `visible` and `color`.
    void Update(const GUIRECT& parentRect, const GUIRECT& parentColor, bool parentShown, bool parentActive,
                float scrollX, float scrollY) override;
    void Render() override;

    GUIRECT m_clrHidden{1.0f, 1.0f, 1.0f, 0.0f};
    GUIRECT m_clrMiddle{1.0f, 1.0f, 1.0f, 0.5f};
    GUIRECT m_clrShown{1.0f, 1.0f, 1.0f, 1.0f};
    // Places relative to the parent; they replace coords.x and coords.y.
    GUIPOINT m_ptHidden, m_ptMiddle, m_ptShown;
    // Always positive.
    float m_fShowHideTime = 0.001f;
    CGUIAction m_onHide, m_onShow, m_onEnable, m_onDisable;
    int32_t m_iSoundHide = -1;
    int32_t m_iSoundShow = -1;
    int32_t m_iState = GUIWINDOW_HIDDEN;
    // Runs up while showing and down while hiding, between 0 and the transition time.
    float m_fTimer = 0.0f;
};
