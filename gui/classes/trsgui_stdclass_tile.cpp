// The tile: parameters of the drawing schemes and the schemes' quads.
#include "gui/classes/trsgui_stdclass_tile.h"

#include "engine/core/ctarnis.h"
#include "gui/classes/trsgui_stdclasses.h"
#include "gui/trsgui_ctarnisgui.h"
#include "gui/trsgui_fileids.h"

namespace {

// One band of a scheme along one axis: screen position and size, texture from and to.
struct Band {
    float pos, size, t0, t1;
};

// The three bands of a border split (border, stretched middle, border), or one
// band over the whole length with the texture range t0 to t1.
int bandsOf(bool split, float pos, float length, float border, float fraction, float t0, float t1, Band* out)
{
    if (!split) {
        out[0] = Band{pos, length, t0, t1};
        return 1;
    }
    out[0] = Band{pos, border, 0.0f, fraction};
    out[1] = Band{pos + border, length - 2.0f * border, fraction, 1.0f - fraction};
    out[2] = Band{pos + length - border, border, 1.0f - fraction, 1.0f};
    return 3;
}

void drawQuad(CTarnis* t, float u0, float v0, float u1, float v1, float x, float y, float w, float h)
{
    t->GFX_VQuadSetPos(x, y, w, h, 0.5f);
    t->GFX_VQuadSetTexCoords(1, u0, v0, u1, v1);
    t->GFX_SceneRender();
}

} // namespace

CGUITile::CGUITile(const std::string& id) : CGUIElement(id)
{
    m_clrColor = GUIRECT{1.0f, 1.0f, 1.0f, 1.0f};
}

void CGUITile::SetParam(int32_t paramID, const CGUIValue& value)
{
    EHS_CHECKPOINT(EHS_FILE_TRSGUI_TILE);
    switch (paramID) {
    case GUIPARAM_DRAWSCHEME: m_iDrawScheme = ValueToInt(value); return;
    case GUIPARAM_DRAWPARAMS:
        m_rcDrawParams = value.GetRect();
        if (m_rcDrawParams.x <= 0.0f) EHS_THROW(EHS_TYPE_GAME, 0, "Invalid tile texture width!");
        if (m_rcDrawParams.y <= 0.0f) EHS_THROW(EHS_TYPE_GAME, 0, "Invalid tile texture height!");
        m_fBorderU = m_rcDrawParams.width / m_rcDrawParams.x;
        m_fBorderV = m_rcDrawParams.height / m_rcDrawParams.y;
        return;
    case GUIPARAM_TEXCOORDS: m_rcTexCoords = value.GetRect(); return;
    default: CGUIElement::SetParam(paramID, value);
    }
}

CGUIValue CGUITile::GetParam(int32_t paramID)
{
    switch (paramID) {
    case GUIPARAM_DRAWSCHEME: return CGUIValue(float(m_iDrawScheme));
    case GUIPARAM_DRAWPARAMS: return CGUIValue(m_rcDrawParams);
    case GUIPARAM_TEXCOORDS: return CGUIValue(m_rcTexCoords);
    default: return CGUIElement::GetParam(paramID);
    }
}

void CGUITile::Update(const GUIRECT& parentRect, const GUIRECT& parentColor, bool parentShown, bool parentActive,
                      float scrollX, float scrollY)
{
    StandardUpdate(parentRect, parentColor, parentShown, parentActive, scrollX, scrollY);
}

void CGUITile::Render()
{
    if (!m_bShown) return;
    RenderTile(m_iTexture);
    RenderChildren();
}

void CGUITile::ApplyLook(int32_t texture)
{
    CTarnis* t = CTarnis::Instance();
    if (m_iTechnique != -1) t->GFX_TechApply(m_iTechnique);
    if (texture != -1) t->GFX_TexSet(texture, 0);
    t->GFX_VQuadSetColor(m_clrCurColor.x, m_clrCurColor.y, m_clrCurColor.width, m_clrCurColor.height);
}

void CGUITile::RenderTile(int32_t texture)
{
    ApplyLook(texture);
    DrawScheme(m_rcCurRect);
}

void CGUITile::DrawScheme(const GUIRECT& r)
{
    EHS_CHECKPOINT(EHS_FILE_TRSGUI_TILE);
    CTarnis* t = CTarnis::Instance();
    const int32_t scheme = m_iDrawScheme;
    if (scheme == 6) return;
    if (scheme == 1) {
        const GUIRECT& tc = m_rcTexCoords;
        drawQuad(t, tc.x, tc.y, tc.width, tc.height, r.x, r.y, r.width, r.height);
        return;
    }
    if (scheme < 2 || scheme > 8)
        EHS_THROW(EHS_TYPE_GAME, 0,
                  "Invalid drawing scheme. Scheme ID = " + std::to_string(scheme) + " Element ID = " + m_strID);
    const float bu = m_fBorderU, bv = m_fBorderV;
    const float bw = m_rcDrawParams.width, bh = m_rcDrawParams.height;
    // Columns are split by every scheme but the vertical ones; rows by every
    // scheme but the horizontal ones. The middle row and column keep only the
    // texture's inner band across the bar.
    const bool splitColumns = scheme != 3 && scheme != 8;
    const bool splitRows = scheme != 2 && scheme != 7;
    const float u0 = scheme == 8 ? bu : 0.0f, v0 = scheme == 7 ? bv : 0.0f;
    Band cols[3], rows[3];
    const int nc = bandsOf(splitColumns, r.x, r.width, bw, bu, u0, 1.0f - u0, cols);
    const int nr = bandsOf(splitRows, r.y, r.height, bh, bv, v0, 1.0f - v0, rows);
    for (int i = 0; i < nr; ++i) {
        for (int j = 0; j < nc; ++j) {
            if (scheme == 5 && i == 1 && j == 1) continue; // the hollow frame's centre
            const Band& c = cols[j];
            const Band& w = rows[i];
            drawQuad(t, c.t0, w.t0, c.t1, w.t1, c.pos, w.pos, c.size, w.size);
        }
    }
}

CGUIElement* TRSGUI_CreateTile(const std::string& id)
{
    return new CGUITile(id);
}
