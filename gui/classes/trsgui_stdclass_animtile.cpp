// The animated tile: the cycle's clock, the curves and the frame shown.
#include "gui/classes/trsgui_stdclass_animtile.h"

#include <algorithm>
#include <cmath>

#include "engine/core/ctarnis.h"
#include "engine/res/ctarnis_utils_demand.h"
#include "gui/classes/trsgui_bezier.h"
#include "gui/classes/trsgui_stdclasses.h"
#include "gui/trsgui_ctarnisgui.h"
#include "gui/trsgui_fileids.h"
#include "gui/trsgui_stores.h"

namespace {

// A cycle of no length would never end and divide by zero.
constexpr float kMinCycleTime = 0.001f;
// How far before its end a finished, unlooped animation holds.
constexpr float kHoldBeforeEnd = 0.0001f;

} // namespace

CGUIAnimTile::CGUIAnimTile(const std::string& id) : CGUITile(id) {}

void CGUIAnimTile::SetParam(int32_t paramID, const CGUIValue& value)
{
    EHS_CHECKPOINT(EHS_FILE_TRSGUI_ANIMTILE);
    switch (paramID) {
    case GUIPARAM_COLOR_BEGIN: m_clrBegin = value.GetRect(); return;
    case GUIPARAM_COLOR_MIDDLE: m_clrMiddle = value.GetRect(); return;
    case GUIPARAM_COLOR_END: m_clrEnd = value.GetRect(); return;
    case GUIPARAM_LOCATION_BEGIN: m_ptBegin = value.GetPoint(); return;
    case GUIPARAM_LOCATION_MIDDLE: m_ptMiddle = value.GetPoint(); return;
    case GUIPARAM_LOCATION_END: m_ptEnd = value.GetPoint(); return;
    case GUIPARAM_LOCATION_CENTER: m_ptCenter = value.GetPoint(); return;
    case GUIPARAM_SCALE_BEGIN: m_fScaleBegin = value.GetFloat(); return;
    case GUIPARAM_SCALE_MIDDLE: m_fScaleMiddle = value.GetFloat(); return;
    case GUIPARAM_SCALE_END: m_fScaleEnd = value.GetFloat(); return;
    case GUIPARAM_ANGLE_BEGIN: m_fAngleBegin = value.GetFloat(); return;
    case GUIPARAM_ANGLE_MIDDLE: m_fAngleMiddle = value.GetFloat(); return;
    case GUIPARAM_ANGLE_END: m_fAngleEnd = value.GetFloat(); return;
    case GUIPARAM_ENUM_FRAMES: SetFrames(value.GetEnum()); return;
    case GUIPARAM_TIME_ANIMCYCLE: {
        const float time = value.GetFloat();
        m_fCycleTime = time > 0.0f ? time : kMinCycleTime;
        m_fElapsed = 0.0f;
        return;
    }
    case GUIPARAM_LOOPED: m_bLooped = value.GetBool(); return;
    case GUIPARAM_NOPARENTENABLED: m_bNoParentEnabled = value.GetBool(); return;
    default: CGUITile::SetParam(paramID, value);
    }
}

CGUIValue CGUIAnimTile::GetParam(int32_t paramID)
{
    switch (paramID) {
    case GUIPARAM_COLOR_BEGIN: return CGUIValue(m_clrBegin);
    case GUIPARAM_COLOR_MIDDLE: return CGUIValue(m_clrMiddle);
    case GUIPARAM_COLOR_END: return CGUIValue(m_clrEnd);
    case GUIPARAM_LOCATION_BEGIN: return CGUIValue(m_ptBegin);
    case GUIPARAM_LOCATION_MIDDLE: return CGUIValue(m_ptMiddle);
    case GUIPARAM_LOCATION_END: return CGUIValue(m_ptEnd);
    case GUIPARAM_LOCATION_CENTER: return CGUIValue(m_ptCenter);
    case GUIPARAM_SCALE_BEGIN: return CGUIValue(m_fScaleBegin);
    case GUIPARAM_SCALE_MIDDLE: return CGUIValue(m_fScaleMiddle);
    case GUIPARAM_SCALE_END: return CGUIValue(m_fScaleEnd);
    case GUIPARAM_ANGLE_BEGIN: return CGUIValue(m_fAngleBegin);
    case GUIPARAM_ANGLE_MIDDLE: return CGUIValue(m_fAngleMiddle);
    case GUIPARAM_ANGLE_END: return CGUIValue(m_fAngleEnd);
    case GUIPARAM_TIME_ANIMCYCLE: return CGUIValue(m_fCycleTime);
    case GUIPARAM_LOOPED: return CGUIValue(m_bLooped);
    case GUIPARAM_NOPARENTENABLED: return CGUIValue(m_bNoParentEnabled);
    default: return CGUITile::GetParam(paramID);
    }
}

void CGUIAnimTile::SetFrames(const CGUIEnum* frames)
{
    EHS_CHECKPOINT(EHS_FILE_TRSGUI_ANIMTILE);
    if (!frames) EHS_THROW(EHS_TYPE_GENERAL, 0, "CGUIEnum pointer is NULL!");
    std::vector<int32_t> ids;
    ids.reserve(size_t(frames->GetItemsCount()));
    for (int32_t i = 0; i < frames->GetItemsCount(); ++i) {
        const int32_t id = DemandTexture(frames->GetItemValue(i));
        if (id < 0) EHS_THROW(EHS_TYPE_GENERAL, 0, "Invalid texture ID!");
        ids.push_back(id);
    }
    m_vecFrames.swap(ids);
}

void CGUIAnimTile::ExecuteCommand(int32_t commandID)
{
    switch (commandID) {
    case GUICMD_ENABLE:
        m_bEnabled = true;
        m_bPlayOnce = false;
        return;
    case GUICMD_ANIMTILE_PLAYONCE_UNLESS_PLAYING:
        if (m_bPlayOnce) return;
        [[fallthrough]];
    case GUICMD_ANIMTILE_PLAYONCE:
        m_fElapsed = 0.0f;
        m_bPlayOnce = true;
        m_bEnabled = true;
        m_bVisible = true;
        return;
    default: CGUITile::ExecuteCommand(commandID);
    }
}

void CGUIAnimTile::Update(const GUIRECT& parentRect, const GUIRECT& parentColor, bool parentShown, bool parentActive,
                          float scrollX, float scrollY)
{
    m_bShown = m_bVisible && parentShown && !m_vecFrames.empty();
    m_bActive = m_bEnabled && (m_bNoParentEnabled || parentActive);
    if (m_bActive) m_fElapsed += CTarnisGUI::GetFrameTime();
    if (m_fElapsed >= m_fCycleTime) {
        if (m_bPlayOnce) {
            m_fElapsed = 0.0f;
            m_bVisible = m_bEnabled = m_bShown = m_bActive = false;
            m_bPlayOnce = false;
        } else if (m_bLooped) {
            // One step however long the frame was.
            m_fElapsed = std::fmod(m_fElapsed, m_fCycleTime);
        } else {
            m_fElapsed = std::max(0.0f, m_fCycleTime - kHoldBeforeEnd);
        }
    }
    const float t = m_fElapsed / m_fCycleTime;
    m_fPhase = t;
    m_clrCurColor = GUIColorMul(parentColor, GUIBezier(m_clrBegin, m_clrMiddle, m_clrEnd, t));
    const GUIPOINT at = GUIBezier(m_ptBegin, m_ptMiddle, m_ptEnd, t);
    m_rcCurRect = GUIRECT{parentRect.x + at.x - scrollX, parentRect.y + at.y - scrollY, m_rcCoords.width,
                          m_rcCoords.height};
    m_ptRotCenter = GUIPOINT{m_ptCenter.x + m_rcCurRect.x, m_ptCenter.y + m_rcCurRect.y};
    m_fCurScale = GUIBezier(m_fScaleBegin, m_fScaleMiddle, m_fScaleEnd, t);
    m_fCurAngle = GUIBezier(m_fAngleBegin, m_fAngleMiddle, m_fAngleEnd, t);
    // t stays below 1, but rounding of elapsed / cycle may reach it.
    const int32_t count = int32_t(m_vecFrames.size());
    m_iFrame = count > 0 ? std::min(count - 1, std::max(0, int32_t(float(count) * t))) : 0;
    UpdateChildren();
}

void CGUIAnimTile::Render()
{
    if (!m_bShown) return;
    if (m_iDrawScheme != 1) {
        RenderTile(m_vecFrames[size_t(m_iFrame)]);
    } else {
        CTarnis* t = CTarnis::Instance();
        ApplyLook(m_vecFrames[size_t(m_iFrame)]);
        const GUIRECT& r = m_rcCurRect;
        const GUIRECT& tc = m_rcTexCoords;
        t->GFX_VQuadSetPos(r.x, r.y, r.width, r.height, 0.5f);
        t->GFX_VQuadSetTexCoords(1, tc.x, tc.y, tc.width, tc.height);
        if (m_fCurScale != 1.0f) t->GFX_VQuadScale(m_ptRotCenter.x, m_ptRotCenter.y, m_fCurScale);
        if (m_fCurAngle != 0.0f) t->GFX_VQuadRotate(m_ptRotCenter.x, m_ptRotCenter.y, m_fCurAngle);
        t->GFX_SceneRender();
    }
    RenderChildren();
}

CGUIElement* TRSGUI_CreateAnimTile(const std::string& id)
{
    return new CGUIAnimTile(id);
}
