// Shared by the GUI tests: an engine root object with a Lua host and a
// resource catalogue (no window or device), a GUI manager on it, and a probe
// element class that records what the tree does to it.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "engine/core/ctarnis.h"
#include "gui/trsgui_ctarnisgui.h"
#include "tests/support/test_support.h"

namespace guitest {

// "probe": the standard update; records updates, renders and commands in
// g_trace; `text` and `alignment` are stored, `on_click` is a handler that
// command 5 runs with the element's tag as argument.
class Probe : public CGUIElement {
public:
    explicit Probe(const std::string& id) : CGUIElement(id) { m_clrColor = GUIRECT{1, 1, 1, 1}; }
    void SetParam(int32_t id, const CGUIValue& v) override;
    CGUIValue GetParam(int32_t id) override;
    void ExecuteCommand(int32_t command) override;
    void Update(const GUIRECT& r, const GUIRECT& c, bool s, bool a, float x, float y) override;
    void Render() override;

    std::string m_text;
    float m_alignment = 0;
    CGUIAction m_onClick;
    std::function<void()> m_onUpdate;
};

extern std::vector<std::string> g_trace;

class GuiTest : public tst::InScratchDir {
protected:
    void SetUp() override;
    void TearDown() override;
    // Writes DATA/<file> and a descriptor listing the resources, then starts
    // the resource subsystem and a new GUI manager.
    void withData(const std::vector<std::string>& resources,
                  const std::vector<std::pair<std::string, std::string>>& files);
    void newGui();
    Probe* probe(const std::string& id, const std::string& parent = "DESKTOP");
    Probe* at(int32_t index) { return static_cast<Probe*>(m_gui->GetElement(index)); }
    void run(const std::string& lua);
    // The message of the engine error fn raises, "no error" when none.
    static std::string error(const std::function<void()>& fn);
    void frame(float seconds = 0.1f);

    CTarnis* m_t = nullptr;
    CTarnisGUI* m_gui = nullptr;
};

} // namespace guitest
