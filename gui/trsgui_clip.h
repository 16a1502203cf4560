// Clipping the drawing of an element's content to its rect: the scene
// viewport is narrowed to the rect's intersection with the viewport set now,
// and put back when the clip ends, so nested clips stay inside each other.
#pragma once

#include <cstdint>

#include "gui/trsgui_datatypes.h"

class CGUIClip {
public:
    // The rect's values are truncated to whole pixels.
    explicit CGUIClip(const GUIRECT& rect);
    ~CGUIClip();
    CGUIClip(const CGUIClip&) = delete;
    CGUIClip& operator=(const CGUIClip&) = delete;

private:
    int32_t m_iX = 0, m_iY = 0, m_iWidth = 0, m_iHeight = 0;
};
