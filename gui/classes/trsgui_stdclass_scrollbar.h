// The scroll bars: the shared base of "horscroll" and "verscroll", a tile
// that draws and moves a slider over an integer range, steps with the wheel
// and the page keys inside its active rect and reports changes in on_scroll.
// The two classes differ only in the axis.
#pragma once

#include "gui/classes/trsgui_stdclass_tile.h"

// Scroll-bar commands: steps of the scroll speed and pages of the page size.
enum : int32_t {
    GUICMD_SCROLL_STEPFORWARD = 9,
    GUICMD_SCROLL_STEPBACK = 10,
    GUICMD_SCROLL_PAGEFORWARD = 11,
    GUICMD_SCROLL_PAGEBACK = 12,
};

class CGUIScrollBar : public CGUITile {
public:
    explicit CGUIScrollBar(const std::string& id);
    void SetParam(int32_t paramID, const CGUIValue& value) override;
    CGUIValue GetParam(int32_t paramID) override;
    void ExecuteCommand(int32_t commandID) override;
    void Update(const GUIRECT& parentRect, const GUIRECT& parentColor, bool parentShown, bool parentActive,
                float scrollX, float scrollY) override;
    void Render() override;

    // Virtual slots added after the element's eight; the base versions do nothing.
    // Slider length and offset from the values.
    virtual void RecalcSlider() {}
    // The current value from the slider offset.
    virtual void ValueFromSlider() {}
    // Clamps the offset, updates the value, runs on_scroll.
    virtual void MoveSlider() {}

    int32_t m_iMinValue = 0;
    int32_t m_iMaxValue = 0;
    int32_t m_iCurValue = 0;
    int32_t m_iPageSize = 0;
    // Steps per second of the wheel and the step commands.
    int32_t m_iScrollSpeed = 100;
    bool m_bFixedSlider = false;
    int32_t m_iSliderSize = 0;
    // Slider textures by situation (GUISIT_* order: normal, disabled, selected, pressed).
    int32_t m_aiTextures[4] = {-1, -1, -1, -1};
    CGUIAction m_actOnScroll;
    CGUIAction m_actOnGotFocus;
    CGUIAction m_actOnLostFocus;
    // Where the wheel and the page keys act; follows coords while it has no area.
    GUIRECT m_rcActiveRect;
    GUIRECT m_rcCurActiveRect;
    float m_fSliderLength = 0.0f;
    float m_fSliderOffset = 0.0f;
    GUIRECT m_rcSlider;
    bool m_bDragging = false;
    bool m_bOverSlider = false;
    bool m_bOverBar = false;
    bool m_bPrevOverBar = false;
    // The step being made comes from the wheel (tripled).
    bool m_bWheelStep = false;

protected:
    // The axis of a derived class: 0 horizontal (x, width), 1 vertical (y, height).
    virtual int axis() const { return 0; }
    // The slots' work along the given axis.
    void recalcSliderAlong(int axis);
    void valueFromSliderAlong(int axis);
    void moveSliderAlong(int axis);

private:
    void clampValue();
    void placeSlider();
    // Runs on_scroll unless it is running already (a handler that sets
    // curvalue from inside would otherwise call itself without end).
    void runOnScroll();
    bool m_bInOnScroll = false;
};
