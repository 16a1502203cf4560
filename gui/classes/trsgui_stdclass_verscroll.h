// The class "verscroll": a scroll bar along y (length = height).
#pragma once

#include "gui/classes/trsgui_stdclass_scrollbar.h"

class CGUIVerScroll : public CGUIScrollBar {
public:
    explicit CGUIVerScroll(const std::string& id) : CGUIScrollBar(id) {}
    void RecalcSlider() override { recalcSliderAlong(1); }
    void ValueFromSlider() override { valueFromSliderAlong(1); }
    void MoveSlider() override { moveSliderAlong(1); }

protected:
    int axis() const override { return 1; }
};
