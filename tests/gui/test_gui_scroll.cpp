// Scroll bars: slider geometry, values from the wheel, the keys, the mouse
// and the game, and the bar's inactivity over an empty range.
#include "engine/platform/dinput8/dinput8.h"
#include "gui/classes/trsgui_stdclass_scrollbar.h"
#include "tests/gui/gui_fixture.h"

namespace guitest {
namespace {

class GuiScroll : public GuiTest {
protected:
    // A bar 200 long and 20 thick at (100, 100) over 0..100 with page 25.
    CGUIScrollBar* make(const char* cls)
    {
        const bool hor = std::string(cls) == "horscroll";
        CGUIElement* bar = add(cls, "S", hor ? GUIRECT{100, 100, 200, 20} : GUIRECT{100, 100, 20, 200});
        set("S", "maxvalue", 100.0f);
        set("S", "pagesize", 25.0f);
        set("S", "on_scroll", recorder(0, "scroll"));
        return static_cast<CGUIScrollBar*>(bar);
    }
    int value() { return int(getf("S", "curvalue")); }
};

TEST_F(GuiScroll, SliderLengthAndOffsetInWholeNumbers)
{
    for (const char* cls : {"horscroll", "verscroll"}) {
        newGui();
        CGUIScrollBar* bar = make(cls);
        set("S", "curvalue", 50.0f);
        EXPECT_FLOAT_EQ(bar->m_fSliderLength, 40) << cls;
        EXPECT_FLOAT_EQ(bar->m_fSliderOffset, 80) << cls;
        frame();
        const GUIRECT& r = bar->m_rcSlider;
        EXPECT_EQ(std::vector<float>({r.x, r.y, r.width, r.height}),
                  cls[0] == 'h' ? std::vector<float>({180, 100, 40, 20}) : std::vector<float>({100, 180, 20, 40}));
    }
}

TEST_F(GuiScroll, ValuesFromTheWheelKeysAndTheGame)
{
    make("horscroll");
    const float fps60 = 1.0f / 60.0f;
    struct {
        Input in;
        int value;
    } cases[] = {
        {mouse(150, 110), 0},
        {mouse(150, 110, false, -1), 3}, // 3 × trunc(100 / 60)
        {keys({DIK_NEXT}, 150, 110), 28},
        {mouse(150, 110), 28},
        {mouse(150, 110, false, 1), 25},
        {mouse(50, 50, false, 1), 25}, // outside the active rect
    };
    for (const auto& c : cases) {
        step(c.in, fps60);
        EXPECT_EQ(value(), c.value);
    }
    m_gui->ExecuteElementCommand("S", 10, 0);
    EXPECT_EQ(value(), 24) << "a step command from the game moves by 1";
    g_trace.clear();
    set("S", "curvalue", 500.0f);
    EXPECT_EQ(value(), 100);
    set("S", "curvalue", -5.0f);
    EXPECT_EQ(value(), 0);
    EXPECT_EQ(g_trace, (std::vector<std::string>{"scroll", "scroll"})) << "clamped, and on_scroll still runs";
}

TEST_F(GuiScroll, DraggingAndPagingWithTheMouse)
{
    CGUIScrollBar* bar = make("horscroll");
    step(mouse(110, 110));
    step(mouse(110, 110, true)); // on the slider (100..140)
    step(mouse(190, 110, true)); // 80 further: offset 80 of 160
    EXPECT_EQ(value(), 50);
    step(mouse(400, 110, true));
    EXPECT_EQ(value(), 100) << "the offset is clamped";
    step(mouse(400, 110));
    step(mouse(150, 110, true)); // before the slider (now at 260..300): a page back
    EXPECT_EQ(value(), 75);
    EXPECT_FALSE(bar->m_bDragging);
}

TEST_F(GuiScroll, EmptyRangeIsInactiveAndOnScrollDoesNotRecurse)
{
    CGUIScrollBar* bar = make("verscroll");
    set("S", "maxvalue", 0.0f);
    step(mouse(110, 150, false, -1));
    EXPECT_FALSE(bar->m_bActive);
    EXPECT_EQ(value(), 0);

    set("S", "maxvalue", 100.0f);
    set("S", "on_scroll", TRSGUIACTION([] {
            g_trace.push_back("scroll");
            CTarnisGUI* gui = CTarnisGUI::Instance();
            gui->SetElementParam("S", GUIPARAM_CURVALUE, gui->GetElementParam("S", GUIPARAM_CURVALUE));
        }));
    g_trace.clear();
    set("S", "curvalue", 40.0f);
    EXPECT_EQ(g_trace, std::vector<std::string>{"scroll"});
}

} // namespace
} // namespace guitest
