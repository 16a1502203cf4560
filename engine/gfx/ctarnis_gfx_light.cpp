// Dynamic lighting: the CPU tint applied to the current quad before it is
// queued. Techniques choose the mode and the ambient colour; the lights manager
// stays empty, so vertex mode paints the ambient colour and Dot3 has no light.
#include "engine/core/ctarnis.h"

namespace {

constexpr int32_t kFileID = EHS_FILE_GFX_LIGHT;

// Lit colour component to a byte: saturating, rounded to nearest.
uint32_t litByte(float c)
{
    if (c >= 1.0f) return 255;
    if (c > 0.0f) return uint32_t(c * 255.0f + 0.5f);
    return 0; // also NaN
}

} // namespace

void CTarnis::GFX_SetDynLightMode(int32_t mode)
{
    m_iDynLightMode = mode;
}

void CTarnis::GFX_ApplyDynLighting()
{
    if (m_iDynLightMode == 1) {
        // Every light of the (empty) manager would add to the ambient colour.
        const uint32_t rgb = litByte(m_fAmbientR) << 16 | litByte(m_fAmbientG) << 8 | litByte(m_fAmbientB);
        for (int i = 0; i < 4; ++i) m_QuadVertices[i].diffuse = litByte(m_fQuadAlpha[i]) << 24 | rgb;
    } else if (m_iDynLightMode == 2 && m_VideoCardCaps.Dot3) {
        EHS_CHECKPOINT(kFileID);
        if (!m_pLightsManager || !m_pLightsManager->IsValidID(m_iDot3Light))
            EHS_THROW(EHS_TYPE_GENERAL, 0, "Wrong Dot3 light specified!");
    }
}
