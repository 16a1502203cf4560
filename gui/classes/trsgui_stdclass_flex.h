// The "flex" element: a rectangle whose content the game draws itself. It
// hands its on-screen rect, colour and flags to on_update every frame and
// runs on_redraw when it is drawn (the game board is drawn this way).
#pragma once

#include "gui/trsgui_cguielement.h"

class CGUIFlex : public CGUIElement {
public:
    explicit CGUIFlex(const std::string& id);
    void SetParam(int32_t paramID, const CGUIValue& value) override;
    void Update(const GUIRECT& parentRect, const GUIRECT& parentColor, bool parentShown, bool parentActive,
                float scrollX, float scrollY) override;
    void Render() override;

    CGUIAction m_actOnUpdate;
    CGUIAction m_actOnRedraw;
};
