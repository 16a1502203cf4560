// The quadratic Bézier curve the animated classes (animated tiles, windows)
// move their colours, places, scales and angles along: begin at t = 0, end at
// t = 1, the middle value a control point reached only when it lies halfway.
#pragma once

#include "gui/trsgui_datatypes.h"

inline float GUIBezier(float begin, float middle, float end, float t)
{
    const float s = 1.0f - t;
    return s * s * begin + 2.0f * s * t * middle + t * t * end;
}

inline GUIPOINT GUIBezier(const GUIPOINT& begin, const GUIPOINT& middle, const GUIPOINT& end, float t)
{
    return GUIPOINT{GUIBezier(begin.x, middle.x, end.x, t), GUIBezier(begin.y, middle.y, end.y, t)};
}

inline GUIRECT GUIBezier(const GUIRECT& begin, const GUIRECT& middle, const GUIRECT& end, float t)
{
    return GUIRECT{GUIBezier(begin.x, middle.x, end.x, t), GUIBezier(begin.y, middle.y, end.y, t),
                   GUIBezier(begin.width, middle.width, end.width, t),
                   GUIBezier(begin.height, middle.height, end.height, t)};
}
