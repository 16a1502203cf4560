// The class "label": one line of text in a bitmap font, aligned left, centred
// or right in its rect, optionally clipped to it; the base of text boxes.
#pragma once

#include "gui/trsgui_cguielement.h"

// Alignments of the label's text.
enum : int32_t {
    GUIALIGN_LEFT = 1,
    GUIALIGN_CENTER = 2,
    GUIALIGN_RIGHT = 3,
};

class CGUILabel : public CGUIElement {
public:
    explicit CGUILabel(const std::string& id);
    void SetParam(int32_t paramID, const CGUIValue& value) override;
    CGUIValue GetParam(int32_t paramID) override;
    // The standard update without children (a label has none of its own).
    void Update(const GUIRECT& parentRect, const GUIRECT& parentColor, bool parentShown, bool parentActive,
                float scrollX, float scrollY) override;
    void Render() override;

    // The text's width in the font, needed only to centre or right-align it (0 otherwise).
    void MeasureText();
    // Where the text starts: the current x moved by the alignment.
    float TextX() const;

    int32_t m_iFont = -1;
    // A colour index of the font's palette (0 to 9), or any other value for the current colour.
    int32_t m_iFontColor = -1;
    float m_fFontAlpha = 1.0f;
    // The font applies its own technique; otherwise the label's technique is applied.
    bool m_bFontSetDefaultTechnique = true;
    float m_fFontScale = 1.0f;
    float m_fFontShiftX = 0.0f;
    float m_fFontShiftY = 0.0f;
    std::string m_strText;
    int32_t m_iAlignment = GUIALIGN_LEFT;
    bool m_bLimitViewport = false;
    float m_fTextWidth = 0.0f;
    // The parent's alpha times `font_alpha`, for palette colours.
    float m_fTextAlpha = 1.0f;
};
