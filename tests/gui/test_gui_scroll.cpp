// Scroll bars: slider geometry, values from the wheel, the keys, the mouse
// and the game, and the bar's inactivity over an empty range.
#include <lua.hpp>

#include "engine/platform/dinput8.h"
#include "gui/classes/trsgui_stdclass_scrollbar.h"
#include "tests/gui/gui_fixture.h"

namespace guitest {
namespace {

class GuiScroll : public GuiTest {
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        newGui();
    }
    // A bar 200 long and 20 thick at (100, 100) over 0..100 with page 25.
    CGUIScrollBar* make(const char* cls)
    {
        m_gui->AddNewElement(cls, "S", 0);
        const bool hor = std::string(cls) == "horscroll";
        set("S", "coords", hor ? GUIRECT{100, 100, 200, 20} : GUIRECT{100, 100, 20, 200});
        set("S", "maxvalue", 100.0f);
        set("S", "pagesize", 25.0f);
        set("S", "visible", true);
        set("S", "enabled", true);
        set("S", "on_scroll", recorder(0, "scroll"));
        return static_cast<CGUIScrollBar*>(m_gui->GetElement(1));
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
        {[] { Input i = mouse(150, 110); i.wheel = -1; return i; }(), 3}, // 3 × trunc(100 / 60)
        {keys({DIK_NEXT}, 150, 110), 28},
        {mouse(150, 110), 28},
        {[] { Input i = mouse(150, 110); i.wheel = 1; return i; }(), 25},
        {[] { Input i = mouse(50, 50); i.wheel = 1; return i; }(), 25}, // outside the active rect
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
    Input wheel = mouse(110, 150);
    wheel.wheel = -1;
    step(wheel);
    EXPECT_FALSE(bar->m_bActive);
    EXPECT_EQ(value(), 0);

    set("S", "maxvalue", 100.0f);
    run("function sc() local v = TRSGUI_GetElementParam('S', 'curvalue') "
        "TRSGUI_SetElementParam('S', 'curvalue', v) n = (n or 0) + 1 end");
    set("S", "on_scroll", std::string("sc"));
    set("S", "curvalue", 40.0f);
    run("r = n");
    lua_State* L = m_t->SCR_GetLuaState();
    lua_getglobal(L, "r");
    EXPECT_EQ(lua_tonumber(L, -1), 1);
    lua_pop(L, 1);
}

} // namespace
} // namespace guitest
