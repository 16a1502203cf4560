// Shared by the GUI tests: an engine root object with a Lua host and a
// resource catalogue (no window or device), a GUI manager on it, and a probe
// element class that records what the tree does to it.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "engine/core/ctarnis.h"
#include "gui/trsgui_ctarnisgui.h"
#include "tests/support/engine_checks.h"
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

// A native handler that records "<name>" followed by its arguments (numbers
// as %g, bools as 0/1) in g_trace. Eight slots, reused by every test.
TRSGUIACTION recorder(int slot, const std::string& name);

// One frame's input: the cursor, held mouse buttons 1 and 2, the wheel
// (+1 forward, -1 back) and the keys held (DIK_* codes).
struct Input {
    int x = 0, y = 0;
    bool b1 = false, b2 = false;
    int wheel = 0;
    std::vector<uint8_t> keys;
};
inline Input mouse(int x, int y, bool b1 = false, int wheel = 0)
{
    Input in;
    in.x = x;
    in.y = y;
    in.b1 = b1;
    in.wheel = wheel;
    return in;
}
inline Input keys(std::vector<uint8_t> held, int x = 0, int y = 0)
{
    Input in = mouse(x, y);
    in.keys = std::move(held);
    return in;
}

// A quad queued since the scene began, as placed: position, size, texture corners.
struct Quad {
    float x, y, w, h, u0, v0, u1, v1;
};

// Starts with a GUI manager on an engine with scripts (no resources, no graphics).
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
    // The message of the engine error fn raises, "nothing raised" when none.
    static std::string error(const std::function<void()>& fn) { return tst::raised(fn).m_strDescription; }
    void frame(float seconds = 0.1f);
    // Samples the input as the engine would (the last states become the
    // previous ones), then runs a frame.
    void step(const Input& in, float seconds = 0.1f);
    // Sets a parameter by name from a value.
    template <typename T>
    void set(const std::string& element, const std::string& param, const T& value)
    {
        m_gui->SetElementParam(element, param, CGUIValue(value));
    }
    // Adds an element of a class at coords, visible and enabled; returns it.
    CGUIElement* add(const std::string& cls, const std::string& id, const GUIRECT& coords,
                     const std::string& parent = "DESKTOP")
    {
        CGUIElement* e = m_gui->GetElement(m_gui->AddNewElement(cls, id, parent));
        set(id, "coords", coords);
        set(id, "visible", true);
        set(id, "enabled", true);
        return e;
    }
    // Adds an element of a class, shown and enabled as it stands, without its parameters.
    CGUIElement* shown(const std::string& cls, const std::string& id, const std::string& parent = "DESKTOP")
    {
        CGUIElement* e = m_gui->GetElement(m_gui->AddNewElement(cls, id, parent));
        e->m_bVisible = e->m_bEnabled = true;
        return e;
    }
    float getf(const std::string& element, const std::string& param)
    {
        return m_gui->GetElementParam(element, param).GetFloat();
    }

    // Graphics up headless (800 x 600) with DATA/ holding a white texture
    // TEX_WHITE, the technique TEQ_GUI and the font FNT_TEST (8-pixel white
    // cells, advance 8 except `widths`), then a new GUI manager.
    void withGraphics(const std::vector<std::pair<int, int>>& widths = {});
    // Renders the element inside a scene and returns what it queued
    // (valid for draws that set no viewport: that sends the batch off).
    std::vector<Quad> drawn(CGUIElement* e);
    // Renders the element and presents; the picture as ARGB rows.
    std::vector<uint32_t> picture(CGUIElement* e);

    CTarnis* m_t = nullptr;
    CTarnisGUI* m_gui = nullptr;
};

} // namespace guitest
