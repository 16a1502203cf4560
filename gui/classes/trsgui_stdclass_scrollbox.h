// The "scrollbox" element: shows its children through a window that the game
// scrolls with scrollx and scrolly, clipped to its rect; children scrolled
// out of view are neither shown nor active, so they cannot be clicked.
#pragma once

#include "gui/trsgui_cguielement.h"

class CGUIScrollBox : public CGUIElement {
public:
    explicit CGUIScrollBox(const std::string& id);
    void SetParam(int32_t paramID, const CGUIValue& value) override;
    CGUIValue GetParam(int32_t paramID) override;
    void UpdateChildren() override;
    void Update(const GUIRECT& parentRect, const GUIRECT& parentColor, bool parentShown, bool parentActive,
                float scrollX, float scrollY) override;
    void Render() override;

    float m_fScrollX = 0.0f;
    float m_fScrollY = 0.0f;
};
