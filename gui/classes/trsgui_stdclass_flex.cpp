// The flex element: position, colour and flags from the parent, then the
// game's on_update every frame whatever the flags; on_redraw only when shown.
#include "gui/classes/trsgui_stdclass_flex.h"

#include "engine/core/ctarnis.h"
#include "gui/classes/trsgui_stdclasses.h"
#include "gui/trsgui_ctarnisgui.h"
#include "gui/trsgui_fileids.h"

CGUIFlex::CGUIFlex(const std::string& id) : CGUIElement(id) {}

void CGUIFlex::SetParam(int32_t paramID, const CGUIValue& value)
{
    EHS_CHECKPOINT(EHS_FILE_TRSGUI_FLEX);
    switch (paramID) {
    case GUIPARAM_ON_UPDATE: m_actOnUpdate.SetFromValue(value); return;
    case GUIPARAM_ON_REDRAW: m_actOnRedraw.SetFromValue(value); return;
    default: CGUIElement::SetParam(paramID, value);
    }
}

void CGUIFlex::Update(const GUIRECT& parentRect, const GUIRECT& parentColor, bool parentShown, bool parentActive,
                      float scrollX, float scrollY)
{
    EHS_CHECKPOINT(EHS_FILE_TRSGUI_FLEX);
    UpdateOwnState(parentRect, parentColor, parentShown, parentActive, scrollX, scrollY);
    // Even when hidden: the game keeps its own state in step with the rect.
    CTarnisGUI::Instance()->RunAction(m_actOnUpdate, {CGUIValue(m_rcCurRect), CGUIValue(m_clrCurColor),
                                                      CGUIValue(m_bShown), CGUIValue(m_bActive)});
}

void CGUIFlex::Render()
{
    if (m_bShown) CTarnisGUI::Instance()->RunAction(m_actOnRedraw);
}

CGUIElement* TRSGUI_CreateFlex(const std::string& id)
{
    return new CGUIFlex(id);
}
