// Windows and labels: the show/hide transitions and their handlers, input
// gated during transitions, text alignment from the measured width, and
// clipping that nests inside the viewport already set.
#include "gui/classes/trsgui_stdclass_label.h"
#include "gui/classes/trsgui_stdclass_window.h"
#include "tests/gui/gui_fixture.h"

namespace guitest {
namespace {

std::vector<std::string> g_events;

class GuiWindows : public GuiTest {
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        withGraphics({{'B', 9}});
        g_events.clear();
        m_gui->RegisterAction("SHOW", [] { g_events.push_back("show"); });
        m_gui->RegisterAction("HIDE", [] { g_events.push_back("hide"); });
        m_gui->RegisterAction("CLICK", [] { g_events.push_back("click"); });
    }
    CGUIValue action(const char* name) { return CGUIValue(m_gui->FindAction(name)); }
    void command(const char* id, int32_t c) { m_gui->ExecuteElementCommand(id, c, 0); }
};

TEST_F(GuiWindows, TransitionsFadeReverseAndGateInput)
{
    auto* w = static_cast<CGUIWindow*>(shown("window", "W"));
    set("W", "coords", CGUIValue(GUIRECT{0, 0, 200, 200}));
    set("W", "time_showhide", CGUIValue(0.5f));
    set("W", "location_hidden", CGUIValue(GUIPOINT{0, -100}));
    set("W", "location_middle", CGUIValue(GUIPOINT{0, -100}));
    set("W", "on_show", action("SHOW"));
    set("W", "on_hide", action("HIDE"));
    set("DESKTOP", "color", CGUIValue(GUIRECT{1, 1, 1, 0.8f}));
    shown("advtile", "A", "W");
    set("A", "coords", CGUIValue(GUIRECT{0, 0, 50, 50}));
    set("A", "on_click", action("CLICK"));
    m_t->m_ptCursor = POINT{10, 10};
    m_t->m_MouseState.rgbButtons[0] = 0x80;

    frame(0.25f);
    EXPECT_FALSE(w->m_bShown) << "a window starts hidden whatever `visible` says";
    command("W", GUICMD_SHOW);
    frame(0.25f);
    EXPECT_FLOAT_EQ(w->m_clrCurColor.height, 0.4f) << "B(0.5) of 0, 0.5, 1 times the parent's alpha";
    EXPECT_FLOAT_EQ(w->m_rcCurRect.y, -75.0f);
    EXPECT_TRUE(g_events == std::vector<std::string>{"show"}) << "no click while showing";
    command("W", GUICMD_HIDE);
    frame(0.15f);
    EXPECT_EQ(w->m_iState, GUIWINDOW_HIDING);
    EXPECT_FLOAT_EQ(w->m_fTimer, 0.1f) << "the hide runs back from where the show stood";
    set("W", "time_showhide", CGUIValue(1.0f));
    EXPECT_FLOAT_EQ(w->m_fTimer, 0.2f) << "a new transition time keeps the phase";
    command("W", GUICMD_SHOW);
    frame(1.0f);
    EXPECT_EQ(w->m_iState, GUIWINDOW_SHOWN);
    EXPECT_TRUE((g_events == std::vector<std::string>{"show", "hide", "show", "click"}));
    // Show on a shown window: silent, shown again after one update.
    m_t->m_MouseState.rgbButtons[0] = 0;
    command("W", GUICMD_SHOW);
    frame(0.01f);
    EXPECT_EQ(w->m_iState, GUIWINDOW_SHOWN);
    EXPECT_EQ(g_events.size(), 4u);
}

TEST_F(GuiWindows, LabelAlignsByTheMeasuredWidth)
{
    auto* label = static_cast<CGUILabel*>(shown("label", "L"));
    set("L", "coords", CGUIValue(GUIRECT{100, 50, 100, 20}));
    set("L", "alignment", CGUIValue(2.0f));
    set("L", "text", CGUIValue("AAAAB")); // no font yet: nothing measured, nothing drawn
    frame();
    EXPECT_TRUE(drawn(label).empty());
    set("L", "font", CGUIValue("FNT_TEST"));
    // Five glyphs: 8 + 8 + 8 + 8 + 9 = 41 wide.
    for (auto [align, x] : {std::pair{2.0f, 129.0f}, {3.9f, 159.0f}, {1.0f, 100.0f}, {7.0f, 100.0f}}) {
        set("L", "alignment", CGUIValue(align));
        const std::vector<Quad> glyphs = drawn(label);
        ASSERT_EQ(glyphs.size(), 5u);
        EXPECT_EQ(glyphs[0].x, x) << "alignment " << align;
    }
    EXPECT_EQ(m_gui->GetElementParam("L", "alignment").GetFloat(), 1.0f);
}

TEST_F(GuiWindows, ClippedLabelsNestAndRestoreTheViewport)
{
    CGUIElement* label = shown("label", "L");
    set("L", "coords", CGUIValue(GUIRECT{100, 100, 20, 8}));
    set("L", "font", CGUIValue("FNT_TEST"));
    set("L", "text", CGUIValue("AAAAAAAA")); // 64 pixels, far wider than the rect
    set("L", "limitviewport", CGUIValue(true));
    frame();
    auto lit = [](const std::vector<uint32_t>& p, int x, int y) { return (p[size_t(y) * 800 + x] & 0xFFFFFF) != 0; };
    std::vector<uint32_t> p = picture(label);
    EXPECT_TRUE(lit(p, 101, 104) && lit(p, 119, 104));
    EXPECT_FALSE(lit(p, 120, 104) || lit(p, 150, 104));
    // Inside a clip already narrower, the label's clip is the overlap, and the
    // outer one comes back after it.
    const GUIRECT whole = m_gui->GetViewport();
    const GUIRECT outer = m_gui->ClipViewport(GUIRECT{0, 0, 110.9f, 600});
    p = picture(label);
    EXPECT_TRUE(lit(p, 109, 104));
    EXPECT_FALSE(lit(p, 110, 104));
    EXPECT_EQ(m_gui->GetViewport().width, 110.0f);
    m_gui->RestoreViewport(outer);
    EXPECT_EQ(m_gui->GetViewport().width, whole.width);
}

} // namespace
} // namespace guitest
