// Scopes the element classes share: a viewport clip that is put back however
// the drawing inside ends, and a flag that marks a handler as running so that
// a handler setting the same value from inside does not run itself again.
#pragma once

#include "gui/trsgui_ctarnisgui.h"

class CGUIClipScope {
public:
    explicit CGUIClipScope(const GUIRECT& rect) : m_rcPrevious(CTarnisGUI::Instance()->ClipViewport(rect)) {}
    ~CGUIClipScope()
    {
        // Clipping needed the device, so putting the viewport back cannot fail.
        try {
            CTarnisGUI::Instance()->RestoreViewport(m_rcPrevious);
        } catch (...) {
        }
    }
    CGUIClipScope(const CGUIClipScope&) = delete;
    CGUIClipScope& operator=(const CGUIClipScope&) = delete;

private:
    GUIRECT m_rcPrevious;
};

class CGUIRunningScope {
public:
    explicit CGUIRunningScope(bool& running) : m_rRunning(running) { m_rRunning = true; }
    ~CGUIRunningScope() { m_rRunning = false; }
    CGUIRunningScope(const CGUIRunningScope&) = delete;
    CGUIRunningScope& operator=(const CGUIRunningScope&) = delete;

private:
    bool& m_rRunning;
};
