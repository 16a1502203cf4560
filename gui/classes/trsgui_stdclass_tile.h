// The class "tile": a textured rectangle drawn with one of eight schemes (one
// stretched quad, three-part bars, nine-part frames), and the base of every
// class that draws a picture (tip, advtile, animtile, the scroll bars).
#pragma once

#include "gui/trsgui_cguielement.h"

class CGUITile : public CGUIElement {
public:
    explicit CGUITile(const std::string& id);
    void SetParam(int32_t paramID, const CGUIValue& value) override;
    CGUIValue GetParam(int32_t paramID) override;
    void Update(const GUIRECT& parentRect, const GUIRECT& parentColor, bool parentShown, bool parentActive,
                float scrollX, float scrollY) override;
    void Render() override;

    // Technique (when set), the given texture on stage 0 (when not -1) and
    // the current colour on the quad: what every quad of the tile draws with.
    void ApplyLook(int32_t texture);
    // ApplyLook, then the quads of the drawing scheme over the current rect;
    // an unknown scheme raises "Invalid drawing scheme. Scheme ID = ...".
    // Children are not drawn.
    void RenderTile(int32_t texture);
    // Only the quads of the drawing scheme over rect (scheme 1 uses `texcoords`).
    void DrawScheme(const GUIRECT& rect);

    // 1 quad, 2 horizontal bar, 3 vertical bar, 4 frame, 5 hollow frame,
    // 6 nothing, 7 middle row, 8 middle column.
    int32_t m_iDrawScheme = 1;
    // Texture width, texture height, border width, border height (texels).
    GUIRECT m_rcDrawParams{64.0f, 64.0f, 16.0f, 16.0f};
    // Border width / texture width and border height / texture height.
    float m_fBorderU = 0.25f;
    float m_fBorderV = 0.25f;
    // Left u, top v, right u, bottom v of scheme 1's quad.
    GUIRECT m_rcTexCoords{0.0f, 0.0f, 1.0f, 1.0f};
};
