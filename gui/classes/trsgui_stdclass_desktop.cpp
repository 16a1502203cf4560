// The root element: the screen's rect, drawn only through its children.
#include "gui/classes/trsgui_stdclass_desktop.h"

#include "gui/classes/trsgui_stdclasses.h"
#include "engine/core/ctarnis.h"
#include "gui/trsgui_ctarnisgui.h"
#include "gui/trsgui_fileids.h"

CGUIDesktop::CGUIDesktop(const std::string& id) : CGUIElement(id)
{
    m_rcCoords = GUIRECT{0.0f, 0.0f, float(CTarnisGUI::GetScreenWidth()), float(CTarnisGUI::GetScreenHeight())};
    m_clrColor = GUIRECT{1.0f, 1.0f, 1.0f, 1.0f};
    m_bVisible = true;
    m_bEnabled = true;
}

// The root has no parent: its own values are the starting point of the tree.
void CGUIDesktop::Update(const GUIRECT&, const GUIRECT&, bool, bool, float, float)
{
    EHS_CHECKPOINT(EHS_FILE_TRSGUI_DESKTOP);
    m_clrCurColor = m_clrColor;
    m_rcCurRect = m_rcCoords;
    m_bShown = m_bVisible;
    m_bActive = m_bEnabled;
    UpdateChildren();
}

void CGUIDesktop::Render()
{
    RenderChildren();
}

CGUIElement* TRSGUI_CreateDesktop(const std::string& id)
{
    return new CGUIDesktop(id);
}
