// The class "animtile": a tile whose colour, place, scale, angle and texture
// frame follow Bézier curves over a cycle, looping or holding on the last
// state; commands 5 and 6 play one cycle and then hide and disable it.
#pragma once

#include <vector>

#include "gui/classes/trsgui_stdclass_tile.h"

// The animated tile's own commands (1 to 4 are the base ones).
enum : int32_t {
    GUICMD_ANIMTILE_PLAYONCE = 5,
    GUICMD_ANIMTILE_PLAYONCE_UNLESS_PLAYING = 6,
};

class CGUIAnimTile : public CGUITile {
public:
    explicit CGUIAnimTile(const std::string& id);
    void SetParam(int32_t paramID, const CGUIValue& value) override;
    CGUIValue GetParam(int32_t paramID) override;
    void ExecuteCommand(int32_t commandID) override;
    void Update(const GUIRECT& parentRect, const GUIRECT& parentColor, bool parentShown, bool parentActive,
                float scrollX, float scrollY) override;
    void Render() override;

    // The frames' texture IDs from an enumeration whose item values are
    // texture string IDs (demanded). On an error the frames stay as they were.
    void SetFrames(const CGUIEnum* frames);

    // Values that no parameter set start neutral: white, at the parent's
    // origin, unscaled, unrotated, a one-second cycle.
    GUIRECT m_clrBegin{1.0f, 1.0f, 1.0f, 1.0f};
    GUIRECT m_clrMiddle{1.0f, 1.0f, 1.0f, 1.0f};
    GUIRECT m_clrEnd{1.0f, 1.0f, 1.0f, 1.0f};
    GUIPOINT m_ptBegin, m_ptMiddle, m_ptEnd;
    // Rotation and scaling centre, relative to the current rect's top left.
    GUIPOINT m_ptCenter;
    float m_fScaleBegin = 1.0f, m_fScaleMiddle = 1.0f, m_fScaleEnd = 1.0f;
    float m_fAngleBegin = 0.0f, m_fAngleMiddle = 0.0f, m_fAngleEnd = 0.0f;
    std::vector<int32_t> m_vecFrames;
    // Always positive.
    float m_fCycleTime = 1.0f;
    bool m_bLooped = false;
    bool m_bNoParentEnabled = false;
    bool m_bPlayOnce = false;
    float m_fElapsed = 0.0f;

    // Derived by Update.
    float m_fPhase = 0.0f;
    GUIPOINT m_ptRotCenter;
    float m_fCurScale = 1.0f;
    float m_fCurAngle = 0.0f;
    int32_t m_iFrame = 0;
};
