// The timer element: its clocks run only while it and its parent are enabled;
// disabling pauses them without a reset.
#include "gui/classes/trsgui_stdclass_timer.h"

#include <cstdlib>

#include "engine/core/ctarnis.h"
#include "gui/classes/trsgui_stdclasses.h"
#include "gui/trsgui_ctarnisgui.h"
#include "gui/trsgui_fileids.h"

CGUITimer::CGUITimer(const std::string& id) : CGUIElement(id) {}

void CGUITimer::SetParam(int32_t paramID, const CGUIValue& value)
{
    EHS_CHECKPOINT(EHS_FILE_TRSGUI_TIMER);
    switch (paramID) {
    // The elapsed time stays: a larger time lets a finished factor action go on.
    case GUIPARAM_FACTORACTION_TIME: m_fFactorTime = value.GetFloat(); return;
    case GUIPARAM_FACTORACTION_LOOPED: m_bFactorLooped = value.GetBool(); return;
    case GUIPARAM_RANDOMACTION_MINTIME:
        m_fRandomMinTime = value.GetFloat();
        if (m_fRandomMinTime < 0.0f) m_fRandomMinTime = 0.0f;
        if (m_fRandomMinTime >= m_fRandomMaxTime) m_fRandomMaxTime = m_fRandomMinTime + 1.0f;
        DrawNextRandomTime();
        return;
    case GUIPARAM_RANDOMACTION_MAXTIME:
        m_fRandomMaxTime = value.GetFloat();
        if (m_fRandomMaxTime <= m_fRandomMinTime) m_fRandomMaxTime = m_fRandomMinTime + 1.0f;
        DrawNextRandomTime();
        return;
    case GUIPARAM_ON_PERMANENTACTION: m_actOnPermanent.SetFromValue(value); return;
    case GUIPARAM_ON_FACTORACTION: m_actOnFactor.SetFromValue(value); return;
    case GUIPARAM_ON_RANDOMACTION: m_actOnRandom.SetFromValue(value); return;
    default: CGUIElement::SetParam(paramID, value);
    }
}

CGUIValue CGUITimer::GetParam(int32_t paramID)
{
    switch (paramID) {
    case GUIPARAM_FACTORACTION_TIME: return CGUIValue(m_fFactorTime);
    case GUIPARAM_FACTORACTION_LOOPED: return CGUIValue(m_bFactorLooped);
    case GUIPARAM_RANDOMACTION_MINTIME: return CGUIValue(m_fRandomMinTime);
    case GUIPARAM_RANDOMACTION_MAXTIME: return CGUIValue(m_fRandomMaxTime);
    default: return CGUIElement::GetParam(paramID);
    }
}

void CGUITimer::ExecuteCommand(int32_t commandID)
{
    if (commandID == GUICMD_TIMER_NEWRANDOM)
        DrawNextRandomTime();
    else
        CGUIElement::ExecuteCommand(commandID);
}

void CGUITimer::DrawNextRandomTime()
{
    m_fRandomElapsed = 0.0f;
    const int32_t range = GUIFloatToInt((m_fRandomMaxTime - m_fRandomMinTime) * 10.0f);
    const int32_t k = range > 0 ? std::rand() % range : 0;
    m_fNextRandomTime = m_fRandomMinTime + float(k) * 0.1f;
}

void CGUITimer::Update(const GUIRECT&, const GUIRECT&, bool, bool parentActive, float, float)
{
    EHS_CHECKPOINT(EHS_FILE_TRSGUI_TIMER);
    m_bActive = m_bEnabled && parentActive;
    if (!m_bActive) return;
    CTarnisGUI* gui = CTarnisGUI::Instance();
    const float dt = CTarnisGUI::GetFrameTime();
    gui->RunAction(m_actOnPermanent);

    m_fFactorElapsed += dt;
    if (m_fFactorElapsed < m_fFactorTime) {
        gui->RunAction(m_actOnFactor, {CGUIValue(m_fFactorElapsed / m_fFactorTime)});
    } else if (m_bFactorLooped) {
        m_fFactorElapsed = 0.0f;
        gui->RunAction(m_actOnFactor, {CGUIValue(0.0f)});
    } else {
        m_fFactorElapsed = m_fFactorTime;
    }

    m_fRandomElapsed += dt;
    if (m_fRandomElapsed >= m_fNextRandomTime) {
        gui->RunAction(m_actOnRandom);
        DrawNextRandomTime();
    }
}

CGUIElement* TRSGUI_CreateTimer(const std::string& id)
{
    return new CGUITimer(id);
}
