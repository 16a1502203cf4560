// List boxes and scroll boxes driven by mouse and keyboard input.
#include "engine/platform/dinput8/dinput8.h"
#include "tests/gui/gui_fixture.h"

namespace guitest {
namespace {

class GuiListBox : public GuiTest {
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        // Ten cells of 20 in a box 50 high at (100, 100).
        add("listbox", "L", GUIRECT{100, 100, 80, 50});
        set("L", "cellheight", 20.0f);
        set("L", "cellscount", 10.0f);
        set("L", "on_selectcell", recorder(0, "select"));
        set("L", "on_checkcell", recorder(1, "check"));
        set("L", "on_scrollshift", recorder(2, "shift"));
    }
    // The handlers run, with the selected cell after each frame when `selected`.
    std::vector<std::string> moves(std::initializer_list<Input> inputs, bool selected = true)
    {
        std::vector<std::string> seen;
        for (const Input& in : inputs) {
            step(in);
            for (const std::string& s : g_trace) 
                seen.push_back(selected ? s + " " + std::to_string(int(getf("L", "selectedcell"))) : s);
        }
        return seen;
    }
};

TEST_F(GuiListBox, HoverSelectsOncePerCellAndClickChecks)
{
    EXPECT_EQ(moves({mouse(100, 90), mouse(100, 100), mouse(110, 105), mouse(110, 119), mouse(110, 120),
                     mouse(110, 149, true), mouse(110, 150)}),
              (std::vector<std::string>{"select 0", "select 1", "select 2", "check 2", "select -1"}));
    EXPECT_FLOAT_EQ(getf("L", "checkedcell"), 2);

    set("L", "cellscount", 2.0f); // a box taller than its list: below the last cell is the last cell
    EXPECT_FLOAT_EQ(getf("L", "checkedcell"), -1) << "not below the new count";
    EXPECT_EQ(moves({mouse(110, 145)}), std::vector<std::string>{"select 1"});
}

TEST_F(GuiListBox, ScrollLimitAndArrowKeys)
{
    for (auto [in, out] : {std::pair{1000.0f, 150.0f}, {-5.0f, 0.0f}, {30.0f, 30.0f}}) {
        set("L", "scrolly", in);
        EXPECT_FLOAT_EQ(getf("L", "scrolly"), out);
    }
    set("L", "scrolly", 0.0f);
    set("L", "scroll_enabled", true);
    set("L", "checkedcell", 1.0f);
    g_trace.clear();
    // The cursor stays outside, so each move is followed by the hover's -1.
    EXPECT_EQ(moves({keys({DIK_DOWN}), mouse(0, 0), keys({DIK_DOWN})}, false),
              (std::vector<std::string>{"select", "shift 10", "check", "select", "select", "shift 30", "check",
                                        "select"}));
    EXPECT_FLOAT_EQ(getf("L", "checkedcell"), 3);
    EXPECT_FLOAT_EQ(getf("L", "scrolly"), 30) << "cell 3 (60..80) brought to the bottom of a view of 50";
    set("L", "checkedcell", 0.0f);
    moves({keys({DIK_UP})});
    EXPECT_FLOAT_EQ(getf("L", "checkedcell"), 0) << "not above the first cell";
    EXPECT_FLOAT_EQ(getf("L", "scrolly"), 0);
}

TEST_F(GuiListBox, CheckHandlerThatChecksAgainDoesNotRecurse)
{
    set("L", "on_checkcell", TRSGUIACTION([] {
            g_trace.push_back("check");
            CTarnisGUI::Instance()->SetElementParam("L", GUIPARAM_CHECKEDCELL, CGUIValue(4.0f));
        }));
    g_trace.clear();
    set("L", "checkedcell", 4.0f);
    EXPECT_EQ(g_trace, std::vector<std::string>{"check"});
}

TEST_F(GuiListBox, ScrollBoxChildrenOutOfViewAreNotClickable)
{
    add("scrollbox", "S", GUIRECT{0, 0, 100, 100});
    Probe* child = probe("C", "S");
    child->m_rcCoords = GUIRECT{10, 150, 20, 20};
    child->m_bVisible = child->m_bEnabled = true;
    struct {
        float scrollY;
        bool inView;
        float y;
    } cases[] = {{0, false, 150}, {60, true, 90}, {169, true, -19}, {170, false, -20}};
    for (const auto& c : cases) {
        set("S", "scrolly", c.scrollY);
        frame();
        EXPECT_EQ(child->m_bActive, c.inView) << c.scrollY;
        EXPECT_EQ(child->m_bShown, c.inView) << c.scrollY;
        EXPECT_FLOAT_EQ(child->m_rcCurRect.y, c.y) << c.scrollY;
    }
}

class GuiListDrawing : public GuiTest {
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        withGraphics();
    }
};

TEST_F(GuiListDrawing, VisibleCellsDrawInsideTheViewportSetBefore)
{
    CGUIElement* list = add("listbox", "L", GUIRECT{100, 100, 80, 50});
    set("L", "cellheight", 20.0f);
    set("L", "cellscount", 10.0f);
    set("L", "scrolly", 30.0f);
    // Cell, its y and the clip's left and width while it is drawn.
    set("L", "on_redrawcell", TRSGUIACTION([] {
            CTarnisGUI* gui = CTarnisGUI::Instance();
            const float v[] = {gui->GetActionArgFloat(0), gui->GetActionArgPoint(1).y, gui->GetViewport().x,
                               gui->GetViewport().width};
            g_trace.push_back("");
            for (float f : v) g_trace.back() += std::to_string(int(f)) + " ";
        }));
    frame();
    const GUIRECT outer = m_gui->ClipViewport(GUIRECT{0, 0, 120, 600});
    drawn(list);
    EXPECT_EQ(g_trace, (std::vector<std::string>{"1 90 100 20 ", "2 110 100 20 ", "3 130 100 20 ", "4 150 100 20 "}));
    EXPECT_EQ(m_gui->GetViewport().width, 120) << "the viewport set before comes back";
    m_gui->RestoreViewport(outer);
}

} // namespace
} // namespace guitest
