// The element base: the parameters and commands every element has, the
// children's walks and z-order, the standard update and tip hover.
#include "gui/trsgui_cguielement.h"

#include "engine/core/ctarnis.h"
#include "engine/res/ctarnis_utils_demand.h"
#include "gui/trsgui_ctarnisgui.h"
#include "gui/trsgui_fileids.h"

namespace {

std::string idContinuation(int32_t id, const std::string& element)
{
    return std::to_string(id) + "  Element ID = " + element;
}

} // namespace

CGUIElement::CGUIElement(const std::string& id) : m_strID(id) {}

void CGUIElement::SetParent(CGUIElement* parent)
{
    EHS_CHECKPOINT(EHS_FILE_TRSGUI_ELEMENT);
    if (m_pParent && m_pParent != parent)
        EHS_THROW(EHS_TYPE_GAME, 0, "Error in setting GUI element parent: possible element dublication!");
    m_pParent = parent;
    if (parent) parent->m_vecChildren.push_back(this);
}

void CGUIElement::UpdateChildren()
{
    UpdateChildrenWith(m_rcCurRect, m_clrCurColor, m_bShown, m_bActive, 0.0f, 0.0f);
}

void CGUIElement::UpdateChildrenWith(const GUIRECT& rect, const GUIRECT& color, bool shown, bool active, float scrollX,
                                     float scrollY)
{
    if (!m_bShown && !m_bActive) return;
    // By index over the children present now: handlers may append children
    // (no reallocation hazard with indices) and z-order changes wait for endWalk.
    const size_t count = beginWalk();
    try {
        for (size_t i = 0; i < count; ++i) m_vecChildren[i]->Update(rect, color, shown, active, scrollX, scrollY);
    } catch (...) {
        endWalk();
        throw;
    }
    endWalk();
}

void CGUIElement::RenderChildren()
{
    if (!m_bShown) return;
    const size_t count = beginWalk();
    try {
        for (size_t i = 0; i < count; ++i) m_vecChildren[i]->Render();
    } catch (...) {
        endWalk();
        throw;
    }
    endWalk();
}

void CGUIElement::endWalk()
{
    if (--m_iWalkDepth == 0 && m_bResortPending) {
        m_bResortPending = false;
        ResortChildren();
    }
}

void CGUIElement::ResortChildren()
{
    if (m_iWalkDepth > 0) {
        m_bResortPending = true;
        return;
    }
    // Stable: neighbours swap only when the left one is strictly greater.
    const size_t n = m_vecChildren.size();
    for (size_t pass = 0; pass + 1 < n; ++pass) {
        bool swapped = false;
        for (size_t i = 0; i + 1 < n - pass; ++i) {
            if (m_vecChildren[i]->m_iZOrder > m_vecChildren[i + 1]->m_iZOrder) {
                std::swap(m_vecChildren[i], m_vecChildren[i + 1]);
                swapped = true;
            }
        }
        if (!swapped) break;
    }
}

void CGUIElement::SetParam(int32_t paramID, const CGUIValue& value)
{
    EHS_CHECKPOINT(EHS_FILE_TRSGUI_ELEMENT);
    switch (paramID) {
    case GUIPARAM_ZORDER:
        m_iZOrder = ValueToInt(value);
        if (m_pParent) m_pParent->ResortChildren();
        return;
    case GUIPARAM_COORDS:
        m_rcCoords = value.GetRect();
        m_rcCurRect = m_rcCoords;
        return;
    case GUIPARAM_TECHNIQUE:
        if (value.GetType() == GUIVAL_STRING)
            m_iTechnique = CTarnis::Instance()->GFX_TechGetID(value.GetString().c_str());
        else
            m_iTechnique = ValueToInt(value);
        return;
    case GUIPARAM_TEXTURE: m_iTexture = ValueToTexture(value); return;
    case GUIPARAM_COLOR:
        m_clrColor = value.GetRect();
        m_clrCurColor = m_clrColor;
        return;
    case GUIPARAM_VISIBLE: m_bVisible = value.GetBool(); return;
    case GUIPARAM_ENABLED: m_bEnabled = value.GetBool(); return;
    case GUIPARAM_TIP: {
        CTarnisGUI* gui = CTarnisGUI::Instance();
        int32_t tip = -1;
        if (value.GetType() == GUIVAL_STRING) {
            tip = gui->GetElementID(value.GetString());
            if (tip < 0) tip = gui->AddNewElement("tip", value.GetString(), 0);
        } else {
            tip = ValueToInt(value);
        }
        // Any other class is already in the tree: as a tip it would be updated,
        // and its handlers run, twice per frame.
        if (gui->GetElement(tip) && gui->GetElementClass(tip) != "tip")
            EHS_THROW(EHS_TYPE_GAME, 0,
                      "Cannot set GUI element tip: the tip element is not of class tip! Tip ID = " +
                          gui->GetElement(tip)->GetID() + "  Element ID = " + m_strID);
        m_iTip = tip;
        return;
    }
    case GUIPARAM_TAG: m_iTag = ValueToInt(value); return;
    default:
        EHS_THROW(EHS_TYPE_GAME, 0,
                  "Cannot set GUI element param: unknown ID! ID = " + idContinuation(paramID, m_strID));
    }
}

CGUIValue CGUIElement::GetParam(int32_t paramID)
{
    EHS_CHECKPOINT(EHS_FILE_TRSGUI_ELEMENT);
    switch (paramID) {
    case GUIPARAM_ZORDER: return CGUIValue(float(m_iZOrder));
    case GUIPARAM_COORDS: return CGUIValue(m_rcCoords);
    case GUIPARAM_TECHNIQUE: return CGUIValue(float(m_iTechnique));
    case GUIPARAM_TEXTURE: return CGUIValue(float(m_iTexture));
    case GUIPARAM_COLOR: return CGUIValue(m_clrColor);
    case GUIPARAM_VISIBLE: return CGUIValue(m_bVisible);
    case GUIPARAM_ENABLED: return CGUIValue(m_bEnabled);
    case GUIPARAM_TAG: return CGUIValue(float(m_iTag));
    default:
        EHS_THROW(EHS_TYPE_GAME, 0,
                  "Cannot get GUI element param: unknown ID! ID = " + idContinuation(paramID, m_strID));
    }
}

void CGUIElement::ExecuteCommand(int32_t commandID)
{
    EHS_CHECKPOINT(EHS_FILE_TRSGUI_ELEMENT);
    switch (commandID) {
    case GUICMD_SHOW: m_bVisible = true; return;
    case GUICMD_HIDE: m_bVisible = false; return;
    case GUICMD_ENABLE: m_bEnabled = true; return;
    case GUICMD_DISABLE: m_bEnabled = false; return;
    default:
        EHS_THROW(EHS_TYPE_GAME, 0,
                  "Cannot execute GUI element command: unknown ID! ID = " + idContinuation(commandID, m_strID));
    }
}

void CGUIElement::Update(const GUIRECT&, const GUIRECT&, bool, bool, float, float) {}

void CGUIElement::Render() {}

void CGUIElement::UpdateOwnState(const GUIRECT& parentRect, const GUIRECT& parentColor, bool parentShown,
                                 bool parentActive, float scrollX, float scrollY)
{
    m_clrCurColor = GUIColorMul(parentColor, m_clrColor);
    m_rcCurRect = PlaceRect(parentRect, m_rcCoords, scrollX, scrollY);
    m_bShown = m_bVisible && parentShown;
    m_bActive = m_bEnabled && parentActive;
}

void CGUIElement::StandardUpdate(const GUIRECT& parentRect, const GUIRECT& parentColor, bool parentShown,
                                 bool parentActive, float scrollX, float scrollY)
{
    UpdateOwnState(parentRect, parentColor, parentShown, parentActive, scrollX, scrollY);
    CheckTip();
    UpdateChildren();
}

GUIPOINT CGUIElement::GetMousePos()
{
    const POINT p = CTarnis::Instance()->INP_MouseGetCursorPos();
    return GUIPOINT{float(p.x), float(p.y)};
}

void CGUIElement::CheckTip(bool over)
{
    if (m_bShown && m_iTip != -1 && over) CTarnisGUI::Instance()->SetCurTip(m_iTip);
}

int32_t CGUIElement::ValueToTexture(const CGUIValue& value)
{
    if (value.GetType() == GUIVAL_STRING) return DemandTexture(value.GetString().c_str());
    return ValueToInt(value);
}

int32_t CGUIElement::ValueToSound(const CGUIValue& value)
{
    if (value.GetType() == GUIVAL_STRING) return DemandSound(value.GetString().c_str());
    return ValueToInt(value);
}

int32_t CGUIElement::ValueToFont(const CGUIValue& value)
{
    if (value.GetType() == GUIVAL_STRING) return DemandFont(value.GetString().c_str());
    return ValueToInt(value);
}

void CGUIElement::PlaySound(int32_t soundID)
{
    if (soundID != -1) CTarnis::Instance()->SFX_SoundPlay(soundID, false, -1, -1, -101);
}
