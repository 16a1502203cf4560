// The scroll box: children updated with the scroll offsets and, out of view,
// with their flags off; drawn inside a clip of the box's rect.
#include "gui/classes/trsgui_stdclass_scrollbox.h"

#include "engine/core/ctarnis.h"
#include "gui/classes/trsgui_scopes.h"
#include "gui/classes/trsgui_stdclasses.h"
#include "gui/trsgui_ctarnisgui.h"
#include "gui/trsgui_fileids.h"

CGUIScrollBox::CGUIScrollBox(const std::string& id) : CGUIElement(id) {}

void CGUIScrollBox::SetParam(int32_t paramID, const CGUIValue& value)
{
    EHS_CHECKPOINT(EHS_FILE_TRSGUI_SCROLLBOX);
    switch (paramID) {
    case GUIPARAM_SCROLLX: m_fScrollX = value.GetFloat(); return;
    case GUIPARAM_SCROLLY: m_fScrollY = value.GetFloat(); return;
    default: CGUIElement::SetParam(paramID, value);
    }
}

CGUIValue CGUIScrollBox::GetParam(int32_t paramID)
{
    switch (paramID) {
    case GUIPARAM_SCROLLX: return CGUIValue(m_fScrollX);
    case GUIPARAM_SCROLLY: return CGUIValue(m_fScrollY);
    default: return CGUIElement::GetParam(paramID);
    }
}

void CGUIScrollBox::UpdateChildren()
{
    if (!m_bShown && !m_bActive) return;
    const GUIRECT view{0.0f, 0.0f, m_rcCoords.width, m_rcCoords.height};
    const size_t count = beginWalk();
    try {
        for (size_t i = 0; i < count; ++i) {
            CGUIElement* child = m_vecChildren[i];
            const GUIRECT& c = child->m_rcCoords;
            const bool inView =
                GUIRectsOverlap(GUIRECT{c.x - m_fScrollX, c.y - m_fScrollY, c.width, c.height}, view);
            child->Update(m_rcCurRect, m_clrCurColor, inView && m_bShown, inView && m_bActive, m_fScrollX,
                          m_fScrollY);
        }
    } catch (...) {
        endWalk();
        throw;
    }
    endWalk();
}

void CGUIScrollBox::Update(const GUIRECT& parentRect, const GUIRECT& parentColor, bool parentShown,
                           bool parentActive, float scrollX, float scrollY)
{
    EHS_CHECKPOINT(EHS_FILE_TRSGUI_SCROLLBOX);
    // The standard update; its children's walk is this class's own.
    StandardUpdate(parentRect, parentColor, parentShown, parentActive, scrollX, scrollY);
}

void CGUIScrollBox::Render()
{
    EHS_CHECKPOINT(EHS_FILE_TRSGUI_SCROLLBOX);
    if (!m_bShown) return;
    CGUIClipScope clip(m_rcCurRect);
    RenderChildren();
}

CGUIElement* TRSGUI_CreateScrollBox(const std::string& id)
{
    return new CGUIScrollBox(id);
}
