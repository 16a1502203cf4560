// The class "checkbox": a button with a checked flag, a second set of
// textures and children colours for the checked state, and check/uncheck
// events. A checked radio box ignores the mouse; unchecking the other boxes
// of a radio group is the job of the on_check handlers.
#pragma once

#include "gui/classes/trsgui_stdclass_button.h"

enum : int32_t {
    GUICMD_CHECK = 7,
    GUICMD_UNCHECK = 8,
};

class CGUICheckBox : public CGUIButton {
public:
    explicit CGUICheckBox(const std::string& id);
    void SetParam(int32_t paramID, const CGUIValue& value) override;
    CGUIValue GetParam(int32_t paramID) override;
    void ExecuteCommand(int32_t commandID) override;

    bool m_bChecked = false;
    bool m_bRadio = false;
    // Indexed by situation (GUISIT_*).
    int32_t m_aiCheckedTextures[4] = {-1, -1, -1, -1};
    GUIRECT m_aclrCheckedChildsColors[4] = {{1, 1, 1, 1}, {1, 1, 1, 1}, {1, 1, 1, 1}, {1, 1, 1, 1}};
    CGUIAction m_actOnCheck;
    CGUIAction m_actOnUncheck;
    int32_t m_iSoundCheck = -1;
    int32_t m_iSoundUncheck = -1;

protected:
    bool takesMouse() const override { return !(m_bChecked && m_bRadio); }
    // Release toggles: command 7 when unchecked, 8 when checked.
    void onRelease() override;
    bool repeatsHold() const override { return false; }
    const GUIRECT& childsColorFor(int32_t situation) const override;
    // Checked: the checked texture of the situation, else the checked normal
    // one, else the unchecked textures.
    int32_t textureFor(int32_t situation) const override;
};
