// The GUI's script functions: argument forms, result forms and their messages.
#include <lua.hpp>

#include "tests/gui/gui_fixture.h"

namespace guitest {
namespace {

class GuiScript : public GuiTest {
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        probe("A");
        probe("5");
    }
    // The script's global `r` after running code.
    std::string result(const std::string& code)
    {
        run(code);
        lua_State* L = m_t->SCR_GetLuaState();
        lua_getglobal(L, "r");
        std::string out = lua_tostring(L, -1) ? lua_tostring(L, -1) : "nil";
        lua_pop(L, 1);
        return out;
    }
};

TEST_F(GuiScript, ElementsAndParametersByNumberOrString)
{
    EXPECT_EQ(result("r = TRSGUI_AddNewElement('probe', 'N', 'DESKTOP') .. TRSGUI_AddNewElement('probe', 'M', 0)"),
              "34");
    EXPECT_EQ(result("r = TRSGUI_GetElementID('M') .. TRSGUI_GetElementID('none')"), "4-1");
    run("TRSGUI_SetElementParam('5', 'zorder', 3) TRSGUI_SetElementParam(1, 1, 4)");
    EXPECT_EQ(at(2)->m_iZOrder, 3) << "the string '5' is an element ID";
    EXPECT_EQ(at(1)->m_iZOrder, 4);
    EXPECT_EQ(result("TRSGUI_SetElementParam('A', 'coords', 1, 2, 3, 4) local x, y, w, h = "
                     "TRSGUI_GetElementParam(1, 'coords') r = x .. y .. w .. h"),
              "1234");
    EXPECT_EQ(result("r = select('#', TRSGUI_GetElementParam('A', 'color'))"), "4");
    EXPECT_EQ(result("TRSGUI_SetElementParam('A', 'visible', true) r = tostring(TRSGUI_GetElementParam('A', 6))"),
              "true");
    // A script handler run from inside a script function gets its arguments.
    EXPECT_EQ(result("function OnClickA(tag) r = 'tag ' .. tag end TRSGUI_SetElementParam('A', 'tag', 12) "
                     "TRSGUI_SetElementParam('A', 'on_click', 'OnClickA') TRSGUI_ExecuteElementCommand('A', 5)"),
              "tag 12");
    EXPECT_EQ(result("TRSGUI_SetElementParam('A', 'text', 'hi') r = TRSGUI_GetElementParam('A', 'text')"), "hi");
}

TEST_F(GuiScript, ArgumentFormsThatAreRefused)
{
    const std::string set = "Error in glue function glue_TRSGUI_SetElementParam: invalid combination of arguments!";
    std::pair<const char*, std::string> cases[] = {
        {"TRSGUI_SetElementParam('A', 'coords', 1, 2, 3)", set},
        {"TRSGUI_SetElementParam('A', 'coords', 1, 2, 3, 4, 5)", set},
        {"TRSGUI_SetElementParam('A', 'coords', {})", set},
        {"TRSGUI_SetElementParam(true, 'coords', 1)", set},
        {"TRSGUI_SetElementParam('A', 'coords', 1)", "CGUIValue error: current type is not GUIRECT!"},
        {"TRSGUI_GetElementParam('A', {})",
         "Error in glue function glue_TRSGUI_GetElementParam: invalid combination of arguments!"},
        {"TRSGUI_GetElementParam('A', 'on_click')",
         "Cannot get GUI element param: unknown ID! ID = 15  Element ID = A"},
        {"TRSGUI_GetElementID(1)", "Error in glue function: glue_TRSGUI_GetElementID.Invalid argument type. Index = 1"},
        {"TRSGUI_ExecuteElementCommand('A', 1, 'soon')",
         "Error in glue function: glue_TRSGUI_ExecuteElementCommand.Invalid argument type. Index = 3"},
        {"TRSGUI_ExecuteElementCommand('A', 0/0)", "Cannot use a GUI number as an integer: not a number (NaN)!"},
        {"TRSGUI_SetCurTip(nil)", "Error in glue function: glue_TRSGUI_SetCurTip.Invalid argument type. Index = 1"},
    };
    for (const auto& c : cases) EXPECT_EQ(error([&] { run(c.first); }), c.second) << c.first;
}

TEST_F(GuiScript, CommandsNowOrLater)
{
    run("TRSGUI_ExecuteElementCommand('A', 1) TRSGUI_ExecuteElementCommand(1, 2, 0.5)");
    EXPECT_TRUE(at(1)->m_bVisible);
    frame(0.4f);
    EXPECT_TRUE(at(1)->m_bVisible);
    frame(0.1f);
    EXPECT_FALSE(at(1)->m_bVisible);
}

} // namespace
} // namespace guitest
