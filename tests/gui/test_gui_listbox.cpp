// List boxes and scroll boxes driven by mouse and keyboard input.
#include <lua.hpp>

#include "engine/platform/dinput8.h"
#include "tests/gui/gui_fixture.h"

namespace guitest {
namespace {

class GuiListBox : public GuiTest {
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        newGui();
        // Ten cells of 20 in a box 50 high at (100, 100).
        m_gui->AddNewElement("listbox", "L", 0);
        set("L", "coords", GUIRECT{100, 100, 80, 50});
        set("L", "cellheight", 20.0f);
        set("L", "cellscount", 10.0f);
        set("L", "visible", true);
        set("L", "enabled", true);
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

TEST_F(GuiListBox, SetterHandlersDoNotRecurse)
{
    // The handler writes the value it was told about back.
    run("function sel() TRSGUI_SetElementParam('L', 'selectedcell', TRSGUI_GetElementParam('L', 'selectedcell')) "
        "n = (n or 0) + 1 end "
        "function chk() TRSGUI_SetElementParam('L', 'checkedcell', 4) m = (m or 0) + 1 end");
    set("L", "on_selectcell", std::string("sel"));
    set("L", "on_checkcell", std::string("chk"));
    set("L", "selectedcell", 3.0f);
    set("L", "checkedcell", 4.0f);
    run("r = n .. ' ' .. m");
    lua_State* L = m_t->SCR_GetLuaState();
    lua_getglobal(L, "r");
    EXPECT_STREQ(lua_tostring(L, -1), "1 1");
    lua_pop(L, 1);
}

TEST_F(GuiListBox, ScrollBoxChildrenOutOfViewAreNotClickable)
{
    m_gui->AddNewElement("scrollbox", "S", 0);
    set("S", "coords", GUIRECT{0, 0, 100, 100});
    set("S", "visible", true);
    set("S", "enabled", true);
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

} // namespace
} // namespace guitest
