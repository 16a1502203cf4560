// The viewport clip of list boxes, scroll boxes and labels.
#include "gui/trsgui_clip.h"

#include <algorithm>

#include "engine/core/ctarnis.h"

CGUIClip::CGUIClip(const GUIRECT& rect)
{
    CTarnis* trs = CTarnis::Instance();
    trs->GFX_SceneGetViewport(&m_iX, &m_iY, &m_iWidth, &m_iHeight);
    // 64-bit: a rect far off screen must not wrap around.
    const int64_t left = std::max<int64_t>(m_iX, GUIFloatToInt(rect.x));
    const int64_t top = std::max<int64_t>(m_iY, GUIFloatToInt(rect.y));
    const int64_t right =
        std::min<int64_t>(int64_t(m_iX) + m_iWidth, int64_t(GUIFloatToInt(rect.x)) + GUIFloatToInt(rect.width));
    const int64_t bottom =
        std::min<int64_t>(int64_t(m_iY) + m_iHeight, int64_t(GUIFloatToInt(rect.y)) + GUIFloatToInt(rect.height));
    trs->GFX_SceneSetViewport(int32_t(left), int32_t(top), int32_t(std::max<int64_t>(0, right - left)),
                              int32_t(std::max<int64_t>(0, bottom - top)));
}

CGUIClip::~CGUIClip()
{
    // Only reached with a device (the constructor read the viewport from it),
    // so putting it back cannot fail.
    try {
        CTarnis::Instance()->GFX_SceneSetViewport(m_iX, m_iY, m_iWidth, m_iHeight);
    } catch (...) {
    }
}
