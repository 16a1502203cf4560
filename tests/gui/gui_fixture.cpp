// The GUI tests' fixture and probe element class.
#include "tests/gui/gui_fixture.h"

#include <cstdio>
#include <cstring>
#include <filesystem>

#include "tests/gfx/gfx_test_support.h"

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

namespace {

std::string g_recorderNames[8];

template <int Slot>
void record()
{
    CTarnisGUI* gui = CTarnisGUI::Instance();
    std::string line = g_recorderNames[Slot];
    for (int32_t i = 0; i < gui->GetActionArgCount(); ++i) {
        const CGUIValue& v = gui->GetActionArg(i);
        const GUIPOINT p = v.GetType() == GUIVAL_POINT ? v.GetPoint() : GUIPOINT{};
        const GUIRECT r = v.GetType() == GUIVAL_RECT ? v.GetRect() : GUIRECT{};
        std::vector<float> parts = {r.x, r.y, r.width, r.height};
        if (v.GetType() == GUIVAL_FLOAT) parts = {v.GetFloat()};
        if (v.GetType() == GUIVAL_BOOLEAN) parts = {v.GetBool() ? 1.0f : 0.0f};
        if (v.GetType() == GUIVAL_POINT) parts = {p.x, p.y};
        char num[32];
        for (float f : parts) line += (std::snprintf(num, sizeof(num), " %g", double(f)), num);
    }
    g_trace.push_back(line);
}

constexpr TRSGUIACTION kRecorders[8] = {record<0>, record<1>, record<2>, record<3>,
                                        record<4>, record<5>, record<6>, record<7>};

} // namespace

TRSGUIACTION recorder(int slot, const std::string& name)
{
    g_recorderNames[slot] = name;
    return kRecorders[slot];
}

void GuiTest::step(const Input& in, float seconds)
{
    std::memcpy(m_t->m_aPrevKeyState, m_t->m_aKeyState, sizeof(m_t->m_aKeyState));
    std::memset(m_t->m_aKeyState, 0, sizeof(m_t->m_aKeyState));
    for (uint8_t k : in.keys) m_t->m_aKeyState[k] = 0x80;
    m_t->m_PrevMouseState = m_t->m_MouseState;
    m_t->m_MouseState = DIMOUSESTATE2{};
    m_t->m_MouseState.rgbButtons[0] = in.b1 ? 0x80 : 0;
    m_t->m_MouseState.rgbButtons[1] = in.b2 ? 0x80 : 0;
    m_t->m_MouseState.lZ = in.wheel * 120;
    m_t->m_ptPrevCursor = m_t->m_ptCursor;
    m_t->m_ptCursor = POINT{in.x, in.y};
    frame(seconds);
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
    newGui();
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

void GuiTest::frame(float seconds)
{
    m_t->m_fFrameDeltaSec = seconds;
    g_trace.clear();
    m_gui->Update();
}

void GuiTest::withGraphics(const std::vector<std::pair<int, int>>& widths)
{
    // A 32 x 32 white bitmap (24 bits, bottom-up rows, no padding).
    std::string bmp = "BM";
    auto put32 = [&bmp](uint32_t v) {
        for (int i = 0; i < 4; ++i) bmp += char(v >> (8 * i));
    };
    for (uint32_t v : {54u + 3072u, 0u, 54u, 40u, 32u, 32u, 1u | (24u << 16), 0u, 3072u, 0u, 0u, 0u, 0u}) put32(v);
    bmp += std::string(3072, char(0xFF));
    std::string font = R"(<fontdesc id="FNT_TEST" textureid="TEX_WHITE" techniqueid="TEQ_GUI" techpackid="TEQ_PACK")"
                       R"( cellsize="8")";
    for (int c = 0; c < 256; ++c) {
        int w = 8;
        for (const auto& [ch, width] : widths) w = ch == c ? width : w;
        font += " cs" + std::to_string(c) + "=\"" + std::to_string(w) + "\"";
    }
    m_t->GFX_Preinit(800, 600);
    m_t->GFX_Init(2, false);
    withData({R"(<r id="TEX_WHITE" typeid="TEXTURE" filename="gui\white.bmp" data1="3" data2="1"/>)",
              R"(<r id="TEQ_PACK" typeid="TECHNIQUE" filename="gui\tech.xml"/>)",
              R"(<r id="FNT_TEST" typeid="FONT" filename="gui\font.xml"/>)"},
             {{"white.bmp", bmp},
              {"tech.xml", R"(<techniquespack><t id="TEQ_GUI" alphablending="ON" absrc="SRCALPHA" )"
                           R"(abdest="INVSRCALPHA"/></techniquespack>)"},
              {"font.xml", font + "/>"}});
}

std::vector<Quad> GuiTest::drawn(CGUIElement* e)
{
    m_t->GFX_SceneBegin();
    e->Render();
    std::vector<Quad> out;
    for (int32_t q = 0; q < m_t->m_iQuadsInBatch; ++q) {
        // Queuing moved every corner up and left by half a pixel.
        const TRSQUADVERTEX& a = m_t->m_pQuadLocked[4 * q];
        const TRSQUADVERTEX& c = m_t->m_pQuadLocked[4 * q + 2];
        out.push_back(Quad{a.x + 0.5f, a.y + 0.5f, c.x - a.x, c.y - a.y, a.tu1, a.tv1, c.tu1, c.tv1});
    }
    m_t->GFX_SceneEnd();
    return out;
}

std::vector<uint32_t> GuiTest::picture(CGUIElement* e)
{
    m_t->GFX_SceneBegin();
    m_t->GFX_SceneClearScreen(0, 0, 0);
    e->Render();
    m_t->GFX_SceneEnd();
    m_t->GFX_ScenePresent();
    return gfxtest::frontPixels(m_t->m_pD3DDevice, 800, 600);
}

} // namespace guitest
