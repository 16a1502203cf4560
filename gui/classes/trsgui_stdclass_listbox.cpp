// The list box: hover selection, click check and keyboard scrolling in
// Update; the visible cells handed to on_redrawcell, clipped to the box.
#include "gui/classes/trsgui_stdclass_listbox.h"

#include <algorithm>

#include "engine/core/ctarnis.h"
#include "engine/platform/dinput8/dinput8.h"
#include "gui/classes/trsgui_scopes.h"
#include "gui/classes/trsgui_stdclasses.h"
#include "gui/trsgui_ctarnisgui.h"
#include "gui/trsgui_fileids.h"

CGUIListBox::CGUIListBox(const std::string& id) : CGUIElement(id) {}

void CGUIListBox::SetParam(int32_t paramID, const CGUIValue& value)
{
    EHS_CHECKPOINT(EHS_FILE_TRSGUI_LISTBOX);
    switch (paramID) {
    case GUIPARAM_CELLHEIGHT: m_fCellHeight = std::max(1.0f, value.GetFloat()); return;
    case GUIPARAM_CELLSCOUNT:
        m_iCellsCount = std::max(0, ValueToInt(value));
        if (m_iSelectedCell >= m_iCellsCount) m_iSelectedCell = -1;
        if (m_iCheckedCell >= m_iCellsCount) m_iCheckedCell = -1;
        return;
    case GUIPARAM_SELECTEDCELL: SelectCell(ValueToInt(value)); return;
    case GUIPARAM_CHECKEDCELL: CheckCell(ValueToInt(value)); return;
    case GUIPARAM_SCROLLY: SetScrollY(value.GetFloat()); return;
    case GUIPARAM_ON_SELECTCELL: m_actOnSelectCell.SetFromValue(value); return;
    case GUIPARAM_ON_CHECKCELL: m_actOnCheckCell.SetFromValue(value); return;
    case GUIPARAM_ON_REDRAWCELL: m_actOnRedrawCell.SetFromValue(value); return;
    case GUIPARAM_ON_PREPAREFRAME: m_actOnPrepareFrame.SetFromValue(value); return;
    case GUIPARAM_ON_SCROLLSHIFT: m_actOnScrollShift.SetFromValue(value); return;
    case GUIPARAM_SOUND_SELECTCELL: m_iSoundSelectCell = ValueToSound(value); return;
    case GUIPARAM_SOUND_CHECKCELL: m_iSoundCheckCell = ValueToSound(value); return;
    case GUIPARAM_SCROLL_ENABLED: m_bScrollEnabled = value.GetBool(); return;
    default: CGUIElement::SetParam(paramID, value);
    }
}

CGUIValue CGUIListBox::GetParam(int32_t paramID)
{
    switch (paramID) {
    case GUIPARAM_CELLHEIGHT: return CGUIValue(m_fCellHeight);
    case GUIPARAM_CELLSCOUNT: return CGUIValue(float(m_iCellsCount));
    case GUIPARAM_SELECTEDCELL: return CGUIValue(float(m_iSelectedCell));
    case GUIPARAM_CHECKEDCELL: return CGUIValue(float(m_iCheckedCell));
    case GUIPARAM_SCROLLY: return CGUIValue(m_fScrollY);
    case GUIPARAM_SOUND_SELECTCELL: return CGUIValue(float(m_iSoundSelectCell));
    case GUIPARAM_SOUND_CHECKCELL: return CGUIValue(float(m_iSoundCheckCell));
    case GUIPARAM_SCROLL_ENABLED: return CGUIValue(m_bScrollEnabled);
    default: return CGUIElement::GetParam(paramID);
    }
}

void CGUIListBox::SelectCell(int32_t cell)
{
    if (cell < 0 || cell >= m_iCellsCount) cell = -1;
    const bool changed = cell != m_iSelectedCell;
    m_iSelectedCell = cell;
    // A handler that selects a cell from inside only stores it.
    if (!changed || m_bInSelect) return;
    {
        CGUIRunningScope running(m_bInSelect);
        CTarnisGUI::Instance()->RunAction(m_actOnSelectCell);
    }
    if (cell != -1 && m_bActive) PlaySound(m_iSoundSelectCell);
}

void CGUIListBox::CheckCell(int32_t cell)
{
    if (cell < 0 || cell >= m_iCellsCount) cell = -1;
    m_iCheckedCell = cell;
    if (m_bInCheck) return;
    {
        CGUIRunningScope running(m_bInCheck);
        CTarnisGUI::Instance()->RunAction(m_actOnCheckCell);
    }
    if (cell != -1 && m_bActive) PlaySound(m_iSoundCheckCell);
}

void CGUIListBox::SetScrollY(float offset)
{
    offset = std::min(offset, float(m_iCellsCount) * m_fCellHeight - m_rcCoords.height);
    m_fScrollY = std::max(offset, 0.0f);
}

void CGUIListBox::keyboardScroll()
{
    CTarnis* trs = CTarnis::Instance();
    int32_t cell = m_iCheckedCell;
    if (trs->INP_KeyboardIsKeyClicked(DIK_UP))
        cell = std::max(0, cell - 1);
    else if (trs->INP_KeyboardIsKeyClicked(DIK_DOWN))
        cell = std::min(m_iCellsCount - 1, cell + 1);
    else
        return;
    SelectCell(cell);
    m_iCheckedCell = cell;
    // Bring the checked cell into view.
    const float y = float(cell) * m_fCellHeight;
    if (y < m_fScrollY)
        m_fScrollY = y;
    else if (y > m_fScrollY + m_rcCurRect.height - m_fCellHeight)
        m_fScrollY = y - m_rcCurRect.height + m_fCellHeight;
    CTarnisGUI::Instance()->RunAction(m_actOnScrollShift, {CGUIValue(m_fScrollY)});
    CheckCell(m_iCheckedCell);
}

void CGUIListBox::Update(const GUIRECT& parentRect, const GUIRECT& parentColor, bool parentShown, bool parentActive,
                         float scrollX, float scrollY)
{
    EHS_CHECKPOINT(EHS_FILE_TRSGUI_LISTBOX);
    UpdateOwnState(parentRect, parentColor, parentShown, parentActive, scrollX, scrollY);
    CTarnisGUI* gui = CTarnisGUI::Instance();
    if (m_bShown && m_bActive && m_iCellsCount > 0) {
        if (m_bScrollEnabled && m_iCheckedCell != -1) keyboardScroll();
        const GUIPOINT mouse = GetMousePos();
        if (GUIPointInRect(mouse, m_rcCurRect)) {
            const float f = (mouse.y + m_fScrollY - m_rcCurRect.y) / m_fCellHeight;
            // Below the last cell (a box taller than its list) the last cell is hovered.
            const int32_t cell = std::min(GUIFloatToInt(f), m_iCellsCount - 1);
            SelectCell(cell);
            if (CTarnis::Instance()->INP_MouseIsKeyClicked(1)) CheckCell(cell);
        } else {
            SelectCell(-1);
        }
    }
    if (m_bShown)
        gui->RunAction(m_actOnPrepareFrame, {CGUIValue(float(m_iSelectedCell)), CGUIValue(float(m_iCheckedCell)),
                                             CGUIValue(m_clrCurColor), CGUIValue(m_bActive)});
}

void CGUIListBox::Render()
{
    EHS_CHECKPOINT(EHS_FILE_TRSGUI_LISTBOX);
    if (!m_bShown || m_iCellsCount == 0) return;
    const int32_t first = std::max(0, GUIFloatToInt(m_fScrollY / m_fCellHeight));
    if (first >= m_iCellsCount) return;
    int32_t n = GUIFloatToInt((m_rcCurRect.height + m_fCellHeight * 0.5f) / m_fCellHeight) + 1;
    n = std::min(n, m_iCellsCount - first);
    CTarnisGUI* gui = CTarnisGUI::Instance();
    CGUIClipScope clip(m_rcCurRect);
    for (int32_t i = first; i < first + n; ++i) {
        const GUIPOINT at{m_rcCurRect.x, float(i) * m_fCellHeight + m_rcCurRect.y - m_fScrollY};
        gui->RunAction(m_actOnRedrawCell, {CGUIValue(float(i)), CGUIValue(at)});
    }
}

CGUIElement* TRSGUI_CreateListBox(const std::string& id)
{
    return new CGUIListBox(id);
}
