// The class "horscroll": a scroll bar along x (length = width).
#pragma once

#include "gui/classes/trsgui_stdclass_scrollbar.h"

class CGUIHorScroll : public CGUIScrollBar {
public:
    explicit CGUIHorScroll(const std::string& id) : CGUIScrollBar(id) {}
    void RecalcSlider() override { recalcSliderAlong(0); }
    void ValueFromSlider() override { valueFromSliderAlong(0); }
    void MoveSlider() override { moveSliderAlong(0); }

protected:
    int axis() const override { return 0; }
};
