// The root element "DESKTOP": the whole screen, visible and enabled from the
// start; it draws nothing itself and passes its own rect and colour down.
#pragma once

#include "gui/trsgui_cguielement.h"

class CGUIDesktop : public CGUIElement {
public:
    explicit CGUIDesktop(const std::string& id);
    void Update(const GUIRECT& parentRect, const GUIRECT& parentColor, bool parentShown, bool parentActive,
                float scrollX, float scrollY) override;
    void Render() override;
};
