// The check box: checked textures and colours, and the toggle commands that
// run on_check/on_uncheck with the element's tag.
#include "gui/classes/trsgui_stdclass_checkbox.h"

#include "engine/core/ctarnis.h"
#include "gui/classes/trsgui_stdclasses.h"
#include "gui/trsgui_ctarnisgui.h"
#include "gui/trsgui_fileids.h"

namespace {

constexpr int32_t kFirstTexture = GUIPARAM_TEXTURE_CHECKED_NORMAL;
constexpr int32_t kFirstChildsColor = GUIPARAM_CHILDSCOLOR_CHECKED_NORMAL;

} // namespace

CGUICheckBox::CGUICheckBox(const std::string& id) : CGUIButton(id) {}

// The checked tables follow the situation order in consecutive parameter IDs.
void CGUICheckBox::SetParam(int32_t paramID, const CGUIValue& value)
{
    EHS_CHECKPOINT(EHS_FILE_TRSGUI_CHECKBOX);
    if (paramID >= kFirstTexture && paramID < kFirstTexture + 4) {
        m_aiCheckedTextures[paramID - kFirstTexture] = ValueToTexture(value);
        return;
    }
    if (paramID >= kFirstChildsColor && paramID < kFirstChildsColor + 4) {
        m_aclrCheckedChildsColors[paramID - kFirstChildsColor] = value.GetRect();
        return;
    }
    switch (paramID) {
    case GUIPARAM_CHECKED: m_bChecked = value.GetBool(); return;
    case GUIPARAM_RADIOBUTTON: m_bRadio = value.GetBool(); return;
    case GUIPARAM_ON_CHECK: m_actOnCheck.SetFromValue(value); return;
    case GUIPARAM_ON_UNCHECK: m_actOnUncheck.SetFromValue(value); return;
    case GUIPARAM_SOUND_CHECK: m_iSoundCheck = ValueToSound(value); return;
    case GUIPARAM_SOUND_UNCHECK: m_iSoundUncheck = ValueToSound(value); return;
    default: CGUIButton::SetParam(paramID, value);
    }
}

CGUIValue CGUICheckBox::GetParam(int32_t paramID)
{
    if (paramID >= kFirstTexture && paramID < kFirstTexture + 4)
        return CGUIValue(float(m_aiCheckedTextures[paramID - kFirstTexture]));
    if (paramID >= kFirstChildsColor && paramID < kFirstChildsColor + 4)
        return CGUIValue(m_aclrCheckedChildsColors[paramID - kFirstChildsColor]);
    switch (paramID) {
    case GUIPARAM_CHECKED: return CGUIValue(m_bChecked);
    case GUIPARAM_RADIOBUTTON: return CGUIValue(m_bRadio);
    case GUIPARAM_SOUND_CHECK: return CGUIValue(float(m_iSoundCheck));
    case GUIPARAM_SOUND_UNCHECK: return CGUIValue(float(m_iSoundUncheck));
    default: return CGUIButton::GetParam(paramID);
    }
}

void CGUICheckBox::ExecuteCommand(int32_t commandID)
{
    EHS_CHECKPOINT(EHS_FILE_TRSGUI_CHECKBOX);
    if (commandID != GUICMD_CHECK && commandID != GUICMD_UNCHECK) {
        CGUIButton::ExecuteCommand(commandID);
        return;
    }
    const bool check = commandID == GUICMD_CHECK;
    if (m_bChecked != check) {
        CTarnisGUI::Instance()->RunAction(check ? m_actOnCheck : m_actOnUncheck, {CGUIValue(float(m_iTag))});
        if (m_bActive) PlaySound(check ? m_iSoundCheck : m_iSoundUncheck);
    }
    m_bChecked = check;
}

void CGUICheckBox::onRelease()
{
    ExecuteCommand(m_bChecked ? GUICMD_UNCHECK : GUICMD_CHECK);
}

const GUIRECT& CGUICheckBox::childsColorFor(int32_t situation) const
{
    return m_bChecked ? m_aclrCheckedChildsColors[situation] : CGUIButton::childsColorFor(situation);
}

int32_t CGUICheckBox::textureFor(int32_t situation) const
{
    if (m_bChecked) {
        if (m_aiCheckedTextures[situation] != -1) return m_aiCheckedTextures[situation];
        if (m_aiCheckedTextures[GUISIT_NORMAL] != -1) return m_aiCheckedTextures[GUISIT_NORMAL];
    }
    return CGUIButton::textureFor(situation);
}

CGUIElement* TRSGUI_CreateCheckBox(const std::string& id)
{
    return new CGUICheckBox(id);
}
