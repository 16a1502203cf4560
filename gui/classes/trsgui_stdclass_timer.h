// The "timer" element: runs handlers from the GUI's clock while it is active,
// one every frame, one with a 0-to-1 progress factor over a set time, and one
// at random intervals drawn in tenths of a second.
#pragma once

#include "gui/trsgui_cguielement.h"

// Draws a new random wait (restarting it).
constexpr int32_t GUICMD_TIMER_NEWRANDOM = 13;

class CGUITimer : public CGUIElement {
public:
    explicit CGUITimer(const std::string& id);
    void SetParam(int32_t paramID, const CGUIValue& value) override;
    CGUIValue GetParam(int32_t paramID) override;
    void ExecuteCommand(int32_t commandID) override;
    void Update(const GUIRECT& parentRect, const GUIRECT& parentColor, bool parentShown, bool parentActive,
                float scrollX, float scrollY) override;

    // The random wait: from the minimum up to, not including, the maximum, in tenths.
    void DrawNextRandomTime();

    float m_fFactorTime = 1.0f;
    bool m_bFactorLooped = false;
    float m_fRandomMinTime = 0.0f;
    float m_fRandomMaxTime = 0.1f;
    CGUIAction m_actOnPermanent;
    CGUIAction m_actOnFactor;
    CGUIAction m_actOnRandom;
    float m_fFactorElapsed = 0.0f;
    float m_fRandomElapsed = 0.0f;
    float m_fNextRandomTime = 0.1f;
};
