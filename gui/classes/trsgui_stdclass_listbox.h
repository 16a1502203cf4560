// The "listbox" element: a virtual list of equal-height cells that the game
// draws in on_redrawcell. It tracks the hovered (selected) and the clicked
// (checked) cell, scrolls by pixels and, when asked, with the arrow keys.
#pragma once

#include "gui/trsgui_cguielement.h"

class CGUIListBox : public CGUIElement {
public:
    explicit CGUIListBox(const std::string& id);
    void SetParam(int32_t paramID, const CGUIValue& value) override;
    CGUIValue GetParam(int32_t paramID) override;
    void Update(const GUIRECT& parentRect, const GUIRECT& parentColor, bool parentShown, bool parentActive,
                float scrollX, float scrollY) override;
    void Render() override;

    // An index outside [0, count) becomes -1; on_selectcell runs on a change.
    void SelectCell(int32_t cell);
    // An index outside [0, count) becomes -1; on_checkcell runs every time.
    void CheckCell(int32_t cell);
    // Clamped to [0, count × cell height − height].
    void SetScrollY(float offset);

    float m_fCellHeight = 1.0f;
    int32_t m_iCellsCount = 0;
    int32_t m_iSelectedCell = -1;
    int32_t m_iCheckedCell = -1;
    float m_fScrollY = 0.0f;
    bool m_bScrollEnabled = false;
    CGUIAction m_actOnSelectCell;
    CGUIAction m_actOnCheckCell;
    CGUIAction m_actOnRedrawCell;
    CGUIAction m_actOnPrepareFrame;
    CGUIAction m_actOnScrollShift;
    int32_t m_iSoundSelectCell = -1;
    int32_t m_iSoundCheckCell = -1;

private:
    void keyboardScroll();
    // Guards against a handler that sets the same cell again from inside.
    bool m_bInSelect = false;
    bool m_bInCheck = false;
};
