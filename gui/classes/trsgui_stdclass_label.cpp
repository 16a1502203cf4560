// The label: text parameters, measuring for alignment, and drawing with
// optional clipping to the rect.
#include "gui/classes/trsgui_stdclass_label.h"

#include <cmath>

#include "engine/core/ctarnis.h"
#include "gui/classes/trsgui_stdclasses.h"
#include "gui/trsgui_ctarnisgui.h"
#include "gui/trsgui_fileids.h"

CGUILabel::CGUILabel(const std::string& id) : CGUIElement(id)
{
    m_clrColor = GUIRECT{1.0f, 1.0f, 1.0f, 1.0f};
}

void CGUILabel::SetParam(int32_t paramID, const CGUIValue& value)
{
    EHS_CHECKPOINT(EHS_FILE_TRSGUI_LABEL);
    switch (paramID) {
    case GUIPARAM_FONT:
        m_iFont = ValueToFont(value);
        break;
    case GUIPARAM_FONT_COLOR: m_iFontColor = ValueToInt(value); return;
    case GUIPARAM_FONT_ALPHA: m_fFontAlpha = value.GetFloat(); return;
    case GUIPARAM_FONT_SETDEFAULTTECHNIQUE: m_bFontSetDefaultTechnique = value.GetBool(); return;
    case GUIPARAM_FONT_SCALE: m_fFontScale = value.GetFloat(); break;
    case GUIPARAM_FONT_SHIFTX: m_fFontShiftX = value.GetFloat(); break;
    case GUIPARAM_FONT_SHIFTY: m_fFontShiftY = value.GetFloat(); break;
    case GUIPARAM_TEXT: m_strText = value.GetString(); break;
    case GUIPARAM_ALIGNMENT: {
        const int32_t alignment = ValueToInt(value);
        m_iAlignment = alignment >= GUIALIGN_LEFT && alignment <= GUIALIGN_RIGHT ? alignment : GUIALIGN_LEFT;
        break;
    }
    case GUIPARAM_LIMITVIEWPORT: m_bLimitViewport = value.GetBool(); return;
    default: CGUIElement::SetParam(paramID, value); return;
    }
    MeasureText();
}

CGUIValue CGUILabel::GetParam(int32_t paramID)
{
    switch (paramID) {
    case GUIPARAM_FONT: return CGUIValue(float(m_iFont));
    case GUIPARAM_FONT_COLOR: return CGUIValue(float(m_iFontColor));
    case GUIPARAM_FONT_ALPHA: return CGUIValue(m_fFontAlpha);
    case GUIPARAM_FONT_SETDEFAULTTECHNIQUE: return CGUIValue(m_bFontSetDefaultTechnique);
    case GUIPARAM_FONT_SCALE: return CGUIValue(m_fFontScale);
    case GUIPARAM_FONT_SHIFTX: return CGUIValue(m_fFontShiftX);
    case GUIPARAM_FONT_SHIFTY: return CGUIValue(m_fFontShiftY);
    case GUIPARAM_TEXT: return CGUIValue(m_strText);
    case GUIPARAM_ALIGNMENT: return CGUIValue(float(m_iAlignment));
    case GUIPARAM_LIMITVIEWPORT: return CGUIValue(m_bLimitViewport);
    default: return CGUIElement::GetParam(paramID);
    }
}

void CGUILabel::MeasureText()
{
    if (m_iFont == -1 || m_iAlignment == GUIALIGN_LEFT) {
        m_fTextWidth = 0.0f;
        return;
    }
    m_fTextWidth =
        CTarnis::Instance()->GFX_FontGetStringWidth(m_strText.c_str(), m_iFont, m_fFontScale, m_fFontShiftX);
}

float CGUILabel::TextX() const
{
    const GUIRECT& r = m_rcCurRect;
    if (m_iAlignment == GUIALIGN_CENTER) return r.x + std::floor(r.width / 2.0f - m_fTextWidth / 2.0f);
    if (m_iAlignment == GUIALIGN_RIGHT) return r.x + std::floor(r.width - m_fTextWidth);
    return r.x;
}

void CGUILabel::Update(const GUIRECT& parentRect, const GUIRECT& parentColor, bool parentShown, bool parentActive,
                       float scrollX, float scrollY)
{
    m_clrCurColor = GUIColorMul(parentColor, m_clrColor);
    m_fTextAlpha = parentColor.height * m_fFontAlpha;
    m_rcCurRect = GUIRECT{parentRect.x + m_rcCoords.x - scrollX, parentRect.y + m_rcCoords.y - scrollY,
                          m_rcCoords.width, m_rcCoords.height};
    m_bShown = m_bVisible && parentShown;
    m_bActive = m_bEnabled && parentActive;
    CheckTip();
}

void CGUILabel::Render()
{
    if (!m_bShown) return;
    CTarnis* t = CTarnis::Instance();
    if (m_iTechnique != -1 && !m_bFontSetDefaultTechnique) t->GFX_TechApply(m_iTechnique);
    if (m_iFontColor < 0 || m_iFontColor > 9)
        t->GFX_VQuadSetColor(m_clrCurColor.x, m_clrCurColor.y, m_clrCurColor.width, m_clrCurColor.height);
    if (m_iFont == -1) return;
    t->GFX_FontSet(m_iFont);
    CTarnisGUI* gui = CTarnisGUI::Instance();
    GUIRECT previous;
    if (m_bLimitViewport) previous = gui->ClipViewport(m_rcCurRect);
    t->GFX_FontDrawTextEx(m_strText.c_str(), TextX(), m_rcCurRect.y, 0, m_iFontColor, m_fTextAlpha,
                          m_bFontSetDefaultTechnique, m_fFontScale, m_fFontShiftX, m_fFontShiftY);
    if (m_bLimitViewport) gui->RestoreViewport(previous);
}

CGUIElement* TRSGUI_CreateLabel(const std::string& id)
{
    return new CGUILabel(id);
}
