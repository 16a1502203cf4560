// Tiles, tips, advanced and animated tiles: the quads of every drawing scheme
// as placed in the real renderer, tip placement at the cursor, focus and click
// handlers, and the animation clock (holding, looping, play-once).
#include <cmath>
#include <sstream>

#include "gui/classes/trsgui_stdclass_animtile.h"
#include "gui/classes/trsgui_stdclass_tip.h"
#include "gui/trsgui_stores.h"
#include "tests/gui/gui_fixture.h"

namespace guitest {
namespace {

int g_clicks = 0;

class GuiTiles : public GuiTest {
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        withGraphics();
        g_clicks = 0;
        m_gui->RegisterAction("COUNT", [] { ++g_clicks; });
    }
    void mouse(int x, int y, bool down, bool wasDown = false)
    {
        m_t->m_ptCursor = POINT{x, y};
        m_t->m_MouseState.rgbButtons[0] = down ? 0x80 : 0;
        m_t->m_PrevMouseState.rgbButtons[0] = wasDown ? 0x80 : 0;
    }
};

std::string text(const std::vector<Quad>& quads)
{
    std::ostringstream out;
    for (const Quad& q : quads)
        out << q.x << "," << q.y << "," << q.w << "," << q.h << " " << q.u0 << "," << q.v0 << "," << q.u1 << ","
            << q.v1 << "; ";
    return out.str();
}

TEST_F(GuiTiles, EverySchemePlacesItsQuads)
{
    // Rect (10, 20, 100, 40), border 16 x 8 of a 64 x 32 texture: fractions 0.25 both ways.
    const std::string h = "10,20,16,40 0,0,0.25,1; 26,20,68,40 0.25,0,0.75,1; 94,20,16,40 0.75,0,1,1; ";
    const std::string v = "10,20,100,8 0,0,1,0.25; 10,28,100,24 0,0.25,1,0.75; 10,52,100,8 0,0.75,1,1; ";
    const std::string row0 = "10,20,16,8 0,0,0.25,0.25; 26,20,68,8 0.25,0,0.75,0.25; 94,20,16,8 0.75,0,1,0.25; ";
    const std::string mid0 = "10,28,16,24 0,0.25,0.25,0.75; ";
    const std::string centre = "26,28,68,24 0.25,0.25,0.75,0.75; ";
    const std::string mid2 = "94,28,16,24 0.75,0.25,1,0.75; ";
    const std::string row2 = "10,52,16,8 0,0.75,0.25,1; 26,52,68,8 0.25,0.75,0.75,1; 94,52,16,8 0.75,0.75,1,1; ";
    const std::pair<int, std::string> cases[] = {
        {1, "10,20,100,40 0.1,0.2,0.3,0.4; "},
        {2, h},
        {3, v},
        {4, row0 + mid0 + centre + mid2 + row2},
        {5, row0 + mid0 + mid2 + row2},
        {6, ""},
        {7, "10,20,16,40 0,0.25,0.25,0.75; 26,20,68,40 0.25,0.25,0.75,0.75; 94,20,16,40 0.75,0.25,1,0.75; "},
        {8, "10,20,100,8 0.25,0,0.75,0.25; 10,28,100,24 0.25,0.25,0.75,0.75; 10,52,100,8 0.25,0.75,0.75,1; "},
    };
    CGUIElement* tile = shown("tile", "T");
    set("T", "coords", CGUIValue(GUIRECT{10, 20, 100, 40}));
    set("T", "drawparams", CGUIValue(GUIRECT{64, 32, 16, 8}));
    set("T", "texcoords", CGUIValue(GUIRECT{0.1f, 0.2f, 0.3f, 0.4f}));
    set("T", "texture", CGUIValue("TEX_WHITE"));
    frame();
    for (const auto& [scheme, quads] : cases) {
        set("T", "drawscheme", CGUIValue(float(scheme) + 0.7f));
        EXPECT_EQ(text(drawn(tile)), quads) << "scheme " << scheme;
    }
    // Scheme 6 still draws the children.
    set("T", "drawscheme", CGUIValue(6.0f));
    shown("tile", "CHILD", "T");
    frame();
    EXPECT_EQ(drawn(tile).size(), 1u);
    set("T", "drawscheme", CGUIValue(9.0f));
    EXPECT_EQ(error([&] { drawn(tile); }), "Invalid drawing scheme. Scheme ID = 9 Element ID = T");
}

TEST_F(GuiTiles, DrawParamsGiveBorderFractionsAndRejectEmptyTextures)
{
    auto* tile = static_cast<CGUITile*>(shown("tile", "T"));
    set("T", "drawparams", CGUIValue(GUIRECT{64, 32, 8, 8}));
    EXPECT_EQ(tile->m_fBorderU, 0.125f);
    EXPECT_EQ(tile->m_fBorderV, 0.25f);
    EXPECT_EQ(error([&] { set("T", "drawparams", CGUIValue(GUIRECT{0, 32, 8, 8})); }), "Invalid tile texture width!");
    EXPECT_EQ(error([&] { set("T", "drawparams", CGUIValue(GUIRECT{64, -1, 8, 8})); }),
              "Invalid tile texture height!");
}

TEST_F(GuiTiles, TipFollowsTheCursorAndStaysOnScreen)
{
    struct Case {
        GUIRECT coords;
        int mx, my;
        float x, y;
    } cases[] = {
        {{16, 16, 120, 30}, 700, 590, 564, 544}, // flipped left and above
        {{16, 16, 120, 30}, 100, 100, 116, 116},
        {{16, 16, 900, 30}, 700, 100, 0, 116}, // flipped past the left edge: clamped
    };
    auto* tip = static_cast<CGUITip*>(m_gui->GetElement(m_gui->AddNewElement("tip", "TIP", 0)));
    EXPECT_TRUE(m_gui->GetElement(0)->GetChildren().empty()) << "a tip is not its parent's child";
    for (const Case& c : cases) {
        set("TIP", "coords", CGUIValue(c.coords));
        mouse(c.mx, c.my, false);
        tip->Update(GUIRECT{}, GUIRECT{1, 1, 1, 1}, true, true, 0, 0);
        EXPECT_EQ(tip->m_rcCurRect.x, c.x);
        EXPECT_EQ(tip->m_rcCurRect.y, c.y);
    }
    // Show fades in over the appear time.
    set("TIP", "color", CGUIValue(GUIRECT{1, 1, 1, 0.8f}));
    tip->ExecuteCommand(GUICMD_SHOW);
    EXPECT_EQ(tip->m_clrCurColor.height, 0.0f);
    m_t->m_fFrameDeltaSec = 0.15f;
    m_gui->Update();
    tip->Update(GUIRECT{}, GUIRECT{1, 1, 1, 1}, true, true, 0, 0);
    EXPECT_FLOAT_EQ(tip->m_clrCurColor.height, 0.4f);
}

TEST_F(GuiTiles, AdvTileClicksOnlyWhenShownActiveAndUnderTheMouse)
{
    CGUIElement* parent = shown("tile", "P");
    shown("advtile", "A", "P");
    set("P", "coords", CGUIValue(GUIRECT{100, 100, 50, 50}));
    set("A", "coords", CGUIValue(GUIRECT{0, 0, 50, 50}));
    set("A", "on_click", CGUIValue(m_gui->FindAction("COUNT")));
    set("A", "on_hotkey", CGUIValue(m_gui->FindAction("COUNT")));
    set("A", "hotkey", CGUIValue("SPACE"));
    EXPECT_GT(m_gui->GetElementParam("A", "hotkey").GetFloat(), 0.0f);
    mouse(120, 120, true);
    parent->m_bEnabled = false;
    frame();
    EXPECT_EQ(g_clicks, 0) << "under a disabled parent";
    parent->m_bEnabled = true;
    frame();
    EXPECT_EQ(g_clicks, 1);
    mouse(120, 120, true, true);
    frame();
    mouse(10, 10, true);
    frame();
    EXPECT_EQ(g_clicks, 1) << "held, or clicked elsewhere";
    mouse(10, 10, false);
    m_t->m_aKeyState[uint8_t(m_gui->GetElementParam("A", "hotkey").GetFloat())] = 0x80;
    frame();
    EXPECT_EQ(g_clicks, 2) << "the hotkey works wherever the mouse is";
}

TEST_F(GuiTiles, AnimationHoldsLoopsAndPlaysOnce)
{
    CGUIEnum frames;
    for (const char* name : {"a", "b", "c", "d"}) frames.AddItem(name, "TEX_WHITE");
    auto* anim = static_cast<CGUIAnimTile*>(shown("animtile", "AN"));
    EXPECT_EQ(error([&] { set("AN", "enum_frames", CGUIValue(static_cast<CGUIEnum*>(nullptr))); }),
              "CGUIEnum pointer is NULL!");
    set("AN", "enum_frames", CGUIValue(&frames));
    set("AN", "scale_middle", CGUIValue(1.0f));
    set("AN", "scale_begin", CGUIValue(0.0f));
    set("AN", "scale_end", CGUIValue(0.0f));
    set("AN", "time_animcycle", CGUIValue(1.0f));
    frame(0.5f);
    EXPECT_FLOAT_EQ(anim->m_fCurScale, 0.5f) << "the middle value is a control point";
    EXPECT_EQ(anim->m_iFrame, 2);
    frame(1.0f);
    EXPECT_FLOAT_EQ(anim->m_fPhase, 0.9999f) << "unlooped: holds before the end";
    EXPECT_EQ(anim->m_iFrame, 3);
    set("AN", "looped", CGUIValue(true));
    set("AN", "time_animcycle", CGUIValue(1.0f));
    frame(2.5f);
    EXPECT_FLOAT_EQ(anim->m_fPhase, 0.5f) << "looped after a long frame";
    // No cycle length: still a positive cycle, wrapped in one step, frame inside the list.
    set("AN", "time_animcycle", CGUIValue(0.0f));
    EXPECT_GT(m_gui->GetElementParam("AN", "time_animcycle").GetFloat(), 0.0f);
    frame(1e6f);
    EXPECT_LT(anim->m_fElapsed, anim->m_fCycleTime);
    EXPECT_LT(anim->m_iFrame, 4);

    // Under a disabled parent only noparentenabled keeps it running.
    auto* parent = shown("tile", "P");
    parent->m_bEnabled = false;
    CGUIElement* under = shown("animtile", "UNDER", "P");
    set("UNDER", "noparentenabled", CGUIValue(true));
    frame(0.25f);
    EXPECT_EQ(static_cast<CGUIAnimTile*>(under)->m_fElapsed, 0.25f);

    set("AN", "time_animcycle", CGUIValue(1.0f));
    m_gui->ExecuteElementCommand("AN", GUICMD_ANIMTILE_PLAYONCE, 0);
    frame(0.6f);
    m_gui->ExecuteElementCommand("AN", GUICMD_ANIMTILE_PLAYONCE_UNLESS_PLAYING, 0);
    frame(0.6f);
    EXPECT_FALSE(anim->m_bVisible || anim->m_bEnabled || anim->m_bShown) << "one cycle, then hidden and disabled";
    EXPECT_FALSE(anim->m_bPlayOnce);
}

} // namespace
} // namespace guitest
