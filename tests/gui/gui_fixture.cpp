// The GUI tests' fixture and probe element class.
#include "tests/gui/gui_fixture.h"

#include <filesystem>

namespace guitest {

std::vector<std::string> g_trace;

void Probe::SetParam(int32_t id, const CGUIValue& v)
{
    if (id == GUIPARAM_TEXT)
        m_text = v.GetString();
    else if (id == GUIPARAM_ALIGNMENT)
        m_alignment = v.GetFloat();
    else if (id == GUIPARAM_ON_CLICK)
        m_onClick.SetFromValue(v);
    else
        CGUIElement::SetParam(id, v);
}

CGUIValue Probe::GetParam(int32_t id)
{
    if (id == GUIPARAM_TEXT) return CGUIValue(m_text);
    return CGUIElement::GetParam(id);
}

void Probe::ExecuteCommand(int32_t command)
{
    g_trace.push_back("cmd " + std::to_string(command) + " " + m_strID);
    if (command == 5)
        CTarnisGUI::Instance()->RunAction(m_onClick, {CGUIValue(float(m_iTag))});
    else
        CGUIElement::ExecuteCommand(command);
}

void Probe::Update(const GUIRECT& r, const GUIRECT& c, bool s, bool a, float x, float y)
{
    g_trace.push_back("update " + m_strID);
    if (m_onUpdate) m_onUpdate();
    StandardUpdate(r, c, s, a, x, y);
}

void Probe::Render()
{
    if (!m_bShown) return;
    g_trace.push_back("render " + m_strID);
    RenderChildren();
}

void GuiTest::SetUp()
{
    g_bWindowActive = false;
    g_trace.clear();
    m_t = new CTarnis;
    m_t->LOG_WriteHeader("GUI Test", "v.1");
    m_t->m_iRequestedWidth = 800;
    m_t->m_iRequestedHeight = 600;
    m_t->SCR_Init();
}

void GuiTest::TearDown()
{
    delete m_gui;
    delete m_t;
}

void GuiTest::newGui()
{
    delete m_gui;
    m_gui = nullptr;
    m_gui = new CTarnisGUI;
    m_gui->RegisterClass([](const std::string& id) -> CGUIElement* { return new Probe(id); }, "probe");
}

void GuiTest::withData(const std::vector<std::string>& resources,
                       const std::vector<std::pair<std::string, std::string>>& files)
{
    std::string pack = "<respack>\n";
    for (const std::string& r : resources) pack += r + "\n";
    std::filesystem::create_directories("DATA/gui");
    tst::writeFile("DATA/res.xml", pack + "</respack>\n");
    for (const auto& [name, text] : files) tst::writeFile("DATA/gui/" + name, text);
    m_t->RES_Init();
    newGui();
}

Probe* GuiTest::probe(const std::string& id, const std::string& parent)
{
    return at(m_gui->AddNewElement("probe", id, parent));
}

void GuiTest::run(const std::string& lua)
{
    m_t->SCR_LoadScriptFromBuffer(lua.data(), lua.size(), "test.lua");
}

std::string GuiTest::error(const std::function<void()>& fn)
{
    try {
        fn();
    } catch (const CEHSException& e) {
        return e.m_strDescription;
    }
    return "no error";
}

void GuiTest::frame(float seconds)
{
    m_t->m_fFrameDeltaSec = seconds;
    g_trace.clear();
    m_gui->Update();
}

} // namespace guitest
