// The class "tip": a tile that pops up at the mouse cursor. It stays out of
// its parent's children; the GUI manager updates and draws it while it is the
// current tip, and its show command starts a fade-in.
#pragma once

#include "gui/classes/trsgui_stdclass_tile.h"

class CGUITip : public CGUITile {
public:
    explicit CGUITip(const std::string& id);
    // Records the parent only: the tree never walks a tip.
    void SetParent(CGUIElement* parent) override;
    void SetParam(int32_t paramID, const CGUIValue& value) override;
    CGUIValue GetParam(int32_t paramID) override;
    void ExecuteCommand(int32_t commandID) override;
    // Fades in, follows the cursor (flipped to its left or above it where the
    // tip would leave the screen, never past the top left), ignores the parent.
    void Update(const GUIRECT& parentRect, const GUIRECT& parentColor, bool parentShown, bool parentActive,
                float scrollX, float scrollY) override;

    float m_fAppearTime = 0.3f;
    float m_fCountdown = 0.0f;
    CGUIAction m_onShow;
};
